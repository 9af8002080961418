#pragma once
// The sink for error reports of the window and the command line: a message
// box titled "Application Error" (the console's dialogs write it as one line
// on standard error).

#include <QString>

namespace platform {

void ReportInMessageBox(const QString& text);

} // namespace platform
