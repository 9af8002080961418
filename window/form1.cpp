#include "window/form1.h"

#include "window/icons.h"
#include "core/reporterror.h"
#include "platform/dialogs/dialogs.h"
#include "platform/widgets/accessibility.h"
#include "platform/widgets/windowgone.h"
#include "platform/dialogs/reportbox.h"

#include <QCloseEvent>
#include <QScreen>
#include <QStyle>
#include <tuple>

namespace window {

namespace {

const QString kListTip = QStringLiteral(
    "Double-click item to remove it. Move | line to right and out of window to reveal full names.");

QFont arialBold(double points)
{
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(points);
    font.setBold(true);
    return font;
}

// The control table's client area, and the status line under it.
constexpr int kTableWidth = 8040;
constexpr int kStatusTop = 9480, kStatusHeight = 300;
constexpr int kWindowHeight = kStatusTop + kStatusHeight + 90;

// What a control takes of a larger window: the full width, or one half of
// it; the lists each half of the extra height, and what lies between and
// below them moves down with them.
constexpr widgets::Stretch kFullWidth{0, 1}, kLeftHalf{0, 0.5}, kRightHalf{0.5, 0.5};
widgets::Stretch below(widgets::Stretch s, double top)
{
    s.top = top;
    return s;
}
widgets::Stretch growing(widgets::Stretch s)
{
    s.height = 0.5;
    return s;
}

// A list keeps its header and a few rows however small the window.
int listFloor(const QWidget& list) { return 5 * list.fontMetrics().height(); }

// What a window system's frame and title bar take around the window.
QSize frameAllowance(const QWidget& window)
{
    const int title = window.style()->pixelMetric(QStyle::PM_TitleBarHeight);
    return {8, title + 16};
}

} // namespace

Form1::Form1(QWidget* parent)
    : QWidget(parent)
    , table_(kTableWidth, kWindowHeight)
{
    core::setReportSink(platform::ReportInMessageBox);
    widgets::installAccessibility();
    setFont(arialBold(9));
    createControls();
    placeControls();
    setMinimumSize(table_.minimumSize());
    resize(widgets::fittedSize(table_.size(), minimumSize(), screen()->availableSize(),
                                frameAllowance(*this)));
    setTabOrder();
    connectHandlers();
    // Destroyed by another program, the window ends the process as closing it does.
    widgets::onWindowGone(this, [this] {
        Form_QueryUnload();
        Form_Unload();
    });
    setAcceptDrops(true); // list files from a file manager
    CommonDialog1.MaxFileSize = 30000;
    platform::setDialogParent(this);
}

widgets::PushButton* Form1::button(const QString& caption)
{
    auto* b = new widgets::PushButton(this);
    b->setText(caption);
    b->setFont(arialBold(11.25));
    return b;
}

void Form1::createControls()
{
    ListView1 = new widgets::ListView(this);
    PushButton6 = button(QStringLiteral("Add Coordinates"));
    PushButton3 = button(QStringLiteral("Load Coordinates From File"));
    PushButton8 = button(QString());
    PushButton8->setIcon(icons::help());
    PushButton8->setToolTip(QStringLiteral("List file format"));
    PushButton8->setAccessibleName(QStringLiteral("List file format"));
    PushButton1 = button(QStringLiteral("Clear List"));
    PushButton7 = button(QStringLiteral("Load Sample/Example Points"));
    Frame1 = new QGroupBox(QStringLiteral("Unit Options"), this);
    Option1 = new widgets::OptionButton(QStringLiteral("Miles"), Frame1);
    Option2 = new widgets::OptionButton(QStringLiteral("Feet"), Frame1);
    Option3 = new widgets::OptionButton(QStringLiteral("Kilometers"), Frame1);
    Option4 = new widgets::OptionButton(QStringLiteral("Meters"), Frame1);
    Option1->setChecked(true);
    PushButton17 = button(QStringLiteral("Start Finding Distance Between"));
    ListView2 = new widgets::ListView(this);
    ListView2->setCheckboxes(true);
    PushButton4 = button(QStringLiteral("Save Results As Text File"));
    PushButton13 = button(QStringLiteral("Save Results As Excel File"));
    PushButton5 = button(QStringLiteral("Copy Results To Clipboard"));
    PushButton2 = button(QStringLiteral("Clear Results"));
    ProgressBar1 = new widgets::ProgressBar(this);
    ProgressBar1->setText(QStringLiteral("Progress Bar"));
    ListView1->setToolTip(kListTip);
    ListView2->setToolTip(kListTip);
    ListView1->setAccessibleName(QStringLiteral("Coordinates"));
    ListView2->setAccessibleName(QStringLiteral("Results"));
    ListView1->setAccessibleDescription(kListTip);
    ListView2->setAccessibleDescription(kListTip);
    ListView1->setColumnsFollowWidth(true);
    ListView2->setColumnsFollowWidth(true);
    StatusLine1 = new widgets::StatusLine(this);
    StatusLine1->setAccessibleName(QStringLiteral("Status"));
}

void Form1::placeControls()
{
    using widgets::Stretch;
    const Stretch kLists = below(kFullWidth, 0.5);
    const std::tuple<QWidget*, QRect, Stretch> table[] = {
        {ListView1, {120, 120, 7800, 2535}, growing(kFullWidth)},
        {PushButton6, {120, 2750, 3840, 405}, below(kLeftHalf, 0.5)},
        {PushButton3, {4080, 2750, 3240, 405}, below(kRightHalf, 0.5)},
        {PushButton8, {7440, 2750, 480, 405}, Stretch{1, 0, 0.5}},
        {PushButton1, {120, 3260, 3840, 405}, below(kLeftHalf, 0.5)},
        {PushButton7, {4080, 3260, 3840, 405}, below(kRightHalf, 0.5)},
        {Frame1, {120, 3720, 7800, 1035}, kLists},
        {Option1, {240, 300, 2760, 255}, kLeftHalf},
        {Option2, {240, 650, 2760, 255}, kLeftHalf},
        {Option3, {4080, 300, 2760, 255}, kRightHalf},
        {Option4, {4080, 650, 2760, 255}, kRightHalf},
        {PushButton17, {120, 4875, 7800, 405}, kLists},
        {ListView2, {120, 5385, 7800, 2535}, growing(kLists)},
        {PushButton4, {120, 8010, 3840, 405}, below(kLeftHalf, 1)},
        {PushButton13, {4080, 8010, 3840, 405}, below(kRightHalf, 1)},
        {PushButton5, {120, 8520, 3840, 405}, below(kLeftHalf, 1)},
        {PushButton2, {4080, 8520, 3840, 405}, below(kRightHalf, 1)},
        {ProgressBar1, {120, 9045, 7800, 405}, below(kFullWidth, 1)},
        {StatusLine1, {120, kStatusTop, 7800, kStatusHeight}, below(kFullWidth, 1)},
    };
    for (const auto& [control, twips, stretch] : table)
        table_.add(control, twips, stretch);
    table_.setFloor(listFloor(*ListView1));
    table_.layOut(table_.size());
}

void Form1::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    table_.layOut(size());
}

