#pragma once
// List files as the tests make and read them without a window: text written
// as UTF-16, and the one list reader fed in blocks of a size, as a file or a
// pipe delivers them.

#include "core/failure.h"
#include "lists/listreader.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <algorithm>

namespace listbytes {

// The text as UTF-16 after its byte-order mark.
inline QByteArray utf16(const QString& text, bool littleEndian)
{
    QByteArray bytes = littleEndian ? QByteArray("\xFF\xFE") : QByteArray("\xFE\xFF");
    for (const QChar c : text) {
        const char low = char(c.unicode() & 0xFF), high = char(c.unicode() >> 8);
        bytes.append(littleEndian ? low : high).append(littleEndian ? high : low);
    }
    return bytes;
}

// What the reader handed on: points as "latitude|longitude", the skipped
// lines, and the failure's description (empty when it read to the end).
struct Read {
    QStringList rows;
    QList<qint64> skipped;
    QString failure;
};

// Feeds the bytes in blocks of a size, then `times` blocks of `more`, as many
// as the reader takes before it fails. With `track`, segment starts are rows
// "segment" and a point's time a row "@" and its ISO text, before the point.
inline Read read(const QByteArray& bytes, qsizetype block, const QByteArray& more = {},
                 int times = 0, bool track = false)
{
    Read result;
    const lists::PointSink point = [&](QStringView lat, QStringView lon) {
        result.rows << lat.toString() + '|' + lon.toString();
    };
    lists::PlainListOptions options;
    options.skipped = [&](qint64 line) { result.skipped << line; };
    if (track) {
        options.segment = [&] { result.rows << QStringLiteral("segment"); };
        options.time = [&](const lists::PointTime& time) {
            char text[48];
            const std::string_view iso = lists::isoText(time, text);
            result.rows << '@' + QString::fromLatin1(iso.data(), qsizetype(iso.size()));
        };
    }
    try {
        lists::ListReader reader(point, options);
        for (qsizetype at = 0; at < bytes.size(); at += block)
            reader.feed(QByteArrayView(bytes).sliced(at, std::min(block, bytes.size() - at)));
        for (int i = 0; i < times; ++i)
            reader.feed(more);
        reader.finish();
    } catch (const core::Failure& failure) {
        result.failure = failure.description;
    }
    return result;
}

} // namespace listbytes
