// The NMEA reader on arbitrary bytes: fed in blocks of 1 to 16 bytes it hands
// on the same points and skipped lines as fed at once; every point is two
// degree texts with at most 7 decimals and no trailing zero, from at most
// two and three degree digits; no more points and skips than lines.

#include "blockreader.h"
#include "degreetext.h"
#include "lists/formats/nmeareader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::Input input(data, size);
    const fuzz::Read read = fuzz::compareBlocks<lists::NmeaReader>(
        input, [](QStringView latitude, QStringView longitude) {
            fuzz::checkDegrees(latitude, 100);
            fuzz::checkDegrees(longitude, 1000);
        });
    const QByteArrayView bytes = input.rest();
    const QString detail = QString::fromLatin1(bytes.toByteArray().toHex());
    const qsizetype lines = 1 + bytes.count('\n') + bytes.count('\r');
    fuzz::check(read.points.size() + read.skipped.size() <= lines, "more points than lines",
                detail);
    fuzz::check(read.skipped.isEmpty() || read.skipped.back() <= lines, "a line beyond the last",
                detail);
    fuzz::checkAscending(read.skipped, detail);
    fuzz::check(!read.failed, "a log that fails", detail);
    return 0;
}
