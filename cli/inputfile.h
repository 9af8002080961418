#pragma once
// A list named on the command line, opened by the bytes of its name: "-" is
// the standard input; a pipe (a process substitution, a named pipe) is read
// as given; a folder or a device is refused. Each list is looked at by its
// name first and opened only in its turn.

#include <QByteArray>

namespace cli {

class InputFile {
public:
    explicit InputFile(QByteArray name);
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    // Looks at the list by its name, without opening it (a named pipe opens
    // only once its writer does): throws what open() would for a list that
    // is missing, unreadable, a folder or a device.
    void check();
    bool wasChecked() const { return checked_; }
    // Throws Failure with the system's words ("No such file or directory",
    // "Permission denied", "Is a directory"), or "Path/File access error"
    // for a device; "standard input is closed" for "-" when it was. Does
    // nothing while open.
    void open();
    // The descriptor to read from.
    int descriptor() const { return descriptor_; }
    // The bytes to read, as far as they are known (0 for a pipe).
    qint64 size() const { return size_; }

    void close();

private:
    QByteArray name_;
    int descriptor_ = -1;
    bool regular_ = false;
    bool checked_ = false;
    qint64 size_ = 0;
};

} // namespace cli
