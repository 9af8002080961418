// The window's start-up and look: the unit kept between starts, the
// application title, the home-page draw, the skin, the hand cursor and the
// pointer that the hover handlers set.

#include "app/form1.h"
#include "engine/modzipdistance.h"
#include "isolation.h"
#include "platform/programfolder.h"
#include "platform/randomdraw.h"
#include "platform/skinframework.h"
#include "platform/urlopener.h"
#include "platform/yield.h"
#include "scripteddialogs.h"
#include "shell/applicationtitle.h"
#include "shell/homepage.h"

#include <QHeaderView>
#include <QTemporaryDir>
#include <QTime>
#include <QTimer>
#include <QtTest>

namespace {

class RecordingStore final : public platform::SettingsStore {
public:
    RecordingStore() { platform::setSettingsStore(this); }
    ~RecordingStore() override { platform::setSettingsStore(&isolation::settings()); }
    QHash<QString, QString> values;
    QStringList writes;
    QString read(const QString&, const QString&, const QString& key, const QString& def) override
    {
        return values.value(key, def);
    }
    void write(const QString& app, const QString& section, const QString& key,
               const QString& value) override
    {
        QCOMPARE(app + "/" + section, QString("Haldrun/Meridane"));
        values[key] = value;
        writes << key + "=" + value;
    }
};

class RecordingSkin final : public platform::SkinFramework {
public:
    RecordingSkin() { platform::setSkinFramework(this); }
    ~RecordingSkin() override { platform::setSkinFramework(nullptr); }
    QStringList calls;
    QVariant call(int member, const QVariantList& args) override
    {
        QStringList texts;
        for (const QVariant& a : args)
            texts << a.toString();
        calls << QString("call %1 (%2)").arg(member).arg(texts.join(", "));
        return {};
    }
    QVariant property(int id) override
    {
        calls << QString("get %1").arg(id);
        return 6;
    }
    void setProperty(int id, const QVariant& value) override
    {
        calls << QString("set %1 %2").arg(id).arg(value.toString());
    }
};

struct ProgramFolder {
    QTemporaryDir dir;
    ProgramFolder() { platform::setProgramFolder(dir.path()); }
    void put(const QString& name, const QByteArray& bytes)
    {
        QDir(dir.path()).mkpath(QFileInfo(dir.filePath(name)).path());
        QFile file(dir.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    void ship(const QString& name)
    {
        QFile shipped(QStringLiteral(MERIDANE_SHARE "/") + name);
        QVERIFY(shipped.open(QIODevice::ReadOnly));
        put(name, shipped.readAll());
    }
};

QString checkedUnits(const Form1& form)
{
    QString out;
    for (int k = 1; k <= 4; ++k)
        out += form.option(k)->isChecked() ? '1' : '0';
    return out;
}

QStringList reportedLines(const ScriptedDialogs& dialogs)
{
    QStringList lines;
    for (const auto& m : dialogs.messages)
        lines << m.text.section(" at line ", 1).section('\r', 0, 0);
    return lines;
}

} // namespace

class StartupTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        platform::setYieldInterval(std::chrono::milliseconds(0));
        isolation::reset();
    }

    void restoreUnits_data()
    {
        QTest::addColumn<QStringList>("stored"); // "-" for a missing key
        QTest::addColumn<QString>("units");
        QTest::addColumn<QStringList>("reports");
        QTest::addColumn<QStringList>("writes");
        const QStringList miles{"Option1=True", "Option2=False", "Option3=False", "Option4=False"};
        QTest::newRow("first start")
            << QStringList{"-", "-", "-", "-"} << "1000" << QStringList() << miles;
        QTest::newRow("kilometers kept")
            << QStringList{"False", "False", "True", "False"} << "0010" << QStringList()
            << QStringList{"Option1=False", "Option2=False", "Option3=True", "Option4=False"};
        QTest::newRow("any letter case")
            << QStringList{"false", "FALSE", "fAlSe", "TRUE"} << "0001" << QStringList()
            << QStringList{"Option1=False", "Option2=False", "Option3=False", "Option4=True"};
        QTest::newRow("numbers") << QStringList{"0", "-2.5", "0", "0"} << "0100" << QStringList()
                                 << QStringList{"Option1=False", "Option2=True", "Option3=False",
                                                "Option4=False"};
        QTest::newRow("all false") << QStringList{"False", "False", "False", "False"} << "0000"
                                   << QStringList() << QStringList();
        QTest::newRow("hand-edited value")
            << QStringList{"False", "maybe", "False", "True"} << "0001" << QStringList{"154"}
            << QStringList{"Option1=False", "Option2=False", "Option3=False", "Option4=True"};
        QTest::newRow("overwritten by an earlier selection")
            << QStringList{"True", "maybe", "False", "False"} << "1000" << QStringList() << miles;
        QTest::newRow("unreadable selection keeps the layout's")
            << QStringList{"yes", "False", "False", "-"} << "1000" << QStringList{"152"}
            << QStringList();
    }

