#pragma once
// Helpers of the output tests: lists built from tables, a recording clipboard,
// and two ways to make the file system refuse a write for real.

#include "core/failure.h"
#include "platform/desktop/clipboard.h"
#include "platform/widgets/list/listview.h"
#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QList>
#include <QStringList>
#include <csignal>
#include <fcntl.h>
#include <linux/fs.h>
#include <memory>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

struct Row {
    QStringList cells;
    bool checked = true;
};
using Rows = QList<Row>;
Q_DECLARE_METATYPE(Row)

inline std::unique_ptr<widgets::ListView> makeList(const QStringList& headers, const Rows& rows)
{
    auto list = std::make_unique<widgets::ListView>();
    for (const QString& h : headers)
        list->addColumn(h);
    for (const Row& row : rows) {
        const qsizetype r = list->addItem(row.cells.value(0));
        for (int k = 1; k < row.cells.size(); ++k)
            list->setSubItem(r, k, row.cells[k]);
        list->setChecked(r, row.checked);
    }
    return list;
}

// count one-column rows "Distance number i", all checked except those listed.
inline std::unique_ptr<widgets::ListView> numberedList(int count, QList<int> unchecked = {})
{
    Rows rows;
    for (int i = 1; i <= count; ++i)
        rows << Row{{QStringLiteral("Distance number %1").arg(i)}, !unchecked.contains(i)};
    return makeList({QStringLiteral("Results")}, rows);
}

using testsupport::readAll;

inline void writeAll(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
}

inline QStringList entriesOf(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::System | QDir::Hidden |
                                  QDir::NoDotAndDotDot);
}

// Records every call; refuses the first `busyAttempts` of each kind as a
// clipboard held by another program would (-1: refuses for ever).
class RecordingClipboard final : public platform::Clipboard {
public:
    explicit RecordingClipboard(int busy = 0)
        : busyAttempts(busy)
    {
    }
    platform::Replacement<platform::Clipboard> seam{this};

    void clear() override
    {
        ++clearAttempts;
        refuseWhileBusy(clearAttempts);
        calls << QStringLiteral("clear");
    }
    void setText(const QString& text, int format) override
    {
        ++setAttempts;
        refuseWhileBusy(setAttempts);
        calls << QStringLiteral("set %1").arg(format);
        texts << text;
    }

    int busyAttempts;
    int clearAttempts = 0;
    int setAttempts = 0;
    QStringList calls;
    QStringList texts;

private:
    void refuseWhileBusy(int attempt) const
    {
        if (busyAttempts < 0 || attempt <= busyAttempts)
            throw core::Failure{521, QStringLiteral("Can't open Clipboard")};
    }
};

// Sets the immutable attribute of a file or folder while it lives: not even
// root can then change the file or add to the folder. ok() is false where
// the file system or the privileges do not allow it.
class Immutable {
public:
    explicit Immutable(const QString& path)
        : path_(path)
    {
        ok_ = change(true);
    }
    ~Immutable()
    {
        if (ok_)
            change(false);
    }
    bool ok() const { return ok_; }

private:
    bool change(bool on) const
    {
        const int fd = ::open(QFile::encodeName(path_).constData(), O_RDONLY | O_NONBLOCK);
        if (fd < 0)
            return false;
        int flags = 0;
        bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
        flags = on ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
        done = done && ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
        ::close(fd);
        return done;
    }

    QString path_;
    bool ok_ = false;
};

// Limits the size of files this process writes, as a full disk would: a write
// past the limit fails (the signal that would end the process is ignored).
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        ::getrlimit(RLIMIT_FSIZE, &old_);
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = old_;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, oldHandler_);
    }

private:
    rlimit old_{};
    void (*oldHandler_)(int) = nullptr;
};

// A file system of the given size mounted on a folder while it lives, as a
// disk that fills up; none for size 0. ok() is false without the privilege.
class SmallFileSystem {
public:
    SmallFileSystem(const QString& folder, int bytes)
        : folder_(QFile::encodeName(folder))
    {
        const QByteArray options = "size=" + QByteArray::number(bytes);
        ok_ = bytes > 0 && ::mount("tmpfs", folder_, "tmpfs", 0, options.constData()) == 0;
    }
    ~SmallFileSystem()
    {
        if (ok_)
            ::umount2(folder_, MNT_DETACH);
    }
    bool ok() const { return ok_; }

private:
    QByteArray folder_;
    bool ok_ = false;
};
