#pragma once
// The few rules of plain text that every reader of text shares: the UTF-8
// byte-order mark, and what counts as white space.

#include <QByteArrayView>
#include <QChar>

namespace core {

// The UTF-8 byte-order mark, which may lead UTF-8 text.
inline constexpr QByteArrayView kUtf8ByteOrderMark("\xEF\xBB\xBF", 3);

inline bool startsWithUtf8Mark(QByteArrayView bytes) { return bytes.startsWith(kUtf8ByteOrderMark); }

// Space and tab: what parts the fields of a line and may surround a number.
constexpr bool isBlank(char16_t c) { return c == u' ' || c == u'\t'; }
constexpr bool isBlank(QChar c) { return isBlank(c.unicode()); }

// Space, tab, CR and LF: the white space between the tokens of XML and JSON.
constexpr bool isWhiteSpace(char16_t c) { return isBlank(c) || c == u'\r' || c == u'\n'; }
constexpr bool isWhiteSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// The text without the white space around it.
inline QByteArrayView trimmedWhiteSpace(QByteArrayView text)
{
    while (!text.isEmpty() && isWhiteSpace(text.front()))
        text = text.sliced(1);
    while (!text.isEmpty() && isWhiteSpace(text.back()))
        text.chop(1);
    return text;
}

} // namespace core
