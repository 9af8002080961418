#pragma once
// What the tests share: the state each test starts from, and reading a file back.

#include "platform/desktop/yield.h"

#include <QByteArray>
#include <QFile>
#include <QLocale>
#include <QString>

namespace testsupport {

// English (United States) numbers, and a Yield() that processes events at
// every call, so that a test's timers run at the first pass.
inline void startTest()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    platform::setYieldInterval(std::chrono::milliseconds(0));
}

// The file's bytes; "(no file)" when it cannot be read, so that a missing
// file never passes for an empty one.
inline QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(no file)");
}

} // namespace testsupport
