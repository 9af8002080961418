#pragma once
// The command line's output, named by bytes (a name need not be UTF-8). As
// the window's save: a regular file is written beside its name and put in
// place when complete, so a job that fails leaves the old file as it was; a
// target that exists and is no regular file (a pipe, a device) is written
// into as it is; "-" is the standard output. Text goes out as UTF-8 in large
// blocks; the caller writes its own line ends.

#include <QByteArray>
#include <QString>
#include <QStringEncoder>
#include <QStringView>

namespace app {

class ResultsFile {
public:
    explicit ResultsFile(QByteArray name);
    ~ResultsFile();
    ResultsFile(const ResultsFile&) = delete;
    ResultsFile& operator=(const ResultsFile&) = delete;

    // Throws Failure with the system's reason when the file cannot be created.
    void create();
    bool isOpen() const { return descriptor_ >= 0; }

    // Never fails: a failed write is kept and reported by close().
    void write(QStringView text);
    void write(QByteArrayView bytes);

    // Writes what is left and puts the file in place. Throws Failure when a
    // write failed or the file could not be put in place; the file it would
    // have replaced stays as it was and the unfinished one is removed.
    void close();

private:
    void flush();
    void discard();

    QByteArray name_;
    QByteArray temporary_; // the file beside the name, empty when writing directly
    int descriptor_ = -1;
    QStringEncoder encoder_{QStringEncoder::Utf8};
    QByteArray block_;
    int writeErrno_ = 0;
};

} // namespace app
