// The GPX and KML reader on arbitrary bytes: fed in blocks of 1 to 16 bytes
// it hands on the same points, and fails or not, as fed at once; every point
// it hands on passes the numeric test.

#include "lists/pointrecord.h"
#include "lists/formats/xmlpointreader.h"
#include "fuzzinput.h"

#include <QStringList>

namespace {

struct Read {
    QStringList points;
    bool failed = false;
};

Read read(app::ListFormat format, QByteArrayView bytes, qsizetype block)
{
    Read result;
    const app::PointSink point = [&](QStringView latitude, QStringView longitude) {
        if (!app::isPoint({latitude, longitude}))
            fuzz::fail("a point fails the numeric test",
                       latitude.toString() + u'|' + longitude.toString());
        result.points << latitude.toString() + u'|' + longitude.toString();
    };
    const app::PlainListOptions options;
    try {
        app::XmlPointReader reader(format, point, options);
        for (qsizetype at = 0; at < bytes.size(); at += block)
            reader.feed(bytes.sliced(at, std::min(block, bytes.size() - at)));
        reader.finish();
    } catch (const Failure&) {
        result.failed = true;
    }
    return result;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::Input input(data, size);
    const uint8_t choice = input.byte();
    const app::ListFormat format = choice & 1 ? app::ListFormat::Kml : app::ListFormat::Gpx;
    const qsizetype block = 1 + (choice >> 1) % 16;
    const QByteArrayView bytes = input.rest();
    const Read atOnce = read(format, bytes, std::max<qsizetype>(bytes.size(), 1));
    const Read inBlocks = read(format, bytes, block);
    const QString detail = QString::fromLatin1(bytes.toByteArray().toHex());
    fuzz::check(inBlocks.points == atOnce.points, "blocks give other points than one feed", detail);
    fuzz::check(inBlocks.failed == atOnce.failed, "blocks fail where one feed does not", detail);
    return 0;
}
