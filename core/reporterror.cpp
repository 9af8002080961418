#include "core/reporterror.h"

#include "platform/desktop/dialogs.h"
#include "core/location.h"

namespace shell {

QString errorReportText(const QString& location, int label, const QString& description)
{
    return description + QLatin1String("\r\nin ") + location + QLatin1String(" at line ") +
           QString::number(label) +
           QLatin1String("\r\rPlease email screenshot of this message to ") + kSupportAddress;
}

void ReportError(const QString& location, int label, const QString& description)
{
    platform::dialogs().message(errorReportText(location, label, description),
                                QStringLiteral("Application Error"),
                                platform::MessageIcon::Exclamation);
}

} // namespace shell
