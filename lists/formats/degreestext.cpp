#include "lists/formats/degreestext.h"

#include <cmath>
#include <cstdint>

namespace lists {

void setDegreesText(QString& text, double degrees)
{
    // In whole tenths of millionths the rounding is done once, and exactly.
    const long long tenths = std::llround(degrees * 1e7);
    const unsigned long long magnitude = tenths < 0 ? 0ULL - tenths : tenths;
    char digits[32];
    int at = sizeof digits;
    unsigned long long fraction = magnitude % 10000000;
    int decimals = 7;
    while (decimals > 0 && fraction % 10 == 0) {
        fraction /= 10;
        --decimals;
    }
    for (int i = 0; i < decimals; ++i, fraction /= 10)
        digits[--at] = char('0' + fraction % 10);
    if (decimals > 0)
        digits[--at] = '.';
    unsigned long long whole = magnitude / 10000000;
    do {
        digits[--at] = char('0' + whole % 10);
        whole /= 10;
    } while (whole > 0);
    if (tenths < 0)
        digits[--at] = '-';
    text.resize(qsizetype(sizeof digits) - at);
    for (qsizetype i = 0; i < text.size(); ++i)
        text[i] = QLatin1Char(digits[at + i]);
}

} // namespace lists
