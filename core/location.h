#pragma once
// Where a failure happened: the location text an error report names.

#include <QString>

namespace core {

// "Orvanta2021/08/31.Form1.PushButton17_Click" from "Form1" and "PushButton17_Click".
inline QString location(const char* holder, const char* procedure)
{
    return QLatin1String("Orvanta2021/08/31.") + QLatin1String(holder) + QLatin1Char('.') +
           QLatin1String(procedure);
}

} // namespace core