QString Form1::StatusText() const { return StatusLine1->text(); }

void Form1::setTabOrder()
{
    // In the window's tab index order, 0 first. The frame (13) only holds the
    // unit options and is no stop of its own: chaining it would move its
    // children with it, so the chain runs from the help button to the options.
    const QWidget* order[] = {ListView1,    ListView2,   PushButton6,  PushButton3, PushButton1,
                              PushButton17, PushButton4, PushButton13, PushButton2, ProgressBar1,
                              PushButton5,  PushButton7, PushButton8,  Option2,     Option1,
                              Option4,      Option3};
    for (size_t i = 0; i + 1 < std::size(order); ++i)
        QWidget::setTabOrder(const_cast<QWidget*>(order[i]), const_cast<QWidget*>(order[i + 1]));
    // The options are one stop, entered at the selected one; the arrow keys
    // move inside the group.
    const auto stopAtSelected = [this] {
        for (int k = 1; k <= 4; ++k)
            option(k)->setFocusPolicy(option(k)->isChecked() ? Qt::StrongFocus : Qt::ClickFocus);
    };
    stopAtSelected();
    for (int k = 1; k <= 4; ++k)
        connect(option(k), &QRadioButton::toggled, this, stopAtSelected);
}

void Form1::connectHandlers()
{
    const std::pair<widgets::PushButton*, void (Form1::*)()> clicks[] = {
        {PushButton1, &Form1::PushButton1_Click},   {PushButton2, &Form1::PushButton2_Click},
        {PushButton3, &Form1::PushButton3_Click},   {PushButton4, &Form1::PushButton4_Click},
        {PushButton5, &Form1::PushButton5_Click},   {PushButton6, &Form1::PushButton6_Click},
        {PushButton7, &Form1::PushButton7_Click},   {PushButton8, &Form1::PushButton8_Click},
        {PushButton13, &Form1::PushButton13_Click}, {PushButton17, &Form1::PushButton17_Click},
    };
    for (const auto& [b, handler] : clicks)
        connect(b, &QPushButton::clicked, this, handler);
    connect(ListView1, &widgets::ListView::DblClick, this, &Form1::ListView1_DblClick);
    connect(ListView1, &widgets::ListView::KeyDown, this, &Form1::ListView1_KeyDown);
    connect(ListView2, &widgets::ListView::DblClick, this, &Form1::ListView2_DblClick);
    connect(ListView2, &widgets::ListView::ItemCheck, this, &Form1::ListView2_ItemCheck);
    connectOptionHandlers();
    connectHoverHandlers();
}

QRadioButton* Form1::option(int k) const
{
    const std::array<QRadioButton*, 4> options{Option1, Option2, Option3, Option4};
    return options.at(static_cast<size_t>(k - 1));
}

void Form1::closeEvent(QCloseEvent* event)
{
    Form_QueryUnload();
    event->accept();
    Form_Unload();
}

} // namespace window
