#pragma once
// A progress bar drawn on a terminal's line: "[#####     ]  50% Writing file: x".
// It redraws at most every 100 ms, so setting it per row stays cheap, and
// clear() leaves the line empty for whatever is printed next.

#include "core/progress.h"

#include <QElapsedTimer>
#include <QString>
#include <cstdio>

namespace cli {

class TerminalProgress : public core::Progress {
public:
    explicit TerminalProgress(std::FILE* out = stderr);
    ~TerminalProgress() override { clear(); }

    void setValue(double percent) override;
    void setText(const QString& text) override;
    void clear();

    // The line drawn for a position and a text, at most width characters.
    static QString line(double percent, const QString& text, int width);

private:
    void draw(bool now);

    std::FILE* out_;
    double value_ = 0;
    QString text_;
    QElapsedTimer sinceDrawn_;
    bool drawn_ = false;
};

} // namespace cli