    void restoreUnits()
    {
        QFETCH(QStringList, stored);
        QFETCH(QString, units);
        QFETCH(QStringList, reports);
        QFETCH(QStringList, writes);
        RecordingStore store;
        for (int k = 0; k < 4; ++k)
            if (stored[k] != "-")
                store.values[QString("Option%1").arg(k + 1)] = stored[k];
        ScriptedDialogs dialogs;
        Form1 form;
        form.Form_Load();
        QCOMPARE(checkedUnits(form), units);
        QCOMPARE(reportedLines(dialogs), reports);
        QCOMPARE(store.writes, writes);
        QCOMPARE(form.ListView2->columnCount(), 1); // the load went on
        for (const QString& m : dialogs.texts())
            QVERIFY(m.startsWith("Type mismatch\r\nin Orvanta2021/08/31.Form1.Form_Load"));
    }

    void clickingWritesAllFourKeys()
    {
        RecordingStore store;
        Form1 form;
        form.Form_Load();
        form.show();
        for (QRadioButton* button : {form.Option1, form.Option1, form.Option4}) {
            store.writes.clear();
            QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
            QCOMPARE(store.writes.size(), 4);
            for (int k = 1; k <= 4; ++k)
                QCOMPARE(
                    store.writes[k - 1],
                    QString("Option%1=%2").arg(k).arg(form.option(k) == button ? "True" : "False"));
        }
    }

    void unitSurvivesARestart_data()
    {
        QTest::addColumn<int>("unit");
        for (int k = 1; k <= 4; ++k)
            QTest::addRow("option %d", k) << k;
    }

