#pragma once
// Coordinates that a format stores as numbers rather than text (FIT's
// semicircles, NMEA's degrees and minutes) become the text of a point here.

#include <QString>

namespace lists {

// Degrees with 7 decimals, trailing zeros and a trailing "." dropped
// ("47.6443", "-122.3436", "0"): a tenth of a millionth of a degree, finer
// than a semicircle, so that the text read back gives the same semicircle.
// Replaces the content of text, whose capacity is reused.
void setDegreesText(QString& text, double degrees);

} // namespace lists
