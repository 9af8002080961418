#include "cli/console/consoledialogs.h"

#include <QRegularExpression>

namespace cli {

ConsoleDialogs::ConsoleDialogs(std::FILE* out)
    : out_(out)
{
}

QString ConsoleDialogs::oneLine(const QString& text)
{
    // A report's paragraphs are parted by a bare CR; its lines end in CR LF.
    QString first = text.section(QRegularExpression(QStringLiteral("\r(?!\n)")), 0, 0);
    first.replace(QRegularExpression(QStringLiteral("[\r\n]+")), QStringLiteral(" "));
    return first.trimmed();
}

void ConsoleDialogs::message(const QString& text, const QString&, platform::MessageIcon)
{
    if (progress_)
        progress_->clear();
    QString line = QStringLiteral("meridane: ");
    if (!subject_.isEmpty())
        line += subject_ + QLatin1String(": ");
    line += oneLine(text) + QLatin1Char('\n');
    std::fputs(line.toLocal8Bit().constData(), out_);
    std::fflush(out_);
    ++messages_;
}

} // namespace cli
