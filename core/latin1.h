#pragma once
// UTF-16 text written one byte per character, as Latin-1 keeps it: the list
// store and the result sentence hold nearly every text that way.

#include <QStringView>

namespace core {

// Writes text.size() bytes at `out`; false when a character does not fit in
// Latin-1 (its byte is then meaningless, and the caller keeps UTF-16).
bool narrowToLatin1(QStringView text, char* out);

// Writes text.size() bytes at `out`; false when a character is beyond ASCII
// or, with `plain`, is a control character, a comma, a double quote or a
// backslash (what csv quotes and tsv escapes): the caller then takes the
// long way, and the bytes written mean nothing.
bool narrowToAscii(QStringView text, char* out, bool plain);

} // namespace core
