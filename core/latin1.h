#pragma once
// UTF-16 text written one byte per character, as Latin-1 keeps it: the list
// store and the result sentence hold nearly every text that way.

#include <QStringView>

namespace core {

// Writes text.size() bytes at `out`; false when a character does not fit in
// Latin-1 (its byte is then meaningless, and the caller keeps UTF-16).
bool narrowToLatin1(QStringView text, char* out);

} // namespace core
