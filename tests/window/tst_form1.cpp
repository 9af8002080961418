// The window: its load, list editing and the distance run, driven through
// the real controls with scripted dialogs.

#include "engine/modzipdistance.h"
#include "isolation.h"
#include "output/laststep.h"
#include "platform/dialogs/dialogs.h"
#include "platform/system/endprocess.h"
#include "platform/desktop/yield.h"
#include "scripteddialogs.h"
#include "testsupport.h"
#include "form1controls.h"
#include "window/form1.h"

#include <QAbstractEventDispatcher>
#include <QAccessible>
#include <QApplication>
#include <QHeaderView>
#include <QProcess>
#include <QScopeGuard>
#include <QScreen>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <atomic>
#include <thread>
#include <xcb/xcb.h>

namespace {

const QStringList kExample[] = {{"42.8712", "-71.3878"},
                                {"33.0169", "-116.846"},
                                {"6.49570", "41.26694"},
                                {"58.92982", "47.90975"}};

void addPoints(window::Form1& form, int count)
{
    for (int i = 0; i < count; ++i)
        ui(form).ListView1->addItem(kExample[i % 4][0], kExample[i % 4][1]);
}

QStringList results(const window::Form1& form)
{
    QStringList out;
    for (qsizetype r = 1; r <= ui(form).ListView2->count(); ++r)
        out << ui(form).ListView2->text(r);
    return out;
}

QString sentence(int a, int b)
{
    return engine::modZipDistance::GetDistance(kExample[a][0], kExample[a][1], kExample[b][0],
                                               kExample[b][1],
                                               engine::modZipDistance::selectedOption(1));
}

// Runs `action` once, from the event loop, while the run is at pass `pass`.
void duringPass(window::Form1& form, int pass, std::function<void()> action)
{
    auto* connection = new QMetaObject::Connection;
    auto calls = std::make_shared<int>(0);
    *connection =
        QObject::connect(ui(form).ProgressBar1, &widgets::ProgressBar::valueSet, &form, [=](double) {
            if (++*calls != pass)
                return;
            QObject::disconnect(*connection);
            delete connection;
            QTimer::singleShot(0, action);
        });
}

// `action` after `yields` more trips through the event loop: each zero timer
// is handled by the yield after the one that set it.
std::function<void()> afterYields(int yields, std::function<void()> action)
{
    if (yields == 0)
        return action;
    return [=] { QTimer::singleShot(0, afterYields(yields - 1, action)); };
}

using testsupport::readAll;

// Tells the window, as the X server would, that a window was destroyed.
void reportDestroyed(WId window)
{
    xcb_destroy_notify_event_t event{};
    event.response_type = XCB_DESTROY_NOTIFY;
    event.event = event.window = static_cast<xcb_window_t>(window);
    qintptr result = 0;
    QAbstractEventDispatcher::instance()->filterNativeEvent("xcb_generic_event_t", &event, &result);
}

int runWindowGoneScenario(WId offset)
{
    // A second process: another program destroys a window in the middle of a run.
    platform::setYieldInterval(std::chrono::milliseconds(0));
    ScriptedDialogs dialogs;
    window::Form1 form;
    form.Form_Load();
    form.show();
    addPoints(form, 2000);
    duringPass(form, 1000, [&] { reportDestroyed(form.winId() + offset); });
    form.PushButton17_Click();
    return 3; // the run finished: the process went on
}

int runCloseScenario()
{
    // A second process: the window is closed in the middle of a long run.
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    ScriptedDialogs dialogs;
    window::Form1 form;
    form.Form_Load();
    form.show();
    addPoints(form, 200000);
    duringPass(form, 1000, [&] { form.close(); });
    form.PushButton17_Click();
    return 3; // the run finished: closing did not end the process
}

} // namespace

