#pragma once
// A list named on the command line, opened by the bytes of its name: "-" is
// the standard input; a pipe (a process substitution, a named pipe) is read
// as given; a folder or a device is refused. The list can be read a second
// time: a regular file from its start (closed in between, so that thousands
// of lists need no more descriptors than one), anything else after spill()
// has copied its bytes to a temporary file.

#include <QByteArray>
#include <QTemporaryFile>

#include <memory>

namespace app {

class InputFile {
public:
    explicit InputFile(QByteArray name);
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    // Throws Failure: "File not found", "Permission denied" or
    // "Path/File access error"; "standard input is closed" for "-" when it was.
    void open();
    // Opened once: it can be read again.
    bool wasOpened() const { return opened_; }
    // The descriptor to read from, at its start (see rewind()).
    int descriptor() const { return spill_ ? int(spill_->handle()) : descriptor_; }
    // The bytes to read, as far as they are known (0 for a pipe not yet spilled).
    qint64 size() const { return size_; }

    // Copies the bytes of a pipe or of the standard input to a temporary
    // file, read from then on.
    void spill();
    // Gives the descriptor of a regular file back until rewind().
    void pause();
    // Reads start again from the first byte.
    void rewind();

private:
    QByteArray name_;
    int descriptor_ = -1;
    bool regular_ = false;
    bool opened_ = false;
    qint64 size_ = 0;
    std::unique_ptr<QTemporaryFile> spill_;
};

} // namespace app
