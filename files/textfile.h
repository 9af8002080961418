#pragma once
// A text file that is written beside its final name and put in place only when
// it is complete: a save that fails halfway leaves the file it would replace
// as it was. A target that exists and is no regular file (a pipe, a device)
// is written into as it is: putting a new file in its place would replace it;
// the name "-" is the standard output.
// Lines are encoded in the system's locale encoding, end in CR LF and reach
// the disk in large blocks. Failures carry the system's own reason.

#include <QFileDevice>
#include <QString>
#include <QStringEncoder>
#include <QStringView>

#include <memory>

namespace output {

class TextFile {
public:
    explicit TextFile(const QString& fileName);
    ~TextFile();

    // Starts the new file; an existing one is replaced at close() without a
    // question. Throws Failure when the file cannot be created.
    void create();
    bool isOpen() const { return file_ && file_->isOpen(); }
    // Written where it is (a pipe, a device, the standard output): close()
    // puts nothing in place, and may wait for a reader.
    bool writesInPlace() const { return direct_; }

    // Never fails: a failed block write is kept and reported by close().
    void writeLine(QStringView line);

    // Drops what was written: the file it would have replaced stays as it was.
    void abandon();

    // Writes what is left and puts the file in place. Throws Failure when a
    // write failed or the file could not be put in place; the file it would
    // have replaced stays as it was and the unfinished one is removed.
    void close();

private:
    void openDirect();
    void writeBlock();
    void closeSafe();
    void closeDirect();

    QString fileName_;
    std::unique_ptr<QFileDevice> file_;
    bool direct_ = false;
    QStringEncoder encoder_;
    QByteArray block_;
    qsizetype used_ = 0;
    QString writeError_;
};

} // namespace output
