#include "cli/sentencespool.h"

#include "core/failure.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace cli {
namespace {

constexpr size_t kBlockBytes = 1 << 20;

struct RecordHead {
    std::uint32_t bytes;
    std::uint32_t width;
};

core::Failure systemFailure(int number, int error) { return {number, qt_error_string(error)}; }

// A file in the temporary folder without a name: O_TMPFILE where the file
// system has it, otherwise a named one removed at once.
int unnamedFile()
{
    const QByteArray folder = QFile::encodeName(QDir::tempPath());
    int descriptor = ::open(folder.constData(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    if (descriptor >= 0)
        return descriptor;
    QByteArray name = folder + "/meridane-XXXXXX";
    descriptor = ::mkostemp(name.data(), O_CLOEXEC);
    if (descriptor < 0)
        throw systemFailure(75, errno);
    ::unlink(name.constData());
    return descriptor;
}

void writeAll(int descriptor, const char* data, size_t size)
{
    while (size > 0) {
        const ssize_t written = ::write(descriptor, data, size);
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0)
            throw systemFailure(57, errno);
        data += written;
        size -= size_t(written);
    }
}

} // namespace

SentenceSpool::SentenceSpool()
    : descriptor_(unnamedFile())
{
    block_.reserve(kBlockBytes + 4096);
}

SentenceSpool::~SentenceSpool() { ::close(descriptor_); }

void SentenceSpool::add(std::string_view sentence, qsizetype width)
{
    const RecordHead head{std::uint32_t(sentence.size()), std::uint32_t(width)};
    block_.append(reinterpret_cast<const char*>(&head), sizeof head);
    block_.append(sentence);
    widest_ = std::max(widest_, width);
    if (block_.size() >= kBlockBytes)
        flush();
}

void SentenceSpool::flush()
{
    writeAll(descriptor_, block_.data(), block_.size());
    block_.clear();
}

void SentenceSpool::rewind()
{
    flush();
    if (::lseek(descriptor_, 0, SEEK_SET) < 0)
        throw systemFailure(75, errno);
    at_ = 0;
}

// The next record, reading another block when the one in hand ends within it.
bool SentenceSpool::next(std::string_view& sentence, qsizetype& width)
{
    RecordHead head{};
    const auto complete = [&] {
        if (block_.size() - at_ < sizeof head)
            return false;
        std::memcpy(&head, block_.data() + at_, sizeof head);
        return block_.size() - at_ - sizeof head >= head.bytes;
    };
    while (!complete()) {
        block_.erase(0, at_);
        at_ = 0;
        const size_t kept = block_.size();
        const size_t wanted = std::max(kBlockBytes, size_t(head.bytes) + sizeof head);
        block_.resize(kept + wanted);
        ssize_t read;
        do
            read = ::read(descriptor_, block_.data() + kept, wanted);
        while (read < 0 && errno == EINTR);
        if (read < 0)
            throw systemFailure(75, errno);
        block_.resize(kept + size_t(read));
        if (read == 0)
            return false; // a record cut short cannot happen: the file is ours
    }
    sentence = std::string_view(block_).substr(at_ + sizeof head, head.bytes);
    width = head.width;
    at_ += sizeof head + head.bytes;
    return true;
}

} // namespace cli
