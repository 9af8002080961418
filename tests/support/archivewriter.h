#pragma once
// Packs bytes with libarchive's writer, for the tests and the benchmarks: a
// zip of named entries, or one content behind a filter (gzip, bzip2, xz).

#include <QByteArray>
#include <QList>
#include <archive.h>
#include <archive_entry.h>

#include <utility>

namespace archivewriter {

inline ssize_t append(struct archive*, void* out, const void* data, size_t size)
{
    static_cast<QByteArray*>(out)->append(static_cast<const char*>(data), qsizetype(size));
    return ssize_t(size);
}

// A zip without a filter (filter < 0), else the single content filtered.
inline QByteArray pack(const QList<std::pair<QByteArray, QByteArray>>& entries, int filter = -1)
{
    QByteArray out;
    struct archive* writer = archive_write_new();
    if (filter < 0) {
        archive_write_set_format_zip(writer);
    } else {
        archive_write_set_format_raw(writer);
        archive_write_add_filter(writer, filter);
    }
    archive_write_set_bytes_in_last_block(writer, 1);
    archive_write_open(writer, &out, nullptr, append, nullptr);
    for (const auto& [name, content] : entries) {
        archive_entry* entry = archive_entry_new();
        archive_entry_set_pathname(entry, name.constData());
        archive_entry_set_filetype(entry, AE_IFREG);
        archive_entry_set_perm(entry, 0644);
        archive_entry_set_size(entry, content.size());
        archive_write_header(writer, entry);
        archive_write_data(writer, content.constData(), size_t(content.size()));
        archive_entry_free(entry);
    }
    archive_write_close(writer);
    archive_write_free(writer);
    return out;
}

inline QByteArray compressed(const QByteArray& content, int filter)
{
    return pack({{"content", content}}, filter);
}

} // namespace archivewriter
