#pragma once
// A progress display: a position in percent as a double (0 to a little over
// 100) and a text. The window's progress bar is one, the command line's bar
// on a terminal another.

#include <QString>

namespace core {

class Progress {
public:
    virtual ~Progress() = default;
    virtual void setValue(double percent) = 0;
    virtual void setText(const QString& text) = 0;
};

} // namespace core
