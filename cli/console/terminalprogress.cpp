#include "cli/console/terminalprogress.h"

#include <algorithm>
#include <cmath>

namespace cli {
namespace {

constexpr int kBarWidth = 20;
constexpr int kLineWidth = 79; // one column short of a standard terminal, so it never wraps
constexpr qint64 kRedrawMs = 100;

} // namespace

TerminalProgress::TerminalProgress(std::FILE* out)
    : out_(out)
{
}

QString TerminalProgress::line(double percent, const QString& text, int width)
{
    const double clamped = std::isfinite(percent) ? std::clamp(percent, 0.0, 100.0) : 0.0;
    const int filled = static_cast<int>(clamped / 100 * kBarWidth);
    QString bar = QLatin1Char('[') + QString(filled, QLatin1Char('#')) +
                  QString(kBarWidth - filled, QLatin1Char(' ')) + QLatin1String("] ");
    bar += QStringLiteral("%1% ").arg(static_cast<int>(clamped), 3) + text;
    return bar.left(width);
}

void TerminalProgress::setValue(double percent)
{
    value_ = percent;
    draw(false);
}

void TerminalProgress::setText(const QString& text)
{
    text_ = text;
    draw(false);
}

void TerminalProgress::draw(bool now)
{
    if (!now && drawn_ && sinceDrawn_.elapsed() < kRedrawMs)
        return;
    const QByteArray bytes = line(value_, text_, kLineWidth).toLocal8Bit();
    std::fprintf(out_, "\r%s\033[K", bytes.constData());
    std::fflush(out_);
    sinceDrawn_.start();
    drawn_ = true;
}

void TerminalProgress::clear()
{
    if (!drawn_)
        return;
    std::fputs("\r\033[K", out_);
    std::fflush(out_);
    drawn_ = false;
}

} // namespace cli
