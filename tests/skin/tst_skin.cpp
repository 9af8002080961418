// The shipped skin keeps every text legible on light and dark desktops: each
// text is drawn as the user sees it, and the colour of its strokes against
// the background behind it keeps a contrast of at least 4.5:1 (relative
// luminance, as accessibility guidelines measure it).

#include "app/form1.h"
#include "platform/programfolder.h"
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

double luminance(QColor colour)
{
    const auto linear = [](double v) {
        return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) +
           0.0722 * linear(colour.blueF());
}

double contrast(QColor a, QColor b)
{
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The text in an area of a drawn window: the area's most common colour is
// the background, the colour that stands out most from it the text's.
struct Drawn {
    QColor background, text;
};

Drawn drawnText(const QImage& image, const QRect& area)
{
    QHash<QRgb, int> counts;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            ++counts[image.pixel(x, y)];
    Drawn drawn;
    int most = 0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        if (it.value() > most)
            most = it.value(), drawn.background = QColor(it.key());
    drawn.text = drawn.background;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        if (contrast(QColor(it.key()), drawn.background) > contrast(drawn.text, drawn.background))
            drawn.text = QColor(it.key());
    return drawn;
}

QPalette palette(const QString& name)
{
    if (name == "light")
        return QApplication::style()->standardPalette();
    if (name == "dark") // white text on near-black, as dark desktop themes have
        return QPalette(QColor(0x35, 0x35, 0x35), QColor(0x2d, 0x2d, 0x2d));
    // A light window with dark buttons and light button text.
    QPalette mixed = QApplication::style()->standardPalette();
    mixed.setColor(QPalette::Button, QColor(0x20, 0x30, 0x40));
    mixed.setColor(QPalette::ButtonText, Qt::white);
    return mixed;
}

// Where a widget lies in its window, narrowed by the margins given.
QRect inWindow(const QWidget* widget, const QMargins& margins = {})
{
    return QRect(widget->mapTo(widget->window(), QPoint(0, 0)), widget->size()) - margins;
}

// A text on show: the window that holds it and the area of the text.
struct Sample {
    QWidget* window = nullptr;
    QRect area;
};

// Shows what the case names on the loaded, skinned window (or above it).
Sample show(const QString& name, Form1& form, std::unique_ptr<QWidget>& dialog)
{
    if (name == "push button")
        return {&form, inWindow(form.PushButton17, {6, 6, 6, 6})};
    if (name == "disabled push button") {
        form.PushButton17->setEnabled(false);
        return {&form, inWindow(form.PushButton17, {6, 6, 6, 6})};
    }
    if (name == "unit option")
        return {&form, inWindow(form.Option3, {22, 1, 1, 1})};
    if (name == "unit option without the style sheet") {
        form.setStyleSheet(QString());
        qApp->setStyleSheet(QString());
        return {&form, inWindow(form.Option3, {22, 1, 1, 1})};
    }
    if (name == "list header") {
        QHeaderView* header = form.ListView1->horizontalHeader();
        return {&form, QRect(header->mapTo(&form, QPoint(0, 0)),
                             QSize(header->sectionSize(0), header->height())) -
                           QMargins(4, 3, 4, 3)};
    }
    QWidget* shown = nullptr;
    if (name == "message box text") {
        dialog = std::make_unique<QMessageBox>(QMessageBox::NoIcon, QStringLiteral("Meridane"),
                                               QStringLiteral("Done."), QMessageBox::Ok, &form);
        shown = dialog->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
    } else if (name == "input box entry") {
        auto box = std::make_unique<QInputDialog>(&form);
        box->setTextValue(QStringLiteral("42.8712,-71.3878")); // shown selected
        shown = box->findChild<QLineEdit*>();
        dialog = std::move(box);
    } else { // the open dialog, whose "Open" waits, disabled, for a name
        auto box = std::make_unique<QFileDialog>(&form, QStringLiteral("Load List(s)"));
        box->setOption(QFileDialog::DontUseNativeDialog);
        shown =
            name.endsWith("label")
                ? static_cast<QWidget*>(box->findChild<QLabel*>(QStringLiteral("fileNameLabel")))
                : box->findChild<QDialogButtonBox*>()->buttons().first();
        dialog = std::move(box);
    }
    dialog->show();
    return {dialog.get(),
            inWindow(shown, qobject_cast<QLabel*>(shown) ? QMargins() : QMargins(6, 5, 6, 5))};
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
        QApplication::setPalette(QApplication::style()->standardPalette());
    }

    void textKeepsItsContrast_data()
    {
        QTest::addColumn<QString>("palette");
        QTest::addColumn<QString>("text");
        const QStringList texts{"push button",       "disabled push button",
                                "unit option",       "unit option without the style sheet",
                                "list header",       "message box text",
                                "input box entry",   "file dialog label",
                                "file dialog button"};
        for (const QString palette : {"light", "dark", "dark buttons on a light window"})
            for (const QString& text : texts)
                QTest::newRow(qPrintable(text + ", " + palette)) << palette << text;
    }

    void textKeepsItsContrast()
    {
        QFETCH(QString, palette);
        QFETCH(QString, text);
        QApplication::setPalette(::palette(palette));
        ScriptedDialogs dialogs;
        Form1 form;
        form.Form_Load();
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        std::unique_ptr<QWidget> dialog;
        const Sample sample = show(text, form, dialog);
        QVERIFY2(sample.window && !sample.area.isEmpty(), "nothing to look at");
        const Drawn drawn = drawnText(sample.window->grab().toImage(), sample.area);
        const double ratio = contrast(drawn.text, drawn.background);
        QVERIFY2(ratio >= 4.5, qPrintable(QString("%1 on %2: %3:1")
                                              .arg(drawn.text.name(), drawn.background.name())
                                              .arg(ratio, 0, 'f', 2)));
        QCOMPARE(dialogs.texts(), QStringList()); // the skin was taken
    }
};

QTEST_MAIN(SkinTest)
#include "tst_skin.moc"
