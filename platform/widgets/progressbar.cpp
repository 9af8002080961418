#include "platform/widgets/progressbar.h"

#include <QAccessible>
#include <QMetaMethod>
#include <QPainter>
#include <QStyleOptionProgressBar>
#include <algorithm>
#include <cmath>

namespace widgets {
namespace {
constexpr int kSteps = 10000; // hundredths of a percent

bool isObserved(const QMetaMethod& signal)
{
    return signal == QMetaMethod::fromSignal(&ProgressBar::valueSet) ||
           signal == QMetaMethod::fromSignal(&ProgressBar::textSet);
}
} // namespace

// Observers are rare (tests): a value set a million times emits nothing when
// nobody listens. Counting them where they connect is cheaper than asking.
void ProgressBar::connectNotify(const QMetaMethod& signal)
{
    if (isObserved(signal))
        ++observers_;
}

void ProgressBar::disconnectNotify(const QMetaMethod& signal)
{
    if (!signal.isValid()) // every connection went at once
        observers_ = 0;
    else if (observers_ > 0 && isObserved(signal))
        --observers_;
}

ProgressBar::ProgressBar(QWidget* parent)
    : QWidget(parent)
{
    repaint_.setSingleShot(true);
    repaint_.setInterval(0);
    connect(&repaint_, &QTimer::timeout, this, [this] {
        repaintPending_ = false;
        update();
        if (QAccessible::isActive())
            tellScreenReaders();
    });
}

// A screen reader hears of a new whole percent, of a text that names another
// step ("Processing: ..." to "Progress Bar") at once, and of the text within
// a step (the row being processed) at most once a second: a run that changes
// it at every row would drown every other word.
void ProgressBar::tellScreenReaders()
{
    constexpr qint64 kTextEvery = 1000; // milliseconds
    const int percent = std::isfinite(value_) ? int(std::clamp(value_, 0.0, 100.0)) : 0;
    const std::u16string step = text_.substr(0, text_.find(u':'));
    if (percent != toldPercent_) {
        toldPercent_ = percent;
        QAccessibleValueChangeEvent event(this, percent);
        QAccessible::updateAccessibility(&event);
    }
    const bool newStep = step != toldStep_;
    if (newStep || (text_ != toldText_ && (!toldAt_.isValid() || toldAt_.elapsed() >= kTextEvery))) {
        toldStep_ = step;
        toldText_ = text_;
        toldAt_.start();
        QAccessibleEvent event(this, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&event);
    }
}

// update() merges a region on every call: the calls between two turns of the
// event loop need only one.
void ProgressBar::repaintLater()
{
    if (repaintPending_)
        return;
    repaintPending_ = true;
    repaint_.start();
}

void ProgressBar::setValue(double percent)
{
    value_ = percent;
    if (observers_ > 0)
        emit valueSet(percent);
    repaintLater();
}

void ProgressBar::setText(const QString& text)
{
    // Copied into the bar's own room rather than shared: a caller that builds
    // a text per row in one buffer of its own then allocates nothing.
    text_.assign(reinterpret_cast<const char16_t*>(text.utf16()), size_t(text.size()));
    if (observers_ > 0)
        emit textSet(text);
    repaintLater();
}

QSize ProgressBar::sizeHint() const { return {200, fontMetrics().height() + 8}; }

void ProgressBar::paintEvent(QPaintEvent*)
{
    QStyleOptionProgressBar option;
    option.initFrom(this);
    option.minimum = 0;
    option.maximum = kSteps;
    const double clamped = std::isfinite(value_) ? std::clamp(value_, 0.0, 100.0) : 0.0;
    option.progress = static_cast<int>(std::lround(clamped * kSteps / 100.0));
    option.text = text();
    option.textVisible = true;
    option.textAlignment = Qt::AlignCenter;
    option.state |= QStyle::State_Horizontal;
    QPainter painter(this);
    style()->drawControl(QStyle::CE_ProgressBar, &option, &painter, this);
}

} // namespace widgets
