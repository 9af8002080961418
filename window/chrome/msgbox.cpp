#include "window/chrome/msgbox.h"

namespace chrome {
namespace {
QString title = QStringLiteral("Meridane");
}

void setApplicationTitleText(const QString& text) { title = text; }

void MsgBox(const QString& text, const QString& boxTitle, platform::MessageIcon icon)
{
    platform::get<platform::Dialogs>().message(text, boxTitle.isEmpty() ? title : boxTitle, icon);
}

} // namespace chrome
