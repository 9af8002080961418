#pragma once
// A text file that is written beside its final name and put in place only when
// it is complete: a save that fails halfway, or a process ended by a signal
// meanwhile (any signal that ends it and can be caught), leaves the file it would replace as it
// was. A target that exists and is no regular file (a pipe, a device) is
// written into as it is: putting a new file in its place would replace it;
// the name "-" is the standard output. A symbolic link keeps pointing at the
// file, which is replaced with its permissions kept (never a set-user-ID or
// set-group-ID bit); a link that leads nowhere is refused. An existing file
// that may not be written is not replaced. The file is written under a short
// hidden name beside it, so that any name that fits the folder fits.
// Text reaches the disk in large blocks. Failures carry the system's own
// reason. The window's save and the command line's results both write this way.

#include <QByteArray>
#include <QString>
#include <QStringEncoder>
#include <QStringView>

namespace files {

class TextFile {
public:
    // The window's: named by text, in the system's locale encoding.
    explicit TextFile(const QString& fileName);
    // Named by bytes (a name need not be UTF-8), in the given encoding.
    TextFile(QByteArray name, QStringEncoder::Encoding encoding);
    ~TextFile(); // drops an unfinished file
    TextFile(const TextFile&) = delete;
    TextFile& operator=(const TextFile&) = delete;

    // Starts the new file; an existing one is replaced at close() without a
    // question. Throws Failure when the file cannot be created.
    void create();
    bool isOpen() const { return descriptor_ >= 0; }
    // Written where it is (a pipe, a device, the standard output): close()
    // puts nothing in place, and may wait for a reader.
    bool writesInPlace() const { return isOpen() && temporary_.isEmpty(); }

    // Never fail: a failed block write is kept and reported by close().
    void writeLine(QStringView line); // the line and CR LF
    void write(QStringView text);
    void write(QByteArrayView bytes);

    // Drops what was written: the file it would have replaced stays as it was.
    void abandon();

    // Writes what is left and puts the file in place. Throws Failure when a
    // write failed or the file could not be put in place; the file it would
    // have replaced stays as it was and the unfinished one is removed.
    // Safe to call from another thread than the writes'.
    void close();

private:
    void openDirect();
    void openBeside();
    void followLink();
    char* room(qsizetype bytes);
    void flush();
    void discard();

    QByteArray name_;
    QByteArray temporary_; // the file beside the name, empty when writing directly
    int descriptor_ = -1;
    bool guarded_ = false; // the temporary file is removed when a signal ends the process
    QStringEncoder encoder_;
    QByteArray block_;
    qsizetype used_ = 0;
    int writeErrno_ = 0;
};

} // namespace files