    void unitSurvivesARestart()
    {
        QFETCH(int, unit);
        {
            Form1 form;
            form.Form_Load();
            form.show();
            QRadioButton* button = form.option(unit);
            QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
        }
        QFile file(isolation::settings().fileOf("Haldrun"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray text = file.readAll();
        QVERIFY(text.startsWith("[Meridane]"));
        QVERIFY(text.contains(QString("Option%1=True").arg(unit).toLatin1()));
        Form1 again;
        again.Form_Load();
        QVERIFY(again.option(unit)->isChecked());
        QCOMPARE(checkedUnits(again).count('1'), 1);
    }

    void noUnitStoredGivesNoUnitSentences()
    {
        RecordingStore store;
        for (const char* key : {"Option1", "Option2", "Option3", "Option4"})
            store.values[key] = "False";
        ScriptedDialogs dialogs;
        Form1 form;
        form.Form_Load();
        form.ListView1->addItem("42.8712", "-71.3878");
        form.ListView1->addItem("33.0169", "-116.846");
        form.PushButton17_Click();
        QCOMPARE(form.ListView2->count(), 1);
        const QString sentence = form.ListView2->text(1);
        QCOMPARE(sentence,
                 modZipDistance::GetDistance("42.8712", "-71.3878", "33.0169", "-116.846"));
        for (const char* word : {"miles", "feet", "kilometers", "meters"})
            QVERIFY(!sentence.endsWith(word));
    }

    void applicationTitle_data()
    {
        QTest::addColumn<QString>("product");
        QTest::addColumn<QString>("title");
        QTest::newRow("short") << "Meridane"
                               << "Meridane";
        QTest::newRow("45 characters") << "Meridane Great Circle Distance Finder 2 Suite"
                                       << "Meridane Great Circle Distance Finder 2";
        QTest::newRow("73 characters")
            << "Meridane finds the great circle distance between each pair of points in a"
            << "Meridane finds the great circle distance";
        QTest::newRow("no space") << QString(50, 'M') << QString(40, 'M');
        QTest::newRow("no space left") << "Meridane " + QString(45, 'x') << "Meridane";
    }

    void applicationTitle()
    {
        QFETCH(QString, product);
        QFETCH(QString, title);
        QCOMPARE(shell::ShortenedTitle(product), title);
    }

    void messageBoxesCarryTheApplicationTitle()
    {
        ScriptedDialogs dialogs;
        Form1 form;
        form.Form_Load();
        form.setWindowTitle("Another caption");
        form.PushButton17_Click(); // no points
        QCOMPARE(dialogs.messages.size(), 1);
        QCOMPARE(dialogs.messages[0].title, QString("Meridane"));
    }

    void homePageDraw_data()
    {
        QTest::addColumn<double>("uniform");
        QTest::addColumn<int>("number");
        QTest::newRow("lowest") << 0.0 << 1;
        QTest::newRow("just below seven") << 0.0599999 << 6;
        QTest::newRow("seven") << 0.06 << 7;
        QTest::newRow("top of seven") << 0.0699999 << 7;
        QTest::newRow("eight") << 0.07 << 8;
        QTest::newRow("highest") << std::nextafter(1.0, 0.0) << 100;
    }

    void homePageDraw()
    {
        QFETCH(double, uniform);
        QFETCH(int, number);
        struct Draw final : platform::RandomDraw {
            double value = 0;
            int seeded = -1;
            void seed(int s) override { seeded = s; }
            double next() override { return value; }
        } draw;
        struct Opener final : platform::UrlOpener {
            QList<QUrl> opened;
            bool open(const QUrl& url) override { return opened << url, true; }
        } opener;
        draw.value = uniform;
        platform::setRandomDraw(&draw);
        platform::setUrlOpener(&opener);
        const QUrl page = QUrl::fromLocalFile(shell::HomePagePath());
        const int before = QTime::currentTime().msecsSinceStartOfDay() / 1000;
        shell::OpenHomePageAtRandom();
        const int after = QTime::currentTime().msecsSinceStartOfDay() / 1000;
        isolation::reset();
        QCOMPARE(shell::DrawnNumber(uniform), number);
        QVERIFY(draw.seeded >= before && draw.seeded <= after);
        QCOMPARE(opener.opened, number == 7 ? QList<QUrl>{page} : QList<QUrl>());
    }

    void realDrawWinsAboutOnceInAHundred()
    {
        platform::setRandomDraw(nullptr);
        auto& draw = platform::randomDraw();
        draw.seed(12345);
        int sevens = 0;
        for (int i = 0; i < 100000; ++i) {
            const double u = draw.next();
            QVERIFY(u >= 0 && u < 1);
            sevens += shell::DrawnNumber(u) == 7;
        }
        QVERIFY2(sevens > 800 && sevens < 1200, qPrintable(QString::number(sevens)));
    }

    void skinCalls_data()
    {
        QTest::addColumn<QString>("skinFile"); // what lies at x/o.cjs: "", "file" or "folder"
        QTest::addColumn<bool>("skinned");
        QTest::newRow("no skin file") << "" << false;
        QTest::newRow("a folder of that name") << "folder" << false;
        QTest::newRow("skin file") << "file" << true;
    }

    void skinCalls()
    {
        QFETCH(QString, skinFile);
        QFETCH(bool, skinned);
        ProgramFolder folder;
        if (skinFile == "file")
            folder.put("x/o.cjs", "Form1 { background: white; }");
        else if (skinFile == "folder")
            QDir(folder.dir.path()).mkpath("x/o.cjs");
        QPalette palette = QApplication::palette();
        palette.setColor(QPalette::Button, QColor(1, 2, 3));
        QApplication::setPalette(palette);
        RecordingSkin skin;
        ScriptedDialogs dialogs;
        Form1 form;
        form.Form_Load();
        QApplication::setPalette(QPalette());
        QVERIFY(dialogs.messages.isEmpty());
        const QStringList expected{QString("call 2 (%1, )").arg(folder.dir.filePath("x/o.cjs")),
                                   "get 1",
                                   "set 1 7",
                                   "set 5 true",
                                   "set 10 true",
                                   QString("call 3 (%1)").arg(platform::windowHandle(form))};
        QCOMPARE(skin.calls, skinned ? expected : QStringList());
        for (QWidget* w : QList<QWidget*>{&form, form.Frame1, form.Option1, form.Option2,
                                          form.Option3, form.Option4})
            QCOMPARE(w->palette().color(QPalette::Window) == QColor(1, 2, 3), skinned);
    }

    void realSkin_data()
    {
        QTest::addColumn<QByteArray>("sheet");
        QTest::addColumn<QStringList>("reports");
        QFile shipped(MERIDANE_SHARE "/x/o.cjs");
        QVERIFY(shipped.open(QIODevice::ReadOnly));
        QTest::newRow("the shipped skin") << shipped.readAll() << QStringList();
        QTest::newRow("broken skin")
            << QByteArray("QPushButton { color: red; ") << QStringList{"102"};
    }

    void realSkin()
    {
        QFETCH(QByteArray, sheet);
        QFETCH(QStringList, reports);
        ProgramFolder folder;
        folder.put("x/o.cjs", sheet);
        ScriptedDialogs dialogs;
        Form1 form;
        form.Form_Load();
        QCOMPARE(reportedLines(dialogs), reports);
        QCOMPARE(form.styleSheet(), reports.isEmpty() ? QString::fromUtf8(sheet) : QString());
        QCOMPARE(form.windowTitle(), QString("Meridane")); // the load went on
        qApp->setStyleSheet(QString());
    }

    void handCursor_data()
    {
        QTest::addColumn<QString>("cursorFile"); // "", "shipped" or "broken"
        QTest::addColumn<QStringList>("reports");
        QTest::addColumn<QPoint>("hotSpot");
        QTest::newRow("shipped hand") << "shipped" << QStringList() << QPoint(10, 1);
        QTest::newRow("no cursor file") << "" << QStringList() << QPoint(-1, -1);
        QTest::newRow("broken cursor file") << "broken" << QStringList{"108"} << QPoint(-1, -1);
    }

    void handCursor()
    {
        QFETCH(QString, cursorFile);
        QFETCH(QStringList, reports);
        QFETCH(QPoint, hotSpot);
        ProgramFolder folder;
        if (cursorFile == "shipped")
            folder.ship("HAND-M.CUR");
        else if (cursorFile == "broken")
            folder.put("HAND-M.CUR", QByteArray("\0\0\2\0\1\0", 6) + QByteArray(40, 'x'));
        ScriptedDialogs dialogs;
        Form1 form;
        form.Form_Load();
        QCOMPARE(reportedLines(dialogs), reports);
        form.PushButton1_MouseMove();
        const QCursor shown = form.PushButton1->cursor();
        if (hotSpot.x() < 0) {
            QCOMPARE(shown.shape(), Qt::PointingHandCursor);
        } else {
            QCOMPARE(shown.shape(), Qt::BitmapCursor);
            QCOMPARE(shown.hotSpot(), hotSpot);
            QCOMPARE(shown.pixmap().size(), QSize(32, 32));
        }
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
        Form1 form;
        form.Form_Load();
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        const QHash<QString, std::pair<QWidget*, QPoint>> places{
            {"PushButton1", {form.PushButton1, {20, 10}}},
            {"PushButton8", {form.PushButton8, {10, 10}}},
            {"PushButton17", {form.PushButton17, {20, 10}}},
            {"PushButton4", {form.PushButton4, {20, 10}}},
            {"ListView1", {form.ListView1->viewport(), {50, 50}}},
            {"ListView2", {form.ListView2->viewport(), {50, 50}}},
            {"ListView2 header", {form.ListView2->horizontalHeader(), {50, 5}}},
            {"Frame1", {form.Frame1, {form.Frame1->width() - 20, form.Frame1->height() - 6}}},
            {"Form1", {&form, {3, 3}}},
            {"Option3", {form.Option3, {30, 8}}},
            {"ProgressBar1", {form.ProgressBar1, {20, 10}}}};
        const auto [widget, point] = places.value(over);
        form.setMousePointer(before);
        QTest::mouseMove(widget, point - QPoint(1, 1));
        QTest::mouseMove(widget, point);
        QCOMPARE(form.MousePointer(), after);
        // The hand shows over the push buttons only, the hourglass everywhere.
        QCOMPARE(form.PushButton2->testAttribute(Qt::WA_SetCursor), after == 99);
        QCOMPARE(form.testAttribute(Qt::WA_SetCursor), after == 11);
    }

    void hourglassStaysDuringARun()
    {
        ScriptedDialogs dialogs;
        Form1 form;
        form.Form_Load();
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        for (int i = 0; i < 8; ++i)
            form.ListView1->addItem(QString::number(i), "1");
        QList<int> during;
        connect(form.ProgressBar1, &platform::ProgressBar::valueSet, &form, [&](double value) {
            if (value < 50 || !during.isEmpty())
                return;
            QTimer::singleShot(0, [&] {
                for (QWidget* w : {static_cast<QWidget*>(form.PushButton1),
                                   form.ListView1->viewport(), static_cast<QWidget*>(&form)}) {
                    QTest::mouseMove(w, {11, 11});
                    QTest::mouseMove(w, {12, 12});
                    during << form.MousePointer();
                }
            });
        });
        QTest::mouseMove(form.PushButton17, {30, 10});
        form.PushButton17_Click();
        QCOMPARE(during, QList<int>({11, 11, 11}));
        QCOMPARE(form.MousePointer(), 0); // until the mouse moves over a button again
    }
};

QTEST_MAIN(StartupTest)
#include "tst_startup.moc"
