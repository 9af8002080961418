#pragma once
// Command-line arguments are bytes: a file name need not be UTF-8. To pass
// them through QCommandLineParser and back, a byte that is no part of valid
// UTF-8 travels as the lone surrogate U+DC80 to U+DCFF (which valid UTF-8
// never yields), so the bytes come back exactly.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace core {

QString argumentText(QByteArrayView bytes);
QByteArray argumentBytes(QStringView text);

// The name as one line of a message: control characters, bytes that are no
// valid UTF-8 and the backslash itself as escapes (\n, \t, \e, \x7f, \xff, \\).
QString shownName(QByteArrayView bytes);

} // namespace core
