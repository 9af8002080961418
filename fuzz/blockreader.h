#pragma once
// A push reader of a list format (feed, finish) fed the same bytes at once
// and in small blocks: both must hand on the same points, the same skipped
// lines, and fail alike.

#include "core/failure.h"
#include "fuzzinput.h"
#include "lists/formats/plainlist.h"

#include <QList>
#include <QStringList>

#include <functional>

namespace fuzz {

struct Read {
    QStringList points;
    QList<qint64> skipped;
    bool failed = false;
};

using PointCheck = std::function<void(QStringView latitude, QStringView longitude)>;

template <typename Reader>
Read readInBlocks(QByteArrayView bytes, qsizetype block, const PointCheck& check)
{
    Read result;
    const lists::PointSink point = [&](QStringView latitude, QStringView longitude) {
        check(latitude, longitude);
        result.points << latitude.toString() + u'|' + longitude.toString();
    };
    const lists::PlainListOptions options{[&](qint64 line) { result.skipped << line; }};
    try {
        Reader reader(point, options);
        for (qsizetype at = 0; at < bytes.size(); at += block)
            reader.feed(bytes.sliced(at, std::min(block, bytes.size() - at)));
        reader.finish();
    } catch (const core::Failure&) {
        result.failed = true;
    }
    return result;
}

// The leading byte chooses a block of 1 to 16 bytes.
template <typename Reader> Read compareBlocks(Input& input, const PointCheck& pointCheck)
{
    const qsizetype block = 1 + input.byte() % 16;
    const QByteArrayView bytes = input.rest();
    const Read atOnce =
        readInBlocks<Reader>(bytes, std::max<qsizetype>(bytes.size(), 1), pointCheck);
    const Read inBlocks = readInBlocks<Reader>(bytes, block, pointCheck);
    const QString detail = QString::fromLatin1(bytes.toByteArray().toHex());
    check(inBlocks.points == atOnce.points, "blocks give other points than one feed", detail);
    check(inBlocks.skipped == atOnce.skipped, "blocks skip other lines than one feed", detail);
    check(inBlocks.failed == atOnce.failed, "blocks fail where one feed does not", detail);
    return atOnce;
}

} // namespace fuzz
