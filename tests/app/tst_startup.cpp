// The window's start-up and look: the unit kept between starts, the
// application title, the home-page draw, the skin, the hand cursor and the
// pointer that the hover handlers set.

#include "form1controls.h"
#include "window/form1.h"
#include "app/nodisplay.h"
#include "isolation.h"
#include "platform/system/programfolder.h"
#include "platform/desktop/randomdraw.h"
#include "platform/desktop/skinframework.h"
#include "platform/system/urlopener.h"
#include "scripteddialogs.h"
#include "window/chrome/applicationtitle.h"
#include "window/chrome/homepage.h"
#include "testsupport.h"

#include <QHeaderView>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <cstring>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

// The user's store, recording every write as "T" or "F" per key, in order:
// "TFFF" is one click on Miles.
struct RecordingStore final : platform::SettingsStore {
    QString writes;
    RecordingStore(const QStringList& stored = {})
    {
        for (qsizetype k = 0; k < stored.size(); ++k)
            if (stored[k] != "-")
                user().write("Haldrun", "Meridane", QString("Option%1").arg(k + 1), stored[k]);
    }
    platform::Replacement<platform::SettingsStore> seam{this};
    static platform::SettingsStore& user() { return isolation::settings(); }
    QString read(const QString& a, const QString& s, const QString& k, const QString& d) override
    {
        return user().read(a, s, k, d);
    }
    void write(const QString& a, const QString& s, const QString& k, const QString& v) override
    {
        user().write(a, s, k, v);
        writes += v.left(1);
    }
};

struct RecordingSkin final : platform::SkinFramework {
    QStringList calls;
    platform::Replacement<platform::SkinFramework> seam{this};
    QVariant call(int member, const QVariantList& args) override
    {
        calls << QString("call %1 %2").arg(member).arg(QVariant(args).toStringList().join("|"));
        return {};
    }
    QVariant property(int id) override { return calls << QString("get %1").arg(id), 6; }
    void setProperty(int id, const QVariant& v) override
    {
        calls << QString("set %1 %2").arg(id).arg(v.toString());
    }
};

