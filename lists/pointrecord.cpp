#include "lists/pointrecord.h"

#include "engine/numbers.h"

#include <algorithm>

namespace lists {

bool isPoint(const PointFields& fields)
{
    const bool latitude = engine::isNumeric(fields.latitude);
    const bool longitude = engine::isNumeric(fields.longitude);
    return latitude && longitude;
}

std::optional<PointValues> pointValues(const PointFields& fields)
{
    const auto latitude = engine::toNumber(fields.latitude);
    const auto longitude = engine::toNumber(fields.longitude);
    if (!latitude || !longitude)
        return std::nullopt;
    return PointValues{*latitude, *longitude};
}

namespace {

bool isDecimal(QStringView text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) {
        return (c >= u'0' && c <= u'9') || c == u'.' || c == u'-' || c == u'+' || c == u'e' ||
               c == u'E' || c == u' ' || c == u'\t';
    });
}

} // namespace

std::optional<PointValues> documentPointValues(const PointFields& fields)
{
    if (!isDecimal(fields.latitude) || !isDecimal(fields.longitude))
        return std::nullopt;
    return pointValues(fields);
}

} // namespace lists
