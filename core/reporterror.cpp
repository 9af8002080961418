#include "core/reporterror.h"

#include <cstdio>
#include <utility>

namespace core {
namespace {
// Reached through a function, so that a sink installed before main stays.
ReportSink& sink()
{
    static ReportSink installed;
    return installed;
}
} // namespace

QString errorReportText(const QString& location, int label, const QString& description)
{
    return description + QLatin1String("\r\nin ") + location + QLatin1String(" at line ") +
           QString::number(label) +
           QLatin1String("\r\rPlease email screenshot of this message to support@meridane.org");
}

void ReportError(const QString& location, int label, const QString& description)
{
    const QString text = errorReportText(location, label, description);
    if (sink())
        sink()(text);
    else
        std::fputs(qPrintable(text + QLatin1Char('\n')), stderr);
}

ReportSink setReportSink(ReportSink replacement)
{
    return std::exchange(sink(), std::move(replacement));
}

} // namespace core
