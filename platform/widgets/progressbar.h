#pragma once
// A progress bar that takes a position in percent as a double (0 to a little
// over 100) and shows a text of its own on the bar. Painting is coalesced:
// setting the value a million times costs a million stores, and one repaint
// each time the event loop runs.

#include "core/progress.h"

#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>
#include <string>

namespace widgets {

class ProgressBar : public QWidget, public core::Progress {
    Q_OBJECT
public:
    explicit ProgressBar(QWidget* parent = nullptr);

    double value() const { return value_; }
    void setValue(double percent) final;
    QString text() const { return QString::fromStdU16String(text_); }
    void setText(const QString& text) final;

    QSize sizeHint() const override;

signals:
    // For observers such as tests; nothing in the program listens.
    void valueSet(double percent);
    void textSet(const QString& text);

protected:
    void paintEvent(QPaintEvent* event) override;
    void connectNotify(const QMetaMethod& signal) override;
    void disconnectNotify(const QMetaMethod& signal) override;

private:
    void repaintLater();
    void tellScreenReaders();

    double value_ = 0;
    std::u16string text_; // assigned a million times in a run: no QString's checks
    QTimer repaint_;
    bool repaintPending_ = false; // the timer runs: cheaper to ask than the timer
    int observers_ = 0;           // connections to valueSet and textSet
    int toldPercent_ = -1;        // what screen readers last heard
    std::u16string toldStep_, toldText_;
    QElapsedTimer toldAt_;
};

} // namespace widgets
