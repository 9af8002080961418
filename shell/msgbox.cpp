#include "shell/msgbox.h"

namespace shell {
namespace {
QString title = QStringLiteral("Meridane");
}

QString applicationTitle() { return title; }

void setApplicationTitleText(const QString& text) { title = text; }

void MsgBox(const QString& text, const QString& boxTitle, platform::MessageIcon icon)
{
    platform::dialogs().message(text, boxTitle.isEmpty() ? title : boxTitle, icon);
}

} // namespace shell
