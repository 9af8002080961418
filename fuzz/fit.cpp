// The FIT reader on arbitrary bytes: fed in blocks of 1 to 16 bytes it hands
// on the same points and skipped records, and fails or not, as fed at once;
// every point is two degree texts within 180 with at most 7 decimals and no
// trailing zero; a point or a skip needs a data message of 9 bytes at least.

#include "blockreader.h"
#include "degreetext.h"
#include "lists/formats/fitreader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::Input input(data, size);
    const fuzz::Read read = fuzz::compareBlocks<lists::FitReader>(
        input, [](QStringView latitude, QStringView longitude) {
            fuzz::checkDegrees(latitude, 180);
            fuzz::checkDegrees(longitude, 180);
        });
    const QString detail = QString::fromLatin1(input.rest().toByteArray().toHex());
    fuzz::check(9 * (read.points.size() + read.skipped.size()) <= input.rest().size(),
                "more points than messages", detail);
    fuzz::checkAscending(read.skipped, detail);
    return 0;
}
