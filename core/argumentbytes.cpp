#include "core/argumentbytes.h"

namespace core {
namespace {

constexpr char16_t kEscapedByte = 0xDC00;

bool continuation(QByteArrayView bytes, qsizetype at)
{
    return at < bytes.size() && (uchar(bytes[at]) & 0xC0) == 0x80;
}

// The length of the valid UTF-8 sequence at `at`, 0 when it is none (an
// overlong form, a surrogate, beyond U+10FFFF, cut short).
qsizetype sequenceLength(QByteArrayView bytes, qsizetype at)
{
    const uchar lead = uchar(bytes[at]);
    if (lead < 0x80)
        return 1;
    qsizetype length = 0;
    uchar low = 0x80, high = 0xBF; // the second byte's range
    if (lead >= 0xC2 && lead <= 0xDF)
        length = 2;
    else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else
        return 0;
    if (at + 1 >= bytes.size() || uchar(bytes[at + 1]) < low || uchar(bytes[at + 1]) > high)
        return 0;
    for (qsizetype k = 2; k < length; ++k)
        if (!continuation(bytes, at + k))
            return 0;
    return length;
}

bool isControl(char32_t c) { return c < 0x20 || (c >= 0x7F && c <= 0x9F); }

QString escapedByte(uchar byte)
{
    switch (byte) {
    case '\n':
        return QStringLiteral("\\n");
    case '\r':
        return QStringLiteral("\\r");
    case '\t':
        return QStringLiteral("\\t");
    case 0x1B:
        return QStringLiteral("\\e");
    default:
        return QStringLiteral("\\x%1").arg(byte, 2, 16, QLatin1Char('0'));
    }
}

} // namespace

QString argumentText(QByteArrayView bytes)
{
    QString text;
    text.reserve(bytes.size());
    for (qsizetype at = 0; at < bytes.size();) {
        if (const qsizetype length = sequenceLength(bytes, at)) {
            text += QString::fromUtf8(bytes.sliced(at, length));
            at += length;
        } else {
            text += QChar(char16_t(kEscapedByte + uchar(bytes[at++])));
        }
    }
    return text;
}

QByteArray argumentBytes(QStringView text)
{
    QByteArray bytes;
    qsizetype plainFrom = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        const bool paired = i > 0 && text[i - 1].isHighSurrogate();
        if (c >= kEscapedByte + 0x80 && c <= kEscapedByte + 0xFF && !paired) {
            bytes += text.sliced(plainFrom, i - plainFrom).toUtf8();
            bytes += char(c - kEscapedByte);
            plainFrom = i + 1;
        }
    }
    bytes += text.sliced(plainFrom).toUtf8();
    return bytes;
}

QString shownName(QByteArrayView bytes)
{
    QString shown;
    for (qsizetype at = 0; at < bytes.size();) {
        const qsizetype length = sequenceLength(bytes, at);
        const QString character = length ? QString::fromUtf8(bytes.sliced(at, length)) : QString();
        if (length == 0)
            shown += escapedByte(uchar(bytes[at]));
        else if (isControl(character[0].unicode()))
            shown += length == 1 ? escapedByte(uchar(bytes[at]))
                                 : QStringLiteral("\\u%1").arg(character[0].unicode(), 4, 16,
                                                               QLatin1Char('0'));
        else if (character == QLatin1String("\\"))
            shown += QStringLiteral("\\\\");
        else
            shown += character;
        at += length ? length : 1;
    }
    return shown;
}

} // namespace core
