#include "app/pointrecord.h"

#include "engine/numbers.h"

namespace app {
namespace {

// The first comma, or the text's size when it holds none. Qt's own search
// of one character, without indexOf's detour through a general one.
qsizetype commaIn(QStringView text) { return QtPrivate::qustrchr(text, u',') - text.utf16(); }

} // namespace

std::optional<PointFields> pointFields(QStringView record)
{
    const qsizetype comma = commaIn(record);
    if (comma == record.size())
        return std::nullopt;
    const QStringView rest = record.sliced(comma + 1);
    return PointFields{record.first(comma), rest.first(commaIn(rest))};
}

bool isPoint(const PointFields& fields)
{
    const bool latitude = engine::isNumeric(fields.latitude);
    const bool longitude = engine::isNumeric(fields.longitude);
    return latitude && longitude;
}

} // namespace app
