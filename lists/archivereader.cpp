#include "lists/archivereader.h"

#include "lists/listformat.h"

#include <archive.h>
#include <archive_entry.h>

namespace lists {
namespace {

constexpr qsizetype kBlockBytes = 1 << 20;

} // namespace

ArchiveReader::ArchiveReader(Kind kind, QByteArray head, const ByteSource& source)
    : archive_(archive_read_new(), archive_read_free)
    , head_(std::move(head))
    , source_(source)
{
    if (!archive_)
        throw core::Failure{7, QStringLiteral("Out of memory")};
    if (kind == Kind::Zip) {
        // Entry by entry as they come, so that a pipe can be read too.
        archive_read_support_format_zip_streamable(archive_.get());
    } else {
        archive_read_support_filter_all(archive_.get());
        archive_read_support_format_raw(archive_.get());
        // An empty content is an empty list.
        archive_read_support_format_empty(archive_.get());
    }
    if (archive_read_open(archive_.get(), this, nullptr, &ArchiveReader::pull, nullptr) !=
        ARCHIVE_OK)
        fail();
}

// libarchive is C: a failure of the source must not cross it as an exception.
ssize_t ArchiveReader::pull(struct archive*, void* self, const void** buffer)
{
    auto& reader = *static_cast<ArchiveReader*>(self);
    if (!reader.headGiven_ && !reader.head_.isEmpty()) {
        reader.headGiven_ = true;
        *buffer = reader.head_.constData();
        return reader.head_.size();
    }
    reader.head_ = QByteArray();
    try {
        if (reader.block_.isEmpty())
            reader.block_.resize(kBlockBytes);
        *buffer = reader.block_.constData();
        return reader.source_(reader.block_.data(), reader.block_.size());
    } catch (...) {
        reader.thrown_ = std::current_exception();
        archive_set_error(reader.archive_.get(), EIO, "the source failed");
        return ARCHIVE_FATAL;
    }
}

void ArchiveReader::fail()
{
    if (thrown_)
        std::rethrow_exception(thrown_);
    const char* what = archive_error_string(archive_.get());
    throw invalidFileFormat(QString::fromUtf8(what ? what : "the packed file cannot be read"));
}

bool ArchiveReader::next(QString& path)
{
    archive_entry* entry = nullptr;
    const int status = archive_read_next_header(archive_.get(), &entry);
    if (status == ARCHIVE_EOF)
        return false;
    if (status < ARCHIVE_WARN)
        fail();
    const char* name = archive_entry_pathname_utf8(entry);
    if (!name)
        name = archive_entry_pathname(entry);
    path = QString::fromUtf8(name ? name : "");
    return true;
}

qsizetype ArchiveReader::read(char* into, qsizetype room)
{
    const la_ssize_t read = archive_read_data(archive_.get(), into, size_t(room));
    if (read < 0)
        fail();
    return read;
}

} // namespace lists
