#include "window/chrome/msgbox.h"

namespace shell {
namespace {
QString title = QStringLiteral("Meridane");
}

void setApplicationTitleText(const QString& text) { title = text; }

void MsgBox(const QString& text, const QString& boxTitle, platform::MessageIcon icon)
{
    platform::get<platform::Dialogs>().message(text, boxTitle.isEmpty() ? title : boxTitle, icon);
}

void ReportInMessageBox(const QString& text)
{
    platform::get<platform::Dialogs>().message(text, QStringLiteral("Application Error"),
                                               platform::MessageIcon::Exclamation);
}

} // namespace shell
