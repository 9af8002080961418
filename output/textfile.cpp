#include "output/textfile.h"

#include "platform/failure.h"

namespace output {
namespace {

constexpr qsizetype kBlockSize = 1 << 20;

Failure deviceError(const QString& description) { return {57, description}; }
Failure accessError(const QString& description) { return {75, description}; }

} // namespace

TextFile::TextFile(const QString& fileName)
    : file_(fileName)
    , encoder_(QStringEncoder::System)
{
}

void TextFile::create()
{
    // Unbuffered: the blocks below are the buffering, and a failed write shows at once.
    if (!file_.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        throw accessError(file_.errorString());
    block_.resize(kBlockSize);
    used_ = 0;
}

void TextFile::writeLine(QStringView line)
{
    const qsizetype needed = encoder_.requiredSpace(line.size()) + 2;
    if (used_ + needed > block_.size()) {
        writeBlock();
        if (needed > block_.size())
            block_.resize(needed);
    }
    char* out = encoder_.appendToBuffer(block_.data() + used_, line);
    *out++ = '\r';
    *out++ = '\n';
    used_ = out - block_.constData();
}

void TextFile::writeBlock()
{
    if (used_ > 0 && writeError_.isEmpty() && file_.write(block_.constData(), used_) != used_)
        writeError_ = file_.errorString();
    used_ = 0;
}

void TextFile::abandon()
{
    file_.cancelWriting();
    file_.commit(); // removes the unfinished file
}

void TextFile::close()
{
    if (!isOpen())
        throw accessError(QStringLiteral("The file is not open"));
    writeBlock();
    block_ = QByteArray();
    if (!writeError_.isEmpty()) {
        file_.cancelWriting();
        file_.commit(); // removes the unfinished file
        throw deviceError(writeError_);
    }
    if (!file_.commit())
        throw accessError(file_.errorString());
}

} // namespace output
