// The installed program: installed into a temporary root (DESTDIR), every file
// where the desktop looks for it, the program with the files it reads beside
// it, and the installed command giving the shared golden file.

#include "../cli/commandlinesupport.h"

#include <QDirIterator>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>
#include <sys/inotify.h>
#include <unistd.h>

namespace {

// The names of the files opened in the watched folders (relative to the
// first) while body runs.
class OpenedFiles {
public:
    explicit OpenedFiles(const QString& folder, const QStringList& subfolders)
        : fd_(inotify_init1(IN_NONBLOCK))
    {
        watches_[inotify_add_watch(fd_, QFile::encodeName(folder).constData(), IN_OPEN)] =
            QString();
        for (const QString& sub : subfolders)
            watches_[inotify_add_watch(fd_, QFile::encodeName(folder + '/' + sub).constData(),
                                       IN_OPEN)] = sub + '/';
    }
    ~OpenedFiles() { ::close(fd_); }

    // Every name opened so far; asked again, it adds the names opened since.
    QStringList names()
    {
        alignas(inotify_event) char buffer[64 * 1024];
        for (ssize_t n; (n = ::read(fd_, buffer, sizeof buffer)) > 0;)
            for (char* p = buffer; p < buffer + n;) {
                const auto* event = reinterpret_cast<const inotify_event*>(p);
                if (event->len > 0)
                    names_ << watches_.value(event->wd) + QFile::decodeName(event->name);
                p += sizeof(inotify_event) + event->len;
            }
        return names_;
    }

    bool opened(const QStringList& wanted)
    {
        const QStringList seen = names();
        return std::all_of(wanted.begin(), wanted.end(),
                           [&](const QString& name) { return seen.contains(name); });
    }

private:
    int fd_;
    QHash<int, QString> watches_;
    QStringList names_;
};

// The process sits in its event loop: blocked in poll or ppoll.
bool waitingForEvents(qint64 pid)
{
    QFile call(QStringLiteral("/proc/%1/syscall").arg(pid));
    if (!call.open(QIODevice::ReadOnly))
        return false;
    const QByteArray number = call.readAll().split(' ').value(0);
    return number == "7" || number == "271";
}

} // namespace

class InstallTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir root_;
    QString installed(const QString& path) const
    {
        return root_.filePath(QStringLiteral("usr/") + path);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(root_.isValid());
        QProcess install;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("DESTDIR"), root_.path());
        install.setProcessEnvironment(environment);
        install.start(QStringLiteral(CMAKE_COMMAND),
                      {"--install", QStringLiteral(BUILD_DIR), "--prefix", "/usr"});
        QVERIFY(install.waitForFinished(120000));
        QVERIFY2(install.exitCode() == 0, install.readAllStandardError().constData());
    }

    void filesInPlace_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("executable");
        QTest::newRow("program") << "lib/meridane/meridane" << true;
        QTest::newRow("command") << "bin/meridane" << true;
        QTest::newRow("menu entry") << "share/applications/org.meridane.Meridane.desktop" << false;
        QTest::newRow("AppStream") << "share/metainfo/org.meridane.Meridane.metainfo.xml" << false;
        QTest::newRow("icon, drawn") << "share/icons/hicolor/scalable/apps/meridane.svg" << false;
        QTest::newRow("icon, 48 pixels") << "share/icons/hicolor/48x48/apps/meridane.png" << false;
        QTest::newRow("manual page") << "share/man/man1/meridane.1.gz" << false;
        QTest::newRow("copyright") << "share/doc/meridane/copyright" << false;
        QTest::newRow("MIME types") << "share/mime/packages/org.meridane.Meridane.xml" << false;
        // The files that the program reads from its own folder.
        QDirIterator beside(QStringLiteral(SHARE_DIR), QDir::Files, QDirIterator::Subdirectories);
        while (beside.hasNext()) {
            const QString name = QDir(QStringLiteral(SHARE_DIR)).relativeFilePath(beside.next());
            QTest::newRow(qPrintable(name)) << "lib/meridane/" + name << false;
        }
    }
    void filesInPlace()
    {
        QFETCH(QString, path);
        QFETCH(bool, executable);
        const QFileInfo info(installed(path));
        QVERIFY2(info.isFile(), qPrintable(path));
        QCOMPARE(info.isExecutable(), executable);
    }

    // The desktop, given the installed MIME types in a data folder of its
    // own: a file's type as a file manager asks it (xdg-mime on a GNOME
    // desktop asks GLib), and whether the menu entry claims that type.
    void mimeLookups_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("type");
        QTest::addColumn<bool>("claimed");
        QTest::newRow("FIT activity") << "track.fit" << QByteArray("\x0e\x10\0\0\0\0\0\0.FIT\0\0", 14)
                                      << "application/vnd.ant.fit" << true;
        QTest::newRow("FITS image with the same extension")
            << "sky.fit" << QByteArray("SIMPLE  =                    T\n") << "application/fits" << false;
        QTest::newRow("TCX activity")
            << "ride.tcx"
            << QByteArray("<?xml version=\"1.0\"?>\n<TrainingCenterDatabase xmlns=\"http://www.garmin.com/"
                          "xmlschemas/TrainingCenterDatabase/v2\"/>\n")
            << "application/vnd.garmin.tcx+xml" << true;
        QTest::newRow("NMEA log") << "fix.nmea" << QByteArray("$GPGGA,1*00\n") << "text/x-nmea" << true;
        QTest::newRow("GPX, known to the desktop")
            << "a.gpx" << QByteArray("<gpx xmlns=\"http://www.topografix.com/GPX/1/1\"/>")
            << "application/gpx+xml" << true;
        QTest::newRow("plain text is not claimed") << "notes.txt" << QByteArray("1,2\n3,4\n")
                                                   << "text/plain" << false;
        QTest::newRow("an archive is not claimed") << "a.tar.gz" << QByteArray("\x1f\x8b\x08\0", 4)
                                                   << "application/x-compressed-tar" << false;
    }

    void mimeLookups()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, type);
        QFETCH(bool, claimed);
        if (QStandardPaths::findExecutable("update-mime-database").isEmpty() ||
            QStandardPaths::findExecutable("xdg-mime").isEmpty() || QStandardPaths::findExecutable("gio").isEmpty())
            QSKIP("needs update-mime-database, xdg-mime and gio");
        QTemporaryDir data;
        QVERIFY(QDir(data.path()).mkpath("mime/packages"));
        QVERIFY(QFile::copy(installed("share/mime/packages/org.meridane.Meridane.xml"),
                            data.filePath("mime/packages/org.meridane.Meridane.xml")));
        QCOMPARE(QProcess::execute("update-mime-database", {data.filePath("mime")}), 0);
        QFile file(data.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        file.close();
        QProcess lookup;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_DATA_HOME", data.path());
        environment.insert("XDG_DATA_DIRS", "/usr/share");
        environment.insert("XDG_CURRENT_DESKTOP", "GNOME");
        lookup.setProcessEnvironment(environment);
        lookup.start("xdg-mime", {"query", "filetype", file.fileName()});
        QVERIFY(lookup.waitForFinished(30000));
        QCOMPARE(QString::fromUtf8(lookup.readAllStandardOutput()).trimmed(), type);
        QFile entry(installed("share/applications/org.meridane.Meridane.desktop"));
        QVERIFY(entry.open(QIODevice::ReadOnly));
        const QString claims = QString::fromUtf8(entry.readAll()).section("MimeType=", 1).section('\n', 0, 0);
        QCOMPARE(claims.split(';', Qt::SkipEmptyParts).contains(type), claimed);
    }

    void commandIsALinkIntoTheProgramFolder()
    {
        const QFileInfo command(installed(QStringLiteral("bin/meridane")));
        QVERIFY(command.isSymLink());
        QCOMPARE(command.symLinkTarget(), installed(QStringLiteral("lib/meridane/meridane")));
    }

    void installedCommandWritesTheGoldenFile()
    {
        const Finished run = runProgram(installed(QStringLiteral("bin/meridane")),
                                        QStringList{"--unit", "kilometers"} + goldenLists());
        QCOMPARE(run.err, goldenNotes());
        QCOMPARE(run.out, goldenResults());
    }

    // Started through bin/meridane, the window reads its skin and its hand
    // cursor from the program folder, where the home page lies too.
    void installedWindowStartsWithItsFiles()
    {
        OpenedFiles opened(installed(QStringLiteral("lib/meridane")), {QStringLiteral("x")});
        QProcess window;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"),
                           root_.filePath(QStringLiteral("config")));
        // One start in a hundred opens the home page: here through a URL
        // handler that opens nothing.
        environment.insert(QStringLiteral("PATH"), QStringLiteral(HANDLERS_DIR ":") +
                                                       environment.value(QStringLiteral("PATH")));
        environment.remove(QStringLiteral("BROWSER"));
        window.setProcessEnvironment(environment);
        window.start(installed(QStringLiteral("bin/meridane")), {});
        QVERIFY(window.waitForStarted());
        // The load reads the skin and the hand cursor; the window is then up
        // and waiting for the user, not ended.
        const QStringList wanted{QStringLiteral("x/o.cjs"), QStringLiteral("HAND-M.CUR")};
        QTRY_VERIFY2_WITH_TIMEOUT(opened.opened(wanted) || window.state() == QProcess::NotRunning,
                                  qPrintable(opened.names().join(' ')), 60000);
        QVERIFY2(opened.opened(wanted), qPrintable(opened.names().join(' ')));
        QTRY_VERIFY_WITH_TIMEOUT(waitingForEvents(window.processId()) ||
                                     window.state() == QProcess::NotRunning,
                                 60000);
        QCOMPARE(window.state(), QProcess::Running);
        window.kill();
        window.waitForFinished();
        QVERIFY(QFileInfo(installed(QStringLiteral("lib/meridane/meridane.html"))).isFile());
    }
};

QTEST_GUILESS_MAIN(InstallTest)
#include "tst_install.moc"
