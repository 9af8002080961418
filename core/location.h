#pragma once
// Fixed texts of the application shell.

#include <QString>

namespace shell {

// Where error reports ask the user to send a screenshot.
inline const QString kSupportAddress = QStringLiteral("support@meridane.org");

// Every location text in an error report starts with this.
inline const QString kLocationPrefix = QStringLiteral("Orvanta2021/08/31.");

// "Orvanta2021/08/31.Form1.PushButton17_Click" from "Form1" and "PushButton17_Click".
inline QString location(const char* holder, const char* procedure)
{
    return kLocationPrefix + QLatin1String(holder) + QLatin1Char('.') + QLatin1String(procedure);
}

} // namespace shell
