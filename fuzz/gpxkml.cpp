// The GPX, KML and TCX reader on arbitrary bytes: fed in blocks of 1 to 16
// bytes it hands on the same points, and fails or not, as fed at once (a
// broken document may stop a few points sooner or later), wherever the
// blocks split it (a "]]>" in text too); every point it hands on passes the
// numeric test of documents. One input in two asks for the times as well:
// segment starts and times count as points of their own then, so that they
// too must come alike.

#include "core/failure.h"
#include "lists/pointrecord.h"
#include "lists/formats/xmlpointreader.h"
#include "fuzzinput.h"

#include <QStringList>

#include <algorithm>

namespace {

struct Read {
    QStringList points;
    bool failed = false;
};

Read read(QByteArrayView bytes, qsizetype block, bool times)
{
    Read result;
    const lists::PointSink point = [&](QStringView latitude, QStringView longitude) {
        if (!lists::documentPointValues({latitude, longitude}))
            fuzz::fail("a point fails the numeric test",
                       latitude.toString() + u'|' + longitude.toString());
        result.points << latitude.toString() + u'|' + longitude.toString();
    };
    lists::PlainListOptions options;
    if (times) {
        options.segment = [&] { result.points << QStringLiteral("segment"); };
        options.time = [&](const lists::PointTime& time) {
            char text[48];
            const std::string_view iso = lists::isoText(time, text);
            result.points << QString::fromLatin1(iso.data(), qsizetype(iso.size()));
        };
    }
    try {
        lists::XmlPointReader reader(point, options);
        using Document = lists::XmlPointReader::Document;
        Document document = Document::Undecided;
        for (qsizetype at = 0; at < bytes.size() && document != Document::Foreign; at += block)
            document = reader.feed(bytes.sliced(at, std::min(block, bytes.size() - at)));
        if (document != Document::Foreign)
            reader.finish();
    } catch (const core::Failure&) {
        result.failed = true;
    }
    return result;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::Input input(data, size);
    const uint8_t choice = input.byte();
    const qsizetype block = 1 + choice % 16;
    const bool times = choice & 0x10;
    const QByteArrayView bytes = input.rest();
    const Read atOnce = read(bytes, std::max<qsizetype>(bytes.size(), 1), times);
    const Read inBlocks = read(bytes, block, times);
    const QString detail = QString::fromLatin1(bytes.toByteArray().toHex());
    if (inBlocks.failed && atOnce.failed) {
        // Where a broken document stops depends on how its text was cut: the
        // parser may hand on more or less of a text before the fault, so the
        // points before it may be more or fewer, but never others.
        const auto& [fewer, more] = std::minmax(inBlocks.points, atOnce.points,
                                                [](const QStringList& a, const QStringList& b) {
                                                    return a.size() < b.size();
                                                });
        fuzz::check(more.mid(0, fewer.size()) == fewer, "blocks give other points than one feed",
                    detail);
        return 0;
    }
    fuzz::check(inBlocks.points == atOnce.points, "blocks give other points than one feed", detail);
    fuzz::check(inBlocks.failed == atOnce.failed, "blocks fail where one feed does not", detail);
    return 0;
}