class Form1Test : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        testsupport::startTest();
        isolation::reset(); // a unit picked by one test is not the next one's
    }

    void listsHaveNoColumnsBeforeTheLoad()
    {
        window::Form1 form;
        QCOMPARE(ui(form).ListView1->columnCount(), 0);
        QCOMPARE(ui(form).ListView2->columnCount(), 0);
    }

    void load()
    {
        ScriptedDialogs dialogs;
        window::Form1 form;
        form.Form_Load();
        QCOMPARE(form.windowTitle(), QString("Meridane"));
        QVERIFY(!form.windowIcon().isNull());
        QCOMPARE(ui(form).ListView1->columnCount(), 2);
        QCOMPARE(ui(form).ListView1->columnText(1), QString("Latitude"));
        QCOMPARE(ui(form).ListView1->columnText(2), QString("Longitude"));
        QCOMPARE(ui(form).ListView2->columnCount(), 1);
        QCOMPARE(ui(form).ListView2->columnText(1), QString("Results"));
        QCOMPARE(ui(form).ListView1->horizontalHeader()->sectionSize(0), 3500 / 15);
        QCOMPARE(ui(form).ListView2->horizontalHeader()->sectionSize(0), 7000 / 15);
        QVERIFY(ui(form).Option1->isChecked());
        QCOMPARE(ui(form).ProgressBar1->text(), QString("Progress Bar"));
        QCOMPARE(form.MousePointer(), 0);
        QVERIFY(dialogs.messages.isEmpty());
    }

    void layout_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QRect>("twips");
        QTest::addColumn<QString>("caption");
        QTest::newRow("coordinate list") << "ListView1" << QRect(120, 120, 7800, 2535) << "";
        QTest::newRow("add") << "PushButton6" << QRect(120, 2750, 3840, 405) << "Add Coordinates";
        QTest::newRow("load") << "PushButton3" << QRect(4080, 2750, 3240, 405)
                              << "Load Coordinates From File";
        QTest::newRow("help") << "PushButton8" << QRect(7440, 2750, 480, 405) << "";
        QTest::newRow("start") << "PushButton17" << QRect(120, 4875, 7800, 405)
                               << "Start Finding Distance Between";
        QTest::newRow("results") << "ListView2" << QRect(120, 5385, 7800, 2535) << "";
        QTest::newRow("clear results")
            << "PushButton2" << QRect(4080, 8520, 3840, 405) << "Clear Results";
        QTest::newRow("bar") << "ProgressBar1" << QRect(120, 9045, 7800, 405) << "";
    }

    void layout()
    {
        QFETCH(QString, control);
        QFETCH(QRect, twips);
        QFETCH(QString, caption);
        window::Form1 form;
        const QHash<QString, QWidget*> controls{
            {"ListView1", ui(form).ListView1},       {"PushButton6", ui(form).PushButton6},
            {"PushButton3", ui(form).PushButton3},   {"PushButton8", ui(form).PushButton8},
            {"PushButton17", ui(form).PushButton17}, {"ListView2", ui(form).ListView2},
            {"PushButton2", ui(form).PushButton2},   {"ProgressBar1", ui(form).ProgressBar1}};
        QWidget* widget = controls.value(control);
        QCOMPARE(widget->geometry(),
                 QRect(twips.x() / 15, twips.y() / 15, twips.width() / 15, twips.height() / 15));
        if (auto* button = qobject_cast<QPushButton*>(widget)) {
            QCOMPARE(button->text(), caption);
            QCOMPARE(button->font().pointSizeF(), 11.25);
            QVERIFY(button->font().bold());
        }
    }

    // Tab walks the controls in the window's tab index order and Shift+Tab
    // walks back; the frame and the progress bar are no stops, and the unit
    // options are one stop, entered at the selected one.
    void tabOrder_data()
    {
        QTest::addColumn<int>("selected");
        QTest::newRow("miles") << 1;
        QTest::newRow("feet") << 2;
        QTest::newRow("meters") << 4;
    }

    void tabOrder()
    {
        QFETCH(int, selected);
        window::Form1 form;
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        const QList<QRadioButton*> options{ui(form).Option1, ui(form).Option2, ui(form).Option3, ui(form).Option4};
        options[selected - 1]->setChecked(true);
        const QList<QWidget*> stops{ui(form).ListView1,       ui(form).ListView2,    ui(form).PushButton6,
                                    ui(form).PushButton3,     ui(form).PushButton1,  ui(form).PushButton17,
                                    ui(form).PushButton4,     ui(form).PushButton13, ui(form).PushButton2,
                                    ui(form).PushButton5,     ui(form).PushButton7,  ui(form).PushButton8,
                                    options[selected - 1]};
        const auto walk = [&](Qt::KeyboardModifiers modifiers) {
            QList<QWidget*> seen{QApplication::focusWidget()};
            for (qsizetype i = 0; i < stops.size(); ++i) {
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, modifiers);
                seen << QApplication::focusWidget();
            }
            return seen;
        };
        ui(form).ListView1->setFocus();
        QCOMPARE(walk(Qt::NoModifier), stops + QList<QWidget*>{ui(form).ListView1});
        QList<QWidget*> back{ui(form).ListView1};
        std::copy(stops.rbegin(), stops.rend(), std::back_inserter(back));
        QCOMPARE(walk(Qt::ShiftModifier), back);
    }

    void runOfFourPoints()
    {
        ScriptedDialogs dialogs;
        window::Form1 form;
        form.Form_Load();
        addPoints(form, 4);
        ui(form).ListView2->addItem("an earlier result");
        QSignalSpy values(ui(form).ProgressBar1, &widgets::ProgressBar::valueSet);
        QSignalSpy texts(ui(form).ProgressBar1, &widgets::ProgressBar::textSet);
        QList<int> pointers;
        connect(ui(form).ProgressBar1, &widgets::ProgressBar::valueSet, &form,
                [&] { pointers << form.MousePointer(); });

        QTest::mouseClick(ui(form).PushButton17, Qt::LeftButton);

        QCOMPARE(results(form), QStringList({sentence(0, 1), sentence(1, 2), sentence(2, 3)}));
        for (qsizetype r = 1; r <= 3; ++r)
            QVERIFY(ui(form).ListView2->checked(r));
        QList<double> positions;
        for (const auto& v : values)
            positions << v[0].toDouble();
        QCOMPARE(positions, QList<double>({25, 50, 75, 100, 0}));
        QCOMPARE(texts.first()[0].toString(), QString("Processing: 42.8712"));
        QCOMPARE(texts.at(3)[0].toString(), QString("Processing: 58.92982"));
        QCOMPARE(ui(form).ProgressBar1->text(), QString("Progress Bar"));
        QCOMPARE(pointers.first(), 0); // the hourglass comes after the first yield
        QCOMPARE(pointers.at(1), 11);
        QCOMPARE(form.MousePointer(), 0);
        QCOMPARE(dialogs.messages.size(), 1);
        QCOMPARE(dialogs.messages[0].text, QString("Done."));
        QCOMPARE(dialogs.messages[0].title, QString("Meridane"));
        QCOMPARE(dialogs.messages[0].icon, platform::MessageIcon::None);
        QVERIFY(!form.RunInProgress());
    }

    void runOfThreePointsShowsTheProgressAsDoubles()
    {
        ScriptedDialogs dialogs;
        window::Form1 form;
        form.Form_Load();
        addPoints(form, 3);
        QSignalSpy values(ui(form).ProgressBar1, &widgets::ProgressBar::valueSet);
        form.PushButton17_Click();
        QCOMPARE(values.at(0)[0].toDouble(), 100.0 / 3);
        QCOMPARE(values.at(1)[0].toDouble(), 200.0 / 3);
    }

    void onePoint()
    {
        ScriptedDialogs dialogs;
        window::Form1 form;
        form.Form_Load();
        addPoints(form, 1);
        ui(form).ListView2->addItem("an earlier result");
        QSignalSpy values(ui(form).ProgressBar1, &widgets::ProgressBar::valueSet);
        form.PushButton17_Click();
        QCOMPARE(ui(form).ListView2->count(), 0);
        QCOMPARE(values.size(), 2);
        QCOMPARE(values.at(0)[0].toDouble(), 100.0);
        QCOMPARE(values.at(1)[0].toDouble(), 0.0);
        QCOMPARE(dialogs.texts(), QStringList({"Done."}));
    }

    void emptyListLeavesEverythingAlone()
    {
        ScriptedDialogs dialogs;
        window::Form1 form;
        form.Form_Load();
        ui(form).ListView2->addItem("an earlier result");
        QSignalSpy values(ui(form).ProgressBar1, &widgets::ProgressBar::valueSet);
        form.PushButton17_Click();
        QCOMPARE(results(form), QStringList({"an earlier result"}));
        QCOMPARE(values.size(), 0);
        QCOMPARE(form.MousePointer(), 0);
        QCOMPARE(dialogs.messages.size(), 1);
        QCOMPARE(dialogs.messages[0].text, QString("No coordinates added."));
        QCOMPARE(dialogs.messages[0].title, QString("Meridane"));
        QVERIFY(!form.RunInProgress());
    }

    void badTextReportsAndTheRunGoesOn()
    {
        ScriptedDialogs dialogs;
        window::Form1 form;
        form.Form_Load();
        ui(form).ListView1->addItem("abc", "1");
        addPoints(form, 2);
        form.PushButton17_Click();
        QCOMPARE(ui(form).ListView2->count(), 2);
        QCOMPARE(ui(form).ListView2->text(1),
                 QString("Distance between (abc,1) and (42.8712,-71.3878) is 0 miles"));
        QCOMPARE(ui(form).ListView2->text(2), sentence(0, 1));
        QCOMPARE(dialogs.messages.size(), 2);
        QVERIFY(dialogs.messages[0].text.contains("GetDistance at line 138"));
        QCOMPARE(dialogs.messages[1].text, QString("Done."));
    }

    void secondPressDuringARunDoesNothing()
    {
        ScriptedDialogs dialogs;
        window::Form1 form;
        form.Form_Load();
        addPoints(form, 6);
        duringPass(form, 2, [&] { QTest::mouseClick(ui(form).PushButton17, Qt::LeftButton); });
        form.PushButton17_Click();
        QCOMPARE(ui(form).ListView2->count(), 5);
        QCOMPARE(dialogs.texts(), QStringList({"Done."}));
    }

    void rowAppendedDuringARunIsPairedWithTheLastRow()
    {
        ScriptedDialogs dialogs;
        window::Form1 form;
        form.Form_Load();
        addPoints(form, 3);
        duringPass(form, 1, [&] { ui(form).ListView1->addItem("1", "2"); });
        form.PushButton17_Click();
        QCOMPARE(ui(form).ListView2->count(), 3);
        QCOMPARE(ui(form).ListView2->text(3),
                 engine::modZipDistance::GetDistance(kExample[2][0], kExample[2][1], "1", "2",
                                                     engine::modZipDistance::selectedOption(1)));
    }

    void unitChangedDuringARunAppliesToTheNextPairs()
    {
        ScriptedDialogs dialogs;
        window::Form1 form;
        form.Form_Load();
        form.show();
        addPoints(form, 4);
        duringPass(form, 2, [&] {
            QTest::mouseClick(ui(form).Option3, Qt::LeftButton, {},
                              QPoint(8, ui(form).Option3->height() / 2));
        });
        form.PushButton17_Click();
        QVERIFY(ui(form).ListView2->text(1).endsWith(" miles"));
        QVERIFY(ui(form).ListView2->text(2).endsWith(" kilometers"));
    }

    // Each window's run reads its own unit options, whatever other windows do.
    void aSecondWindowLeavesTheUnitAlone()
    {
        ScriptedDialogs dialogs;
        window::Form1 form;
        form.Form_Load();
        addPoints(form, 2);
        {
            window::Form1 second;
            ui(second).Option3->setChecked(true);
            form.PushButton17_Click();
        }
        QCOMPARE(results(form), QStringList({sentence(0, 1)}));
        ui(form).Option4->setChecked(true);
        form.PushButton17_Click();
        QVERIFY2(ui(form).ListView2->text(1).endsWith(" meters"), qPrintable(ui(form).ListView2->text(1)));
    }

    void editingIsBlockedUnderTheHourglassButClearResultsWorks()
    {
        ScriptedDialogs dialogs;
        window::Form1 form;
        form.Form_Load();
        form.show();
        addPoints(form, 6);
        qsizetype coordinatesDuringRun = -1;
        duringPass(form, 3, [&] {
            ui(form).ListView1->selectRow(2);
            QTest::keyClick(ui(form).ListView1, Qt::Key_Delete);
            form.ListView1_DblClick();
            QTest::mouseClick(ui(form).PushButton1, Qt::LeftButton);
            ui(form).ListView2->selectRow(1);
            form.ListView2_DblClick();
            coordinatesDuringRun = ui(form).ListView1->count();
            QCOMPARE(ui(form).ListView2->count(), 2);
            QTest::mouseClick(ui(form).PushButton2, Qt::LeftButton);
        });
        form.PushButton17_Click();
        QCOMPARE(coordinatesDuringRun, 6);
        // Cleared after pass 2; passes 3 to 5 added their pairs again.
        QCOMPARE(ui(form).ListView2->count(), 3);
        QCOMPARE(ui(form).ListView2->text(1), sentence(2, 3));
    }

    void removingRowsWhenIdle()
    {
        ScriptedDialogs dialogs;
        window::Form1 form;
        form.Form_Load();
        form.show();
        addPoints(form, 4);
        ui(form).ListView1->selectRow(2);
        QTest::keyClick(ui(form).ListView1, '.'); // the same character number as Delete's key code
        QTest::keyClick(ui(form).ListView1, Qt::Key_Period, Qt::KeypadModifier);
        QCOMPARE(ui(form).ListView1->count(), 4);
        QTest::keyClick(ui(form).ListView1, Qt::Key_Delete);
        QCOMPARE(ui(form).ListView1->count(), 3);
        QCOMPARE(ui(form).ListView1->text(2), kExample[2][0]);
        form.PushButton17_Click();
        QCOMPARE(results(form), QStringList({sentence(0, 2), sentence(2, 3)}));

        ui(form).ListView2->selectRow(1);
        QTest::keyClick(ui(form).ListView2, Qt::Key_Delete); // no Delete key in the results
        QCOMPARE(ui(form).ListView2->count(), 2);
        form.ListView2_DblClick();
        QCOMPARE(results(form), QStringList({sentence(2, 3)}));

        ui(form).ListView1->selectRow(1);
        form.ListView1_DblClick();
        QCOMPARE(ui(form).ListView1->count(), 2);
        ui(form).ListView1->clearSelection();
        form.ListView1_DblClick(); // nothing selected: nothing removed
        QCOMPARE(ui(form).ListView1->count(), 2);

        QTest::mouseClick(ui(form).PushButton1, Qt::LeftButton);
        QCOMPARE(ui(form).ListView1->count(), 0);
        QCOMPARE(ui(form).ListView2->count(), 1); // "Clear List" leaves the results
        form.ListView1_DblClick();            // an empty list: nothing happens
        QTest::mouseClick(ui(form).PushButton2, Qt::LeftButton);
        QCOMPARE(ui(form).ListView2->count(), 0);
        QCOMPARE(dialogs.texts(), QStringList({"Done."}));
    }

    // A list emptied under a long operation: one report at the first read that
    // finds its row gone, then the closing steps. Rows that only grow change
    // nothing. The trigger is the bar's n-th value, `yields` yields later.
    void listChangedInTheMiddle_data()
    {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<bool>("append"); // rows appended instead of cleared
        QTest::addColumn<int>("nthValue");
        QTest::addColumn<int>("yields");
        QTest::addColumn<int>("reportedAt"); // 0: no report
        QTest::newRow("run: list cleared in the first pass") << "run" << false << 1 << 0 << 110;
        QTest::newRow("save: cleared while measuring") << "save" << false << 1 << 1 << 124;
        QTest::newRow("save: cleared before a row's mark") << "save" << false << 40 << 0 << 188;
        QTest::newRow("save: cleared before a row's text") << "save" << false << 40 << 2 << 194;
        QTest::newRow("save: results appended") << "save" << true << 40 << 0 << 0;
    }

    void listChangedInTheMiddle()
    {
        QFETCH(QString, operation);
        QFETCH(bool, append);
        QFETCH(int, nthValue);
        QFETCH(int, yields);
        QFETCH(int, reportedAt);
        ScriptedDialogs dialogs;
        QTemporaryDir dir;
        const QString path = dir.filePath("out.txt");
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write("old content\r\n") == 13);
        old.close();
        window::Form1 form;
        form.Form_Load();
        form.show();
        addPoints(form, 200);
        form.PushButton17_Click();
        dialogs.messages.clear();
        const bool run = operation == "run";
        duringPass(form, nthValue, afterYields(yields, [&] {
                       if (append)
                           ui(form).ListView2->addItem("appended");
                       else
                           QTest::mouseClick(run ? ui(form).PushButton1 : ui(form).PushButton2,
                                             Qt::LeftButton);
                   }));
        dialogs.saveReplies.enqueue(path);

        QTest::mouseClick(run ? ui(form).PushButton17 : ui(form).PushButton4, Qt::LeftButton);

        QStringList expected = run ? QStringList{"Done."} : QStringList{};
        if (reportedAt != 0)
            expected.prepend(
                QStringLiteral("Index out of bounds\r\nin Orvanta2021/08/31.%1 at line %2")
                    .arg(run ? "Form1.PushButton17_Click" : "Main.SaveListviewProperlySpaced")
                    .arg(reportedAt));
        QStringList shown;
        for (const QString& text : dialogs.texts())
            shown << text.section("\r\r", 0, 0);
        QCOMPARE(shown, expected);
        QCOMPARE(ui(form).ProgressBar1->value(), 0.0);
        QCOMPARE(ui(form).ProgressBar1->text(), QString("Progress Bar"));
        QCOMPARE(form.MousePointer(), window::Form1::kDefaultPointer);
        QVERIFY(!form.RunInProgress());
        if (!run && reportedAt != 0)
            QCOMPARE(readAll(path), QByteArray("old content\r\n")); // nothing put in place
        if (!run && reportedAt == 0)
            QCOMPARE(readAll(path).count("\r\n"), 1 + 199);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"out.txt"});
    }

    void optionSelectedAnywhereInItsRectangle_data()
    {
        QTest::addColumn<int>("k");
        QTest::addColumn<QString>("where");
        QTest::newRow("Miles, right end") << 1 << "right";
        QTest::newRow("Feet, right end") << 2 << "right";
        QTest::newRow("Kilometers, right end") << 3 << "right";
        QTest::newRow("Meters, right end") << 4 << "right";
        QTest::newRow("Meters, bottom right corner") << 4 << "corner";
    }

    void optionSelectedAnywhereInItsRectangle()
    {
        QFETCH(int, k);
        QFETCH(QString, where);
        window::Form1 form;
        form.show();
        form.option(k == 1 ? 2 : 1)->setChecked(true);
        QRadioButton* option = form.option(k);
        QCOMPARE(option->width(), 2760 / 15);
        const QPoint at = where == "right" ? QPoint(option->width() - 1, option->height() / 2)
                                           : QPoint(option->width() - 1, option->height() - 1);
        QTest::mouseClick(option, Qt::LeftButton, {}, at);
        for (int other = 1; other <= 4; ++other)
            QCOMPARE(form.option(other)->isChecked(), other == k);
    }

    void closingEndsTheProcess()
    {
        int ended = 0;
        platform::setEndProcess([&] { ++ended; });
        {
            window::Form1 form;
            form.Form_Load();
            form.show();
            form.close();
        }
        platform::setEndProcess({});
        QCOMPARE(ended, 1);
    }

    // The window maximizes and takes the screen; the message boxes have one
    // size: no maximize button, and a larger state that the window system
    // sets is set back.
    void oneSize_data()
    {
        QTest::addColumn<bool>("messageBox");
        QTest::addColumn<int>("state");
        QTest::newRow("window maximized") << false << int(Qt::WindowMaximized);
        QTest::newRow("window full screen") << false << int(Qt::WindowFullScreen);
        QTest::newRow("message box maximized") << true << int(Qt::WindowMaximized);
    }

    void oneSize()
    {
        QFETCH(bool, messageBox);
        QFETCH(int, state);
        window::Form1 form;
        form.show();
        bool checked = false;
        const auto check = [&](QWidget* window) {
            QCOMPARE(bool(window->windowFlags() & Qt::WindowMaximizeButtonHint), !messageBox);
            const QSize size = window->size();
            window->setWindowState(Qt::WindowState(state));
            if (messageBox) {
                QTRY_COMPARE(window->windowState(), Qt::WindowNoState);
                QCOMPARE(window->size(), size);
            } else {
                // The screen, less the frame the window system draws.
                const QSize screen = window->screen()->size();
                QTRY_VERIFY(window->width() >= screen.width() - 8 && window->height() >= screen.height() - 40);
                QCOMPARE(window->windowState(), Qt::WindowState(state));
            }
            checked = true;
        };
        if (messageBox) {
            QTimer::singleShot(0, [&] { // inside the box's own event loop
                QWidget* box = QApplication::activeModalWidget();
                check(box);
                box->close();
            });
            platform::get<platform::Dialogs>().message("Done.", "", platform::MessageIcon::None);
        } else {
            check(&form);
        }
        QVERIFY(checked);
    }

    // What a screen reader is told, through Qt's accessibility interfaces;
    // the progress bar while the run is at its third pair of four.
    void accessibleNamesAndRoles_data()
    {
        QTest::addColumn<QString>("widget");
        QTest::addColumn<int>("role");
        QTest::addColumn<QString>("name");
        QTest::newRow("window") << "Form1" << int(QAccessible::Window) << "Meridane";
        QTest::newRow("coordinates") << "ListView1" << int(QAccessible::Table) << "Coordinates";
        QTest::newRow("results") << "ListView2" << int(QAccessible::Table) << "Results";
        QTest::newRow("help button")
            << "PushButton8" << int(QAccessible::Button) << "List file format";
        QTest::newRow("progress bar")
            << "ProgressBar1" << int(QAccessible::ProgressBar) << "Processing: 6.49570";
    }

    void accessibleNamesAndRoles()
    {
        QFETCH(QString, widget);
        QFETCH(int, role);
        QFETCH(QString, name);
        ScriptedDialogs dialogs;
        window::Form1 form;
        form.Form_Load();
        const QHash<QString, QWidget*> widgets{
            {"Form1", &form},           {"ListView1", ui(form).ListView1},
            {"ListView2", ui(form).ListView2}, {"PushButton8", ui(form).PushButton8},
            {"ProgressBar1", ui(form).ProgressBar1}};
        QAccessibleInterface* item = QAccessible::queryAccessibleInterface(widgets.value(widget));
        QString nameSeen;
        QVariant valueSeen = 75;
        addPoints(form, 4);
        duringPass(form, 3, [&] {
            nameSeen = item->text(QAccessible::Name);
            if (item->valueInterface())
                valueSeen = item->valueInterface()->currentValue();
        });
        form.PushButton17_Click();
        QCOMPARE(int(item->role()), role);
        QCOMPARE(nameSeen, name);
        QCOMPARE(valueSeen, QVariant(75));
    }

    // A result row reads as checkable, with its check mark or without.
    void resultRowsAreCheckable()
    {
        ScriptedDialogs dialogs;
        window::Form1 form;
        form.Form_Load();
        addPoints(form, 3);
        form.PushButton17_Click();
        ui(form).ListView2->setChecked(2, false);
        ui(form).ListView2->flushView();
        QAccessibleTableInterface* table =
            QAccessible::queryAccessibleInterface(ui(form).ListView2)->tableInterface();
        for (int row = 0; row < 2; ++row) {
            QVERIFY(table->cellAt(row, 0)->state().checkable);
            QCOMPARE(bool(table->cellAt(row, 0)->state().checked), row == 0);
        }
    }

    // The control table at the start; a larger window gives the lists the
    // extra height and every control its share of the width, the results
    // column its list's; a screen too small (1920x1080 at scale 2, less a
    // panel) gives a window that fits, lists shorter, every control in it.
    void resizedLayout_data()
    {
        QTest::addColumn<QSize>("available"); // the screen's area, or the window's own size
        QTest::addColumn<bool>("fitted");
        QTest::newRow("the control table") << QSize(536, 658) << false;
        QTest::newRow("larger: lists taller, whole sentences") << QSize(900, 958) << false;
        QTest::newRow("1920x1080 at scale 2: fits") << QSize(960, 540 - 24) << true;
    }

    void resizedLayout()
    {
        QFETCH(QSize, available);
        QFETCH(bool, fitted);
        ScriptedDialogs dialogs;
        window::Form1 form;
        form.Form_Load();
        const QSize table(536, 658);
        const QSize size = fitted ? widgets::fittedSize(table, form.minimumSize(), available, {8, 40})
                                  : available;
        form.resize(size);
        form.show();
        QVERIFY(size.width() <= available.width() && size.height() <= available.height());
        ui(form).Option2->setChecked(true); // feet: the longest sentences
        addPoints(form, 4);
        form.PushButton17_Click();
        const auto c = ui(form);
        const int extraWidth = size.width() - table.width(), extraHeight = size.height() - table.height();
        // The lists share the extra height, everything under them moves down with them.
        QCOMPARE(c.ListView1->geometry(), QRect(8, 8, 520 + extraWidth, 169 + extraHeight / 2));
        QCOMPARE(c.ListView2->height(), c.ListView1->height() + extraHeight % 2);
        QCOMPARE(c.PushButton2->geometry(),
                 QRect(272 + extraWidth / 2, 568 + extraHeight, 256 + (extraWidth + 1) / 2, 27));
        QCOMPARE(c.PushButton8->geometry().right(), c.ListView1->geometry().right());
        QVERIFY(c.ListView2->height() >= 5 * c.ListView2->fontMetrics().height());
        const QList<QWidget*> controls{c.ListView1,   c.PushButton6, c.PushButton3,  c.PushButton8,
                                       c.PushButton1, c.PushButton7, c.Frame1,       c.PushButton17,
                                       c.ListView2,   c.PushButton4, c.PushButton13, c.PushButton5,
                                       c.PushButton2, c.ProgressBar1, c.StatusLine1};
        for (QWidget* control : controls) {
            QVERIFY2(form.rect().contains(control->geometry()), qPrintable(control->objectName()));
            for (QWidget* other : controls)
                QVERIFY(control == other || !control->geometry().intersects(other->geometry()));
        }
        QVERIFY(c.Frame1->rect().contains(c.Option4->geometry()));
        // The results column grew with its list: the longest sentence shows whole
        // (the check box and the cell's margins take some 30 pixels).
        int longest = 0;
        for (qsizetype r = 1; r <= c.ListView2->count(); ++r)
            longest = std::max(longest, c.ListView2->fontMetrics().horizontalAdvance(c.ListView2->text(r)));
        const int column = c.ListView2->horizontalHeader()->sectionSize(0);
        QCOMPARE(column, 466 + extraWidth);
        QCOMPARE(column >= longest + 30, extraWidth >= 200);
    }

    // The status line: what a load, a run and a change of the results did.
    void statusLine_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("status");
        QTest::newRow("load with lines skipped")
            << "load a.txt" << "3 points added from a.txt, 2 lines skipped (lines 2, 4)";
        QTest::newRow("load of two files") << "load a.txt b.txt" << "4 points added from 2 files, 2 lines skipped (lines 2, 4)";
        QTest::newRow("load of a file that is gone")
            << "load gone.txt" << "0 points added from gone.txt; gone.txt: File not found";
        QTest::newRow("run") << "run" << "3 results, 15517.246 miles in all";
        QTest::newRow("run in kilometers") << "km run" << "3 results, 24972.587 kilometers in all";
        QTest::newRow("run, a row cleared") << "run uncheck" << "2 of 3 results checked, 6171.6476 miles";
        QTest::newRow("run, a row cleared by Space")
            << "run space" << "2 of 3 results checked, 12983.1592 miles";
        QTest::newRow("run, a cleared row checked again") << "run uncheck check"
                                                            << "3 results, 15517.246 miles in all";
        QTest::newRow("run, a cleared row removed") << "run uncheck remove"
                                                      << "2 results, 6171.6476 miles in all";
        QTest::newRow("run, results cleared") << "run clear" << "";
    }

    void statusLine()
    {
        QFETCH(QString, action);
        QFETCH(QString, status);
        ScriptedDialogs dialogs;
        QTemporaryDir dir;
        const auto write = [&](const char* name, const QByteArray& bytes) {
            QFile file(dir.filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(bytes);
        };
        write("a.txt", "1,2\nnot a point\n3,4\n5\n6,7\n");
        write("b.txt", "8,9\n");
        window::Form1 form;
        form.Form_Load();
        form.show();
        QAccessible::setActive(true); // the toggles' events are sent
        const auto c = ui(form);
        QStringList words = action.split(' ');
        if (words.takeFirst() == "load") {
            QStringList paths;
            for (const QString& name : words)
                paths << dir.filePath(name);
            form.LoadListFiles(paths);
            QCOMPARE(form.StatusText(), status);
            return;
        }
        if (action.startsWith("km"))
            c.Option3->setChecked(true);
        addPoints(form, 4);
        form.PushButton17_Click();
        c.ListView2->flushView();
        const QModelIndex second = c.ListView2->model()->index(1, 0);
        for (const QString& word : words) {
            if (word == "uncheck" || word == "check") // a click on the box
                c.ListView2->model()->setData(second, word == "check" ? Qt::Checked : Qt::Unchecked,
                                              Qt::CheckStateRole);
            if (word == "space") { // on the first row
                c.ListView2->setFocus();
                c.ListView2->selectRow(1);
                QTest::keyClick(c.ListView2, Qt::Key_Space);
            }
            if (word == "remove") {
                c.ListView2->selectRow(2);
                form.ListView2_DblClick();
            }
            if (word == "clear")
                QTest::mouseClick(c.PushButton2, Qt::LeftButton);
        }
        QCOMPARE(form.StatusText(), status);
        QAccessibleInterface* line = QAccessible::queryAccessibleInterface(c.StatusLine1);
        QCOMPARE(line->role(), QAccessible::StatusBar);
        QCOMPARE(line->text(QAccessible::Name), status);
    }

    // A list at its limit (here 1 MiB) fails each add with "Out of memory":
    // the run or the load stops after the first report.
    void storeLimitReportedOnce_data()
    {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<QString>("reportedIn");
        QTest::newRow("run") << "run"
                             << "Form1.PushButton17_Click at line 130";
        QTest::newRow("load of two files") << "load"
                                           << "Form1.PushButton3_Click at line 134";
        QTest::newRow("two files dropped") << "drop"
                                           << "Form1.LoadListFiles at line 102";
    }

    void storeLimitReportedOnce()
    {
        QFETCH(QString, operation);
        QFETCH(QString, reportedIn);
        ScriptedDialogs dialogs;
        QTemporaryDir dir;
        window::Form1 form;
        form.Form_Load();
        widgets::ListStore::setBlockLimit(1);
        const auto restore = qScopeGuard([] { widgets::ListStore::setBlockLimit(size_t(-1)); });
        QStringList files;
        for (const char* name : {"a.txt", "b.txt"}) {
            QFile file(dir.filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
            for (int i = 0; i < 60000; ++i) // 1.2 MB of rows each
                file.write("42.8712,-71.3878\n");
            files << file.fileName();
        }
        if (operation == "run") {
            addPoints(form, 15000);
            form.PushButton17_Click();
        } else if (operation == "load") {
            dialogs.openReplies.enqueue(files);
            form.PushButton3_Click();
        } else {
            form.LoadListFiles(files);
        }
        QStringList shown;
        for (const QString& text : dialogs.texts())
            shown << text.section("\r\r", 0, 0);
        // Dropped files name the file in their reports.
        const QString named = operation == "drop" ? QFileInfo(files.first()).fileName() + ": " : "";
        QStringList expected{named + "Out of memory\r\nin Orvanta2021/08/31." + reportedIn};
        if (operation == "run")
            expected << "Done.";
        QCOMPARE(shown, expected);
        QVERIFY((operation == "run" ? ui(form).ListView2 : ui(form).ListView1)->full());
        QCOMPARE(form.MousePointer(), window::Form1::kDefaultPointer);
    }

    // The window is closed while the save's last step (the file put in
    // place) is held on its thread: the process ends only after the step,
    // and "Done." shows only once the new file is there.
    void closingDuringTheSavesLastStep()
    {
        ScriptedDialogs dialogs;
        QTemporaryDir dir;
        const QString path = dir.filePath("out.txt");
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write("old content") == 11);
        old.close();
        window::Form1 form;
        form.Form_Load();
        addPoints(form, 50);
        form.PushButton17_Click();
        std::atomic<bool> ended{false};
        QByteArray seenAtEnd, seenAtDone;
        platform::setEndProcess([&] { seenAtEnd = readAll(path), ended = true; });
        output::setLastStepGate([&] {
            QMetaObject::invokeMethod(&form, &QWidget::close, Qt::QueuedConnection);
            while (!output::lastStepsAwaited() && !ended)
                std::this_thread::yield();
        });
        connect(ui(form).ProgressBar1, &widgets::ProgressBar::textSet, &form, [&](const QString& t) {
            if (t == "Done.")
                seenAtDone = readAll(path);
        });
        dialogs.saveReplies.enqueue(path);
        form.PushButton4_Click();
        output::setLastStepGate({});
        platform::setEndProcess({});
        QVERIFY(ended);
        QVERIFY2(seenAtEnd.startsWith("Results "), seenAtEnd.constData());
        QCOMPARE(seenAtDone, seenAtEnd);
    }

    // Another program destroys a window in the middle of a run, in a child process.
    void destroyedWindowEndsTheProcess_data()
    {
        QTest::addColumn<QString>("offset");
        QTest::addColumn<int>("exitCode");
        QTest::newRow("the main window: the process ends") << "0" << 0;
        QTest::newRow("another window: the run goes on") << "1" << 3;
    }

    void destroyedWindowEndsTheProcess()
    {
        QFETCH(QString, offset);
        QFETCH(int, exitCode);
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedChannels);
        child.start(QCoreApplication::applicationFilePath(), {"--window-gone-during-run", offset});
        QVERIFY(child.waitForFinished(120000));
        QCOMPARE(child.exitStatus(), QProcess::NormalExit);
        QCOMPARE(child.exitCode(), exitCode);
    }

    void closingInTheMiddleOfARunEndsTheProcessCleanly()
    {
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedChannels);
        child.start(QCoreApplication::applicationFilePath(), {"--close-during-run"});
        QVERIFY(child.waitForFinished(120000));
        QCOMPARE(child.exitStatus(), QProcess::NormalExit);
        QCOMPARE(child.exitCode(), 0);
    }
};

// The window's input handlers: typed points, list files, drops (tst_input.cpp).
int runInputTest(int argc, char* argv[]);

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    if (argc > 1 && QByteArray(argv[1]) == "--close-during-run")
        return runCloseScenario();
    if (argc > 2 && QByteArray(argv[1]) == "--window-gone-during-run")
        return runWindowGoneScenario(QByteArray(argv[2]).toULongLong());
    Form1Test test;
    int failed = QTest::qExec(&test, argc, argv);
    failed |= runInputTest(argc, argv);
    return failed;
}

#include "tst_form1.moc"
