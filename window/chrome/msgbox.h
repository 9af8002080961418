#pragma once
// Message boxes of the program. A box that names no title of its own carries
// the application title.

#include "platform/dialogs/dialogs.h"

#include <QString>

namespace chrome {

void setApplicationTitleText(const QString& title);

void MsgBox(const QString& text, const QString& title = {},
            platform::MessageIcon icon = platform::MessageIcon::None);

} // namespace chrome
