#include "output/textfile.h"

#include "platform/failure.h"

#include <QFileInfo>
#include <cstdio>

namespace output {
namespace {

constexpr qsizetype kBlockSize = 1 << 20;

Failure deviceError(const QString& description) { return {57, description}; }
Failure accessError(const QString& description) { return {75, description}; }

bool isStandardOutput(const QString& fileName) { return fileName == QLatin1String("-"); }

// A pipe or a device is written into as it is: it cannot be replaced.
bool writesDirectly(const QString& fileName)
{
    const QFileInfo info(fileName);
    return isStandardOutput(fileName) || (info.exists() && !info.isFile());
}

} // namespace

TextFile::TextFile(const QString& fileName)
    : file_(fileName)
    , direct_(fileName)
    , encoder_(QStringEncoder::System)
{
}

void TextFile::create()
{
    // Unbuffered: the blocks below are the buffering, and a failed write shows at once.
    constexpr QIODevice::OpenMode mode = QIODevice::WriteOnly | QIODevice::Unbuffered;
    const QString fileName = file_.fileName();
    out_ = writesDirectly(fileName) ? static_cast<QFileDevice*>(&direct_) : &file_;
    const bool opened = !isStandardOutput(fileName) ? out_->open(mode) : direct_.open(stdout, mode);
    if (!opened)
        throw accessError(out_->errorString());
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
    if (used_ > 0 && writeError_.isEmpty() && out_->write(block_.constData(), used_) != used_)
        writeError_ = out_->errorString();
    used_ = 0;
}

void TextFile::close()
{
    if (!isOpen())
        throw accessError(QStringLiteral("The file is not open"));
    writeBlock();
    block_ = QByteArray();
    if (out_ == &direct_)
        return finishDirect();
    if (!writeError_.isEmpty()) {
        file_.cancelWriting();
        file_.commit(); // removes the unfinished file
        throw deviceError(writeError_);
    }
    if (!file_.commit())
        throw accessError(file_.errorString());
}

void TextFile::finishDirect()
{
    direct_.close();
    if (!writeError_.isEmpty())
        throw deviceError(writeError_);
}

} // namespace output
