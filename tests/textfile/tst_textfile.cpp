// The text file writer on its own: short and interrupted writes (through the
// program's calls to write(), which this test program takes over), a target
// that another user may not write, and a hang-up under nohup. The cases that
// must run as another user or end by a signal run in a child process.

#include "core/failure.h"
#include "files/textfile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <atomic>
#include <csignal>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// The seam: while `piece` is above 0, every write to a file (not the test's
// own standard streams) takes at most that many bytes, and `interruptions`
// writes fail with EINTR first.
std::atomic<qsizetype> piece{0};
std::atomic<int> interruptions{0};
// And while it is not 0, closing a file closes it but fails with this error.
std::atomic<int> closeError{0};

} // namespace

extern "C" ssize_t write(int descriptor, const void* data, size_t size)
{
    if (descriptor > STDERR_FILENO && piece.load() > 0) {
        if (interruptions.load() > 0) {
            --interruptions;
            errno = EINTR;
            return -1;
        }
        size = std::min(size, size_t(piece.load()));
    }
    return ::syscall(SYS_write, descriptor, data, size);
}

extern "C" int close(int descriptor)
{
    const long closed = ::syscall(SYS_close, descriptor);
    if (descriptor > STDERR_FILENO && closed == 0 && closeError.load() != 0) {
        errno = closeError.load();
        return -1;
    }
    return int(closed);
}

namespace {

constexpr uid_t kNobody = 65534;

QByteArray contentOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

bool put(const QString& path, const QByteArray& content)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

// Runs body in a child process and gives its exit status, or 128 + the
// signal that ended it.
int inChild(const std::function<int()>& body)
{
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(body());
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// The child's report of a save: 0 written, 1 refused for lack of permission,
// 2 refused as no such file or folder, 3 another failure.
int save(const QByteArray& name, const QByteArray& text)
{
    try {
        files::TextFile file(name, QStringEncoder::Utf8);
        file.create();
        file.write(QByteArrayView(text));
        file.close();
        return 0;
    } catch (const core::Failure& failure) {
        if (failure.description == qt_error_string(EACCES))
            return 1;
        if (failure.description == qt_error_string(ENOENT))
            return 2;
        return 3;
    }
}

QStringList leftBeside(const QString& folder)
{
    return QDir(folder).entryList({QStringLiteral(".meridane-*")}, QDir::Hidden | QDir::Files);
}

} // namespace

class TextFileTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup()
    {
        piece = 0;
        interruptions = 0;
        closeError = 0;
    }

    // A close that fails is the save's failure, with its reason, and the old
    // file stays; one interrupted has closed the file all the same.
    void failedClose_data()
    {
        QTest::addColumn<int>("error");
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("EIO: reported, the old file kept") << EIO << QByteArray("before\n");
        QTest::newRow("EINTR: closed, the new file in place") << EINTR << QByteArray("after\n");
    }