struct ProgramFolder {
    QTemporaryDir dir;
    ProgramFolder() { platform::setProgramFolder(dir.path()); }
    // "<pipe>" makes a named pipe of that name.
    void put(const QString& name, const QByteArray& bytes)
    {
        if (bytes == "<pipe>") {
            QDir(dir.path()).mkpath(QFileInfo(dir.filePath(name)).path());
            QCOMPARE(::mkfifo(QFile::encodeName(dir.filePath(name)).constData(), 0600), 0);
            return;
        }
        QDir(dir.path()).mkpath(QFileInfo(dir.filePath(name)).path());
        QFile file(dir.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
};

QByteArray shipped(const char* name)
{
    QFile file(QStringLiteral(MERIDANE_SHARE "/") + QLatin1String(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString checkedUnits(const window::Form1& form)
{
    QString out;
    for (int k = 1; k <= 4; ++k)
        out += form.option(k)->isChecked() ? '1' : '0';
    return out;
}

// The line labels of the error reports, "152 154".
QString reportedLines(const ScriptedDialogs& dialogs)
{
    QStringList lines;
    for (const auto& m : dialogs.messages)
        lines << m.text.section(" at line ", 1).section('\r', 0, 0);
    return lines.join(' ');
}

void click(QRadioButton* button)
{
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
}

} // namespace

class StartupTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        testsupport::startTest();
        isolation::reset();
    }

    void restoreUnits_data()
    {
        QTest::addColumn<QString>("stored"); // "-" for a missing key
        QTest::addColumn<QString>("units");
        QTest::addColumn<QString>("reports");
        QTest::addColumn<QString>("writes");
        QTest::addColumn<int>("click"); // then clicked twice, and kept for the next start
        // clang-format off
        QTest::newRow("first start") << "- - - -"                 << "1000" << ""    << "TFFF" << 1;
        QTest::newRow("kilometers")  << "False False True False"  << "0010" << ""    << "FFTF" << 2;
        QTest::newRow("letter case") << "false FALSE fAlSe TRUE"  << "0001" << ""    << "FFFT" << 3;
        QTest::newRow("numbers")     << "0 -2.5 0 0"              << "0100" << ""    << "FTFF" << 4;
        QTest::newRow("all false")   << "False False False False" << "0000" << ""    << ""     << 3;
        QTest::newRow("hand-edited") << "False maybe False True"  << "0001" << "154" << "FFFT" << 2;
        QTest::newRow("overwritten") << "True maybe False False"  << "1000" << ""    << "TFFF" << 4;
        QTest::newRow("bad choice")  << "yes False False -"       << "1000" << "152" << ""     << 1;
        // clang-format on
    }

    void restoreUnits()
    {
        QFETCH(QString, stored);
        QFETCH(QString, units);
        QFETCH(QString, reports);
        QFETCH(QString, writes);
        QFETCH(int, click);
        RecordingStore store(stored.split(' '));
        ScriptedDialogs dialogs;
        window::Form1 form;
        form.Form_Load();
        QCOMPARE(checkedUnits(form), units);
        QCOMPARE(reportedLines(dialogs), reports);
        QCOMPARE(store.writes, writes);
        QCOMPARE(ui(form).ListView2->columnCount(), 1); // the load went on
        for (const QString& m : dialogs.texts())
            QVERIFY(m.startsWith("Type mismatch\r\nin Orvanta2021/08/31.Form1.Form_Load"));
        // A run uses the restored unit, or none; its message carries the application title.
        form.setWindowTitle("Another caption");
        ui(form).ListView1->addItem("1", "2");
        ui(form).ListView1->addItem("3", "4");
        form.PushButton17_Click();
        const QString sentence = ui(form).ListView2->text(1);
        const char* words[] = {" miles", " feets", " kilometers", " meters"};
        for (int k = 0; k < 4; ++k)
            QCOMPARE(sentence.endsWith(words[k]), units[k] == '1');
        QCOMPARE(dialogs.messages.last().title, QString("Meridane"));
        // Every click writes all four keys, also on the selected button.
        form.show();
        ::click(form.option(click));
        ::click(form.option(click));
        const QString once = QString("FFFF").replace(click - 1, 1, 'T');
        QCOMPARE(store.writes, writes + once + once);
        QFile file(isolation::settings().fileOf("Haldrun"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.readAll().startsWith("[Meridane]\nOption1="));
        window::Form1 next;
        next.Form_Load();
        QCOMPARE(checkedUnits(next), QString(once).replace('F', '0').replace('T', '1'));
    }

    void applicationTitle_data()
    {
        QTest::addColumn<QString>("product");
        QTest::addColumn<QString>("title");
        // clang-format off
        QTest::newRow("short") << "Meridane" << "Meridane";
        QTest::newRow("45 characters") << "Meridane Great Circle Distance Finder 2 Suite"
                                       << "Meridane Great Circle Distance Finder 2";
        QTest::newRow("73 characters")
            << "Meridane finds the great circle distance between each pair of points in a"
            << "Meridane finds the great circle distance";
        // clang-format on
        QTest::newRow("no space") << QString(50, 'M') << QString(40, 'M');
        QTest::newRow("no space left") << "Meridane " + QString(45, 'x') << "Meridane";
    }

    void applicationTitle()
    {
        QFETCH(QString, product);
        QFETCH(QString, title);
        QCOMPARE(chrome::ShortenedTitle(product), title);
    }

    void homePageDraw_data()
    {
        QTest::addColumn<double>("uniform");
        QTest::addColumn<int>("number");
        QTest::addColumn<bool>("launcher"); // a launcher that starts (else none is installed)
        QTest::newRow("lowest") << 0.0 << 1 << true;
        QTest::newRow("just below seven") << 0.0599999 << 6 << true;
        QTest::newRow("seven") << 0.06 << 7 << true;
        QTest::newRow("seven, no launcher: silent") << 0.06 << 7 << false;
        QTest::newRow("top of seven") << 0.0699999 << 7 << true;
        QTest::newRow("eight") << 0.07 << 8 << true;
        QTest::newRow("highest") << std::nextafter(1.0, 0.0) << 100 << true;
    }

    void homePageDraw()
    {
        QFETCH(double, uniform);
        QFETCH(int, number);
        QFETCH(bool, launcher);
        struct : platform::RandomDraw, platform::UrlOpener {
            double value = 0;
            int seeded = -1;
            bool starts = true;
            QList<QUrl> opened;
            void seed(int s) override { seeded = s; }
            double next() override { return value; }
            bool open(const QUrl& url) override { return opened << url, starts; }
        } desktop;
        desktop.value = uniform;
        desktop.starts = launcher;
        platform::replace<platform::RandomDraw>(&desktop);
        platform::replace<platform::UrlOpener>(&desktop);
        const QUrl page = QUrl::fromLocalFile(chrome::HomePagePath());
        const int before = QTime::currentTime().msecsSinceStartOfDay() / 1000;
        chrome::OpenHomePageAtRandom();
        const int after = QTime::currentTime().msecsSinceStartOfDay() / 1000;
        isolation::reset();
        QCOMPARE(chrome::DrawnNumber(uniform), number);
        QVERIFY(desktop.seeded >= before && desktop.seeded <= after);
        QCOMPARE(desktop.opened, number == 7 ? QList<QUrl>{page} : QList<QUrl>());
    }

    void noDisplay_data()
    {
        QTest::addColumn<QString>("given"); // a variable NAME=VALUE, or arguments "-..."
        QTest::addColumn<bool>("none");
        QTest::newRow("nothing set") << "" << true;
        QTest::newRow("X11 named, nothing there") << "DISPLAY=:55" << true;
        QTest::newRow("Wayland, no compositor there") << "WAYLAND_DISPLAY=wayland-0" << true;
        QTest::newRow("offscreen by environment") << "QT_QPA_PLATFORM=offscreen" << false;
        QTest::newRow("offscreen on the command line") << "-platform offscreen" << false;
        QTest::newRow("X11 named on the command line, nothing there") << "-display :56" << true;
        QTest::newRow("X11 asked for, no display") << "QT_QPA_PLATFORM=xcb" << true;
    }

    void noDisplay()
    {
        QFETCH(QString, given);
        QFETCH(bool, none);
        const QStringList arguments = given.startsWith('-') ? given.split(' ') : QStringList();
        QProcessEnvironment variables;
        if (given.contains('='))
            variables.insert(given.section('=', 0, 0), given.section('=', 1));
        QCOMPARE(app::NoDisplay(arguments, variables), none);
        if (!none)
            return;
        // The program itself: one line, status 1, where Qt would abort.
        QProcess program;
        program.setProcessEnvironment(variables);
        program.start(MERIDANE_EXECUTABLE, arguments);
        QVERIFY(program.waitForFinished(30000));
        QCOMPARE(program.exitCode(), 1);
        const QByteArray error = program.readAllStandardError();
        QCOMPARE(error.count('\n'), 1);
        QVERIFY(error.startsWith("meridane: no display to open the window on"));
        QVERIFY(error.contains("'meridane --help'"));
    }

    // The platforms Qt is handed: Wayland where its plugin and a compositor
    // are there, else X11 where a display is named, else none.
    void usablePlatforms_data()
    {
        QTest::addColumn<QString>("given"); // NAME=VALUE ...; <live> and <gone> name a socket
        QTest::addColumn<bool>("plugin");
        QTest::addColumn<QString>("platforms");
        const QString live = "WAYLAND_DISPLAY=<live>", gone = "WAYLAND_DISPLAY=<gone>";
        const QString session = "XDG_SESSION_TYPE=wayland ";
        QTest::newRow("X11") << "DISPLAY=:0" << true << "xcb";
        QTest::newRow("Wayland session, both there")
            << session + live + " DISPLAY=:0" << true << "wayland;xcb";
        QTest::newRow("X11 session, both there") << live + " DISPLAY=:0" << true << "xcb;wayland";
        QTest::newRow("Wayland alone") << live << true << "wayland";
        QTest::newRow("compositor gone, X11 there")
            << session + gone + " DISPLAY=:0" << true << "xcb";
        QTest::newRow("no plugin, X11 there") << session + live + " DISPLAY=:0" << false << "xcb";
        QTest::newRow("Wayland asked for, compositor gone, X11 there")
            << "QT_QPA_PLATFORM=wayland DISPLAY=:0 " + gone << true << "xcb";
        QTest::newRow("compositor gone, no X11") << session + gone << true << "";
        QTest::newRow("no plugin, no X11") << session + live << false << "";
        QTest::newRow("no runtime folder") << "XDG_RUNTIME_DIR= WAYLAND_DISPLAY=live" << true << "";
        QTest::newRow("X11 gone") << "DISPLAY=:55" << true << "";
        QTest::newRow("X11 gone, Wayland there") << live + " DISPLAY=:55" << true << "wayland";
    }

    void usablePlatforms()
    {
        QFETCH(QString, given);
        QFETCH(bool, plugin);
        QFETCH(QString, platforms);
        QTemporaryDir runtime, plugins;
        const int listening = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const QByteArray socketPath = QFile::encodeName(runtime.filePath("live"));
        std::strncpy(address.sun_path, socketPath.constData(), sizeof address.sun_path - 1);
        QVERIFY(::bind(listening, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0);
        QVERIFY(::listen(listening, 4) == 0);
        if (plugin) {
            QVERIFY(QDir(plugins.path()).mkpath("platforms"));
            QFile file(plugins.filePath("platforms/libqwayland-generic.so"));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        QProcessEnvironment variables;
        variables.insert("XDG_RUNTIME_DIR", runtime.path());
        for (QString pair : given.split(' ')) {
            pair.replace("<live>", "live").replace("<gone>", "gone");
            variables.insert(pair.section('=', 0, 0), pair.section('=', 1));
        }
        const auto answers = [](const QString& display) { return display != ":55"; };
        QCOMPARE(app::UsablePlatforms({}, variables, {plugins.path()}, answers), platforms);
        ::close(listening);
    }

    void skinCalls_data()
    {
        QTest::addColumn<QString>("skinFile"); // what lies at x/o.cjs: "", "file" or "folder"
        QTest::newRow("no skin file") << "";
        QTest::newRow("a folder of that name") << "folder";
        QTest::newRow("skin file") << "file";
    }

    void skinCalls()
    {
        QFETCH(QString, skinFile);
        ProgramFolder folder;
        if (skinFile == "file")
            folder.put("x/o.cjs", "window--Form1 { background: white; }");
        else if (skinFile == "folder")
            QDir(folder.dir.path()).mkpath("x/o.cjs");
        QPalette palette = QApplication::palette();
        palette.setColor(QPalette::Button, QColor(1, 2, 3));
        QApplication::setPalette(palette);
        RecordingSkin skin;
        ScriptedDialogs dialogs;
        window::Form1 form;
        form.Form_Load();
        QApplication::setPalette(QPalette());
        QVERIFY(dialogs.messages.isEmpty());
        const bool skinned = skinFile == "file";
        // clang-format off
        const QStringList expected{"call 2 " + folder.dir.filePath("x/o.cjs") + "|", "get 1",
                                   "set 1 7", "set 5 true", "set 10 true",
                                   QString("call 3 %1").arg(platform::windowHandle(form))};
        // clang-format on
        QCOMPARE(skin.calls, skinned ? expected : QStringList());
        for (QWidget* w : QList<QWidget*>{&form, ui(form).Frame1, ui(form).Option1, ui(form).Option2,
                                          ui(form).Option3, ui(form).Option4})
            QCOMPARE(w->palette().color(QPalette::Window) == QColor(1, 2, 3), skinned);
    }

    void realSkin_data()
    {
        QTest::addColumn<QByteArray>("sheet");
        QTest::addColumn<QString>("reports");
        QTest::newRow("the shipped skin") << shipped("x/o.cjs") << "";
        QTest::newRow("broken skin") << QByteArray("QPushButton { color: red; ") << "102";
        // Qt takes a widget's sheet that it cannot parse once more inside "* { }".
        QTest::newRow("garbage") << QByteArray("This is not a style sheet.") << "102";
        QTest::newRow("a named pipe") << QByteArray("<pipe>") << "102";
    }

    void realSkin()
    {
        QFETCH(QByteArray, sheet);
        QFETCH(QString, reports);
        QVERIFY(!sheet.isEmpty());
        ProgramFolder folder;
        folder.put("x/o.cjs", sheet);
        ScriptedDialogs dialogs;
        window::Form1 form;
        form.Form_Load();
        QCOMPARE(reportedLines(dialogs), reports);
        QCOMPARE(form.styleSheet(), reports.isEmpty() ? QString::fromUtf8(sheet) : QString());
        QCOMPARE(qApp->styleSheet(), form.styleSheet());
        QCOMPARE(form.windowTitle(), QString("Meridane")); // the load went on
        qApp->setStyleSheet(QString());
    }

    void handCursor_data()
    {
        QTest::addColumn<QByteArray>("cursorFile"); // empty: none
        QTest::addColumn<QString>("reports");
        QTest::addColumn<QPoint>("hotSpot"); // (-1, -1): the system's pointing hand
        QTest::addColumn<QByteArray>("desktopSize"); // XCURSOR_SIZE
        QTest::addColumn<int>("pixels");             // of the picture shown
        const QPoint none(-1, -1);
        QTest::newRow("shipped hand")
            << shipped("HAND-M.CUR") << "" << QPoint(10, 1) << QByteArray() << 32;
        QTest::newRow("shipped hand, desktop cursors of 24")
            << shipped("HAND-M.CUR") << "" << QPoint(10, 1) << QByteArray("24") << 32;
        QTest::newRow("shipped hand, desktop cursors of 48")
            << shipped("HAND-M.CUR") << "" << QPoint(10, 1) << QByteArray("48") << 64;
        QTest::newRow("shipped hand, desktop cursors of 96")
            << shipped("HAND-M.CUR") << "" << QPoint(10, 1) << QByteArray("96") << 64;
        QTest::newRow("no cursor file") << QByteArray() << "" << none << QByteArray() << 0;
        QTest::newRow("broken cursor file") << QByteArray("\0\0\2\0\1\0", 6) + QByteArray(40, 'x')
                                            << "108" << none << QByteArray() << 0;
        QTest::newRow("a named pipe") << QByteArray("<pipe>") << "108" << none << QByteArray() << 0;
    }

    void handCursor()
    {
        QFETCH(QByteArray, cursorFile);
        QFETCH(QString, reports);
        QFETCH(QPoint, hotSpot);
        QFETCH(QByteArray, desktopSize);
        QFETCH(int, pixels);
        ProgramFolder folder;
        if (!cursorFile.isEmpty())
            folder.put("HAND-M.CUR", cursorFile);
        ScriptedDialogs dialogs;
        window::Form1 form;
        qputenv("XCURSOR_SIZE", desktopSize);
        form.Form_Load();
        qunsetenv("XCURSOR_SIZE");
        QCOMPARE(reportedLines(dialogs), reports);
        form.PushButton1_MouseMove();
        const QCursor shown = ui(form).PushButton1->cursor();
        QCOMPARE(shown.shape(), hotSpot.x() < 0 ? Qt::PointingHandCursor : Qt::BitmapCursor);
        if (hotSpot.x() >= 0) {
            QCOMPARE(shown.hotSpot(), hotSpot); // where the finger's tip is at either size
            QCOMPARE(shown.pixmap().size(), QSize(pixels, pixels));
            QCOMPARE(shown.pixmap().deviceIndependentSize(), QSizeF(32, 32));
        }
    }

    // The unit store is read as empty where it is no regular file; the
    // restore at the start says nothing, the first click whose write fails
    // is reported and the next ones are not; what lies there stays.
    void failedStoreWrite_data()
    {
        QTest::addColumn<QString>("obstacle");
        QTest::newRow("Haldrun.conf a folder") << "folder";
        QTest::newRow("Haldrun.conf a named pipe") << "pipe";
        QTest::newRow("Haldrun.conf a link to a device") << "device";
        QTest::newRow("Haldrun.conf read-only") << "read-only file";
        QTest::newRow("its folder read-only") << "read-only folder";
    }

    void failedStoreWrite()
    {
        QFETCH(QString, obstacle);
        if (obstacle.startsWith("read-only") && ::geteuid() == 0)
            QSKIP("root writes through permissions");
        QTemporaryDir devices;
        const QString conf = isolation::settings().fileOf("Haldrun");
        const QByteArray path = QFile::encodeName(conf);
        const QByteArray device = QFile::encodeName(devices.filePath("zero"));
        if (obstacle == "folder")
            QVERIFY(QDir().mkpath(conf));
        else if (obstacle == "pipe")
            QCOMPARE(::mkfifo(path.constData(), 0600), 0);
        else if (obstacle == "device") {
            if (::mknod(device.constData(), S_IFCHR | 0600, makedev(1, 5)) != 0)
                QSKIP("no device nodes here");
            QCOMPARE(::symlink(device.constData(), path.constData()), 0);
        } else {
            isolation::settings().write("Haldrun", "Meridane", "Option1", "True");
            const QString locked = obstacle == "read-only file" ? conf : QFileInfo(conf).path();
            QVERIFY(QFile::setPermissions(locked, QFile::ReadOwner | QFile::ExeOwner));
        }
        const auto kind = [](const QByteArray& p) {
            struct stat status {};
            return ::lstat(p.constData(), &status) == 0 ? status.st_mode & S_IFMT : 0u;
        };
        const auto before = std::pair(kind(path), kind(device));
        ScriptedDialogs dialogs;
        window::Form1 form;
        form.Form_Load(); // the restored Miles: the user did nothing, nothing is told
        QCOMPARE(dialogs.messages.size(), 0);
        click(ui(form).Option3);
        click(ui(form).Option2);
        QStringList reports;
        for (const auto& m : dialogs.messages)
            reports << m.text.section("\r\n", 1).section('\r', 0, 0);
        QCOMPARE(reports, QStringList({"in Orvanta2021/08/31.Form1.Option3_Click at line 100"}));
        QCOMPARE(checkedUnits(form), QString("0100"));
        QCOMPARE(std::pair(kind(path), kind(device)), before);
        QFile::setPermissions(QFileInfo(conf).path(), QFile::ReadOwner | QFile::WriteOwner |
                                                          QFile::ExeOwner);
    }

    void pointer_data()
    {
        QTest::addColumn<int>("before");
        QTest::addColumn<QString>("over");
        QTest::addColumn<int>("after");
        QTest::newRow("Clear List") << 0 << "PushButton1" << 99;
        QTest::newRow("help button") << 0 << "PushButton8" << 99;
        QTest::newRow("Start") << 0 << "PushButton17" << 99;
        QTest::newRow("coordinate list") << 99 << "ListView1" << 0;
        QTest::newRow("results list header") << 99 << "ListView2 header" << 0;
        QTest::newRow("frame") << 99 << "Frame1" << 0;
        QTest::newRow("background") << 99 << "Form1" << 0;
        QTest::newRow("option button") << 99 << "Option3" << 99;
        QTest::newRow("progress bar") << 99 << "ProgressBar1" << 99;
        QTest::newRow("hourglass over a button") << 11 << "PushButton4" << 11;
        QTest::newRow("hourglass over a list") << 11 << "ListView2" << 11;
    }

    void pointer()
    {
        QFETCH(int, before);
        QFETCH(QString, over);
        QFETCH(int, after);
        window::Form1 form;
        form.Form_Load();
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        // clang-format off
        const QHash<QString, QWidget*> places{
            {"PushButton1", ui(form).PushButton1}, {"PushButton8", ui(form).PushButton8},
            {"PushButton17", ui(form).PushButton17}, {"PushButton4", ui(form).PushButton4},
            {"ListView1", ui(form).ListView1->viewport()}, {"ListView2", ui(form).ListView2->viewport()},
            {"ListView2 header", ui(form).ListView2->horizontalHeader()->viewport()},
            {"Frame1", ui(form).Frame1}, {"Form1", &form}, {"Option3", ui(form).Option3},
            {"ProgressBar1", ui(form).ProgressBar1}};
        // clang-format on
        QWidget* widget = places.value(over);
        // Near the bottom right corner: in the frame beside its option
        // buttons, on the window beside the progress bar.
        const QPoint point = widget->rect().bottomRight() - QPoint(6, 4);
        form.setMousePointer(before);
        QTest::mouseMove(widget, point - QPoint(1, 1));
        QTest::mouseMove(widget, point);
        QCOMPARE(form.MousePointer(), after);
        // The hand shows over the push buttons only, the hourglass everywhere.
        QCOMPARE(ui(form).PushButton2->testAttribute(Qt::WA_SetCursor), after == 99);
        QCOMPARE(form.testAttribute(Qt::WA_SetCursor), after == 11);
    }

    void pointerOverHeaderDividers_data()
    {
        QTest::addColumn<int>("pointer");
        QTest::addColumn<bool>("onDividerFirst"); // the run starts with the mouse there
        QTest::addColumn<int>("shape");
        QTest::newRow("resize arrows while nothing runs") << 0 << false << int(Qt::SplitHCursor);
        QTest::newRow("the hourglass during a run") << 11 << false << int(Qt::WaitCursor);
        QTest::newRow("a run started over a divider") << 11 << true << int(Qt::WaitCursor);
    }

    void pointerOverHeaderDividers()
    {
        QFETCH(int, pointer);
        QFETCH(bool, onDividerFirst);
        QFETCH(int, shape);
        window::Form1 form;
        form.Form_Load();
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QHeaderView* header = ui(form).ListView1->horizontalHeader();
        const QPoint divider(header->sectionViewportPosition(1), header->height() / 2);
        QTest::mouseMove(header->viewport(), divider - QPoint(onDividerFirst ? 1 : 20, 0));
        QTest::mouseMove(header->viewport(), divider - QPoint(onDividerFirst ? 0 : 21, 0));
        form.setMousePointer(pointer);
        QTest::mouseMove(header->viewport(), divider - QPoint(1, 0));
        QTest::mouseMove(header->viewport(), divider);
        QCOMPARE(int(header->cursor().shape()), shape);
    }

    void hourglassStaysDuringARun()
    {
        ScriptedDialogs dialogs;
        window::Form1 form;
        form.Form_Load();
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        for (int i = 0; i < 8; ++i)
            ui(form).ListView1->addItem(QString::number(i), "1");
        QList<int> during;
        connect(ui(form).ProgressBar1, &widgets::ProgressBar::valueSet, &form, [&](double value) {
            if (value == 50) // from the event loop, as a user's move would come
                QTimer::singleShot(0, [&] {
                    for (QWidget* w : QList<QWidget*>{ui(form).PushButton1, ui(form).ListView1->viewport(),
                                                      (QWidget*)&form})
                        QTest::mouseMove(w, {11, 11}), during << form.MousePointer();
                });
        });
        QTest::mouseMove(ui(form).PushButton17, {30, 10});
        form.PushButton17_Click();
        QCOMPARE(during, QList<int>({11, 11, 11}));
        QCOMPARE(form.MousePointer(), 0); // until the mouse moves over a button again
    }
};

QTEST_MAIN(StartupTest)
#include "tst_startup.moc"
