#pragma once
// A list named on the command line, opened by the bytes of its name: "-" is
// the standard input; a pipe (a process substitution, a named pipe) is read
// as given; a folder or a device is refused. A regular file can be closed
// and opened again (so that thousands of lists need no more descriptors than
// one); it is then read from its start. Anything else stays open.

#include <QByteArray>

namespace cli {

class InputFile {
public:
    explicit InputFile(QByteArray name);
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    // Throws Failure with the system's words ("No such file or directory",
    // "Permission denied", "Is a directory"), or "Path/File access error"
    // for a device; "standard input is closed" for "-" when it was. Does
    // nothing while open.
    void open();
    // Opened once.
    bool wasOpened() const { return opened_; }
    // The descriptor to read from.
    int descriptor() const { return descriptor_; }
    // The bytes to read, as far as they are known (0 for a pipe).
    qint64 size() const { return size_; }

    // Gives a regular file's descriptor back until the next open().
    void pause();
    void close();

private:
    QByteArray name_;
    int descriptor_ = -1;
    bool regular_ = false;
    bool opened_ = false;
    qint64 size_ = 0;
};

} // namespace cli