    void failedClose()
    {
        QFETCH(int, error);
        QFETCH(QByteArray, content);
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("out.txt"));
        QVERIFY(put(path, "before\n"));
        files::TextFile file(QFile::encodeName(path), QStringEncoder::Utf8);
        file.create();
        file.write(QByteArrayView("after\n"));
        closeError = error;
        QString reported;
        try {
            file.close();
        } catch (const core::Failure& failure) {
            reported = failure.description;
        }
        closeError = 0;
        QCOMPARE(reported, error == EINTR ? QString() : qt_error_string(error));
        QCOMPARE(contentOf(path), content);
        QCOMPARE(leftBeside(folder.path()), QStringList());
    }

    // Every byte in order, however few each write takes and however often it
    // is interrupted, across the 1 MB blocks.
    void shortWrites_data()
    {
        QTest::addColumn<qsizetype>("bytes");
        QTest::addColumn<qsizetype>("pieceBytes");
        QTest::addColumn<int>("interrupted");
        QTest::newRow("one byte a write") << qsizetype(5000) << qsizetype(1) << 0;
        QTest::newRow("odd pieces across blocks")
            << qsizetype(3 << 20) + 17 << qsizetype(4093) << 0;
        QTest::newRow("interrupted writes") << qsizetype(2 << 20) << qsizetype(65537) << 50;
    }

    void shortWrites()
    {
        QFETCH(qsizetype, bytes);
        QFETCH(qsizetype, pieceBytes);
        QFETCH(int, interrupted);
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("out.txt"));
        QByteArray text(bytes, Qt::Uninitialized);
        for (qsizetype i = 0; i < bytes; ++i)
            text[i] = char('a' + (i * 7 + i / 26) % 26);
        files::TextFile file(QFile::encodeName(path), QStringEncoder::Utf8);
        file.create();
        piece = pieceBytes;
        interruptions = interrupted;
        for (qsizetype at = 0; at < bytes; at += 100000)
            file.write(QByteArrayView(text).sliced(at, std::min<qsizetype>(100000, bytes - at)));
        QVERIFY_THROWS_NO_EXCEPTION(file.close());
        piece = 0;
        QVERIFY(contentOf(path) == text);
        QCOMPARE(leftBeside(folder.path()), QStringList());
    }

    // The unfinished file lies in the target's own folder, whatever the
    // name's form, and is gone once the file is in place.
    void besideTheTarget_data()
    {
        QTest::addColumn<QString>(
            "name"); // relative to the working folder, {dir} the temporary one
        QTest::addColumn<QString>("folder");
        QTest::newRow("a bare name") << "out.txt"
                                     << ".";
        QTest::newRow("a name in a sub-folder") << "sub/out.txt"
                                                << "sub";
        QTest::newRow("an absolute name") << "{dir}/sub/out.txt"
                                          << "sub";
        QTest::newRow("a name ending a long folder path") << "sub/x/../out.txt"
                                                          << "sub";
    }

    void besideTheTarget()
    {
        QFETCH(QString, name);
        QFETCH(QString, folder);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("sub/x")));
        const QString before = QDir::currentPath();
        QVERIFY(QDir::setCurrent(dir.path()));
        files::TextFile file(QFile::encodeName(name.replace(QLatin1String("{dir}"), dir.path())),
                             QStringEncoder::Utf8);
        file.create();
        file.write(QByteArrayView("text\n"));
        const QStringList during = leftBeside(dir.filePath(folder));
        const QStringList elsewhere = leftBeside(dir.filePath(folder == "." ? "sub" : "."));
        file.close();
        QDir::setCurrent(before);
        QCOMPARE(during.size(), 1);
        QCOMPARE(elsewhere, QStringList());
        QCOMPARE(leftBeside(dir.filePath(folder)), QStringList());
        QCOMPARE(contentOf(dir.filePath(folder + "/out.txt")), QByteArray("text\n"));
    }

    // Run as another user: a file it may not write, or one in a folder it
    // may not write, is refused with the system's reason and stays as it was;
    // a folder that does not exist is another reason.
    void anotherUser_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<int>("outcome");
        QTest::newRow("a read-only file") << "open/readonly.txt" << 1;
        QTest::newRow("a file in a folder of root's") << "closed/file.txt" << 1;
        QTest::newRow("a new file in a folder of root's") << "closed/new.txt" << 1;
        QTest::newRow("a folder that does not exist") << "missing/new.txt" << 2;
        QTest::newRow("a writable file") << "open/writable.txt" << 0;
    }

    void anotherUser()
    {
        QFETCH(QString, target);
        QFETCH(int, outcome);
        if (::geteuid() != 0)
            QSKIP("needs root, to become another user");
        QTemporaryDir root;
        QDir(root.path()).mkdir(QStringLiteral("open"));
        QDir(root.path()).mkdir(QStringLiteral("closed"));
        ::chmod(QFile::encodeName(root.path()).constData(), 0755);
        ::chmod(QFile::encodeName(root.filePath("open")).constData(), 0777);
        for (const char* name : {"open/readonly.txt", "open/writable.txt", "closed/file.txt"})
            QVERIFY(put(root.filePath(QLatin1String(name)), "before\n"));
        ::chmod(QFile::encodeName(root.filePath("open/readonly.txt")).constData(), 0444);
        ::chmod(QFile::encodeName(root.filePath("open/writable.txt")).constData(), 0666);
        ::chmod(QFile::encodeName(root.filePath("closed/file.txt")).constData(), 0666);
        const QByteArray name = QFile::encodeName(root.filePath(target));
        const int status = inChild([&] {
            if (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)
                return 9;
            return save(name, "after\n");
        });
        QCOMPARE(status, outcome);
        if (QFile::exists(root.filePath(target)))
            QCOMPARE(contentOf(root.filePath(target)),
                     QByteArray(outcome == 0 ? "after\n" : "before\n"));
        QCOMPARE(leftBeside(root.filePath(QStringLiteral("open"))), QStringList());
    }

    // Under nohup a hang-up is ignored, and the save goes on; without it the
    // hang-up ends the process, the unfinished file is removed and the old
    // one stays.
    void hangUp_data()
    {
        QTest::addColumn<bool>("nohup");
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("under nohup: the save goes on") << true << 0 << QByteArray("after\n");
        QTest::newRow("without: ended, the old file kept")
            << false << 128 + SIGHUP << QByteArray("before\n");
    }

    void hangUp()
    {
        QFETCH(bool, nohup);
        QFETCH(int, status);
        QFETCH(QByteArray, content);
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("out.txt"));
        QVERIFY(put(path, "before\n"));
        const QByteArray name = QFile::encodeName(path);
        QCOMPARE(inChild([&] {
                     ::signal(SIGHUP, nohup ? SIG_IGN : SIG_DFL);
                     try {
                         files::TextFile file(name, QStringEncoder::Utf8);
                         file.create();
                         file.write(QByteArrayView("after\n"));
                         ::raise(SIGHUP);
                         file.close();
                         return 0;
                     } catch (const core::Failure&) {
                         return 3;
                     }
                 }),
                 status);
        QCOMPARE(contentOf(path), content);
        QCOMPARE(leftBeside(folder.path()), QStringList());
    }
};

QTEST_GUILESS_MAIN(TextFileTest)
#include "tst_textfile.moc"
