// The shipped skin keeps every text legible on light and dark desktops: each
// kind of text is drawn as the user sees it, and its strokes keep a contrast
// of at least 4.5:1 (relative luminance) against the background behind them.

#include "form1controls.h"
#include "window/form1.h"
#include "platform/system/programfolder.h"
#include "scripteddialogs.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QStyleFactory>
#include <QtTest>
#include <cmath>

namespace {

// The widget whose text is looked at, on the loaded window or a dialog above it.
using Pick = std::function<QWidget*(window::Form1&)>;
} // namespace
Q_DECLARE_METATYPE(Pick)
namespace {

double contrast(QColor a, QColor b)
{
    const auto luminance = [](QColor c) {
        const auto linear = [](double v) {
            return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) + 0.0722 * linear(c.blueF());
    };
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The area's most common colour is the background; the text's strokes are
// the colour that stands out most from it.
QString textOn(const QImage& image, const QRect& area, double& ratio)
{
    QHash<QRgb, int> counts;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            ++counts[image.pixel(x, y)];
    QColor background = counts.isEmpty() ? QColor() : QColor(counts.keys().first()), text;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        if (it.value() > counts.value(background.rgb()))
            background = QColor(it.key());
    ratio = 0;
    for (QRgb pixel : counts.keys())
        if (contrast(pixel, background) > ratio)
            ratio = contrast(pixel, background), text = QColor(pixel);
    return text.name() + " on " + background.name();
}

// The mark that focus adds: the pixels that changed, each against what lay
// there before; the strongest of them tells how well the mark shows.
QString markOn(const QImage& before, const QImage& after, const QRect& area, double& ratio)
{
    ratio = 0;
    QString colours = "no mark";
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (before.pixel(x, y) != after.pixel(x, y) &&
                contrast(after.pixel(x, y), before.pixel(x, y)) > ratio) {
                ratio = contrast(after.pixel(x, y), before.pixel(x, y));
                colours =
                    QColor(after.pixel(x, y)).name() + " on " + QColor(before.pixel(x, y)).name();
            }
    return colours;
}

template <typename Dialog> QWidget* shown(Dialog* dialog, QWidget* text)
{
    dialog->show();
    return text;
}

} // namespace

class SkinTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
        platform::setProgramFolder(QStringLiteral(MERIDANE_SHARE));
    }

    void cleanup()
    {
        qApp->setStyleSheet(QString());
        QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    }

    void textKeepsItsContrast_data()
    {
        QTest::addColumn<QPalette>("palette");
        QTest::addColumn<Pick>("pick");
        QTest::addColumn<QMargins>("margins"); // of the widget not taken by its text
        QTest::addColumn<bool>("focusMark");   // the mark that focus adds, at 3:1, not a text
        QPalette mixed = QApplication::style()->standardPalette();
        mixed.setColor(QPalette::Button, QColor(0x20, 0x30, 0x40));
        mixed.setColor(QPalette::ButtonText, Qt::white);
        // A desktop's dark style comes with its own palette (none where it is not installed).
        QStyle* adwaitaDark = QStyleFactory::create(QStringLiteral("Adwaita-Dark"));
        const QList<std::pair<const char*, QPalette>> palettes{
            {"light", QApplication::style()->standardPalette()},
            {"dark", QPalette(QColor(0x35, 0x35, 0x35), QColor(0x2d, 0x2d, 0x2d))},
            {"dark buttons on a light window", mixed},
            {"Adwaita-Dark", adwaitaDark ? adwaitaDark->standardPalette() : QPalette()}};
        delete adwaitaDark;
        const QMargins button(6, 5, 6, 5), option(22, 1, 1, 1);
        for (const auto& named : palettes) {
            const auto row = [&](const char* text, QMargins margins, Pick pick) {
                QTest::newRow(qPrintable(QString("%1, %2").arg(text, named.first)))
                    << named.second << pick << margins << QString(text).startsWith("focus");
            };
            row("push button", button, [](window::Form1& f) { return ui(f).PushButton17; });
            row("disabled push button", button, [](window::Form1& f) {
                ui(f).PushButton17->setEnabled(false);
                return ui(f).PushButton17;
            });
            row("unit option", option, [](window::Form1& f) { return ui(f).Option3; });
            row("unit option without the style sheet", option, [](window::Form1& f) {
                qApp->setStyleSheet({});
                f.setStyleSheet({});
                return ui(f).Option3;
            });
            row("list header", {4, 3, 4, 3},
                [](window::Form1& f) { return ui(f).ListView1->horizontalHeader(); });
            row("results header", {4, 3, 4, 3},
                [](window::Form1& f) { return ui(f).ListView2->horizontalHeader(); });
            row("focus mark on a unit option", {}, [](window::Form1& f) { return ui(f).Option3; });
            row("focus mark on the selected unit", {}, [](window::Form1& f) { return ui(f).Option1; });
            row("message box", {}, [](window::Form1& f) {
                auto* box =
                    new QMessageBox(QMessageBox::NoIcon, "Meridane", "Done.", QMessageBox::Ok, &f);
                return shown(box, box->findChild<QLabel*>("qt_msgbox_label"));
            });
            row("input box entry, selected", button, [](window::Form1& f) {
                auto* box = new QInputDialog(&f);
                box->setTextValue("42.8712,-71.3878");
                return shown(box, box->findChild<QLineEdit*>());
            });
            row("file dialog label", {}, [](window::Form1& f) {
                auto* box = new QFileDialog(&f);
                box->setOption(QFileDialog::DontUseNativeDialog);
                return shown(box, box->findChild<QLabel*>("fileNameLabel"));
            });
        }
    }

    void textKeepsItsContrast()
    {
        QFETCH(QPalette, palette);
        QFETCH(Pick, pick);
        QFETCH(QMargins, margins);
        QFETCH(bool, focusMark);
        const QString style = QString(QTest::currentDataTag()).section(", ", -1);
        if (style == "Adwaita-Dark") {
            QStyle* dark = QStyleFactory::create(style);
            if (!dark)
                QSKIP("Adwaita-Dark is not installed (Debian's adwaita-qt6)");
            QApplication::setStyle(dark);
        }
        QApplication::setPalette(palette);
        ScriptedDialogs dialogs;
        window::Form1 form;
        form.Form_Load();
        QCOMPARE(dialogs.texts(), QStringList()); // the skin was taken
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QWidget* text = pick(form);
        const QRect area(text->mapTo(text->window(), QPoint(0, 0)), text->size());
        double ratio = 0;
        QString colours;
        if (focusMark) {
            QApplication::setActiveWindow(&form);
            QVERIFY(QTest::qWaitForWindowActive(&form));
            const QImage before = form.grab().toImage();
            text->setFocus(Qt::TabFocusReason);
            colours = markOn(before, form.grab().toImage(), area, ratio);
        } else {
            colours = textOn(text->window()->grab().toImage(), area - margins, ratio);
        }
        const double least = focusMark ? 3 : 4.5;
        QVERIFY2(ratio >= least, qPrintable(colours + QString(": %1:1").arg(ratio, 0, 'f', 2)));
    }
};

QTEST_MAIN(SkinTest)
#include "tst_skin.moc"
