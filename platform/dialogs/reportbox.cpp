#include "platform/dialogs/reportbox.h"

#include "platform/dialogs/dialogs.h"

namespace platform {

void ReportInMessageBox(const QString& text)
{
    get<Dialogs>().message(text, QStringLiteral("Application Error"), MessageIcon::Exclamation);
}

} // namespace platform
