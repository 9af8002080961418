#include "app/pointrecord.h"

#include "engine/numbers.h"

#include <QLocale>
#include <QString>

namespace app {
namespace {

// Short enough that the value is finite in every locale.
constexpr qsizetype kMaxPlainDigits = 15;

bool isDigit(QChar c) { return c.unicode() >= u'0' && c.unicode() <= u'9'; }

// Skips a run of 1 to kMaxPlainDigits ASCII digits; false when there is none
// or it is longer.
bool skipDigits(QStringView text, qsizetype& at)
{
    const qsizetype start = at;
    while (at < text.size() && isDigit(text[at]))
        ++at;
    const qsizetype digits = at - start;
    return digits >= 1 && digits <= kMaxPlainDigits;
}

// "-"? digits ("." digits)?, with nothing around it.
bool isPlainDecimal(QStringView text)
{
    qsizetype at = 0;
    if (at < text.size() && text[at] == u'-')
        ++at;
    if (!skipDigits(text, at))
        return false;
    if (at == text.size())
        return true;
    if (text[at] != u'.')
        return false;
    ++at;
    return skipDigits(text, at) && at == text.size();
}

} // namespace

std::optional<PointFields> pointFields(QStringView record)
{
    const qsizetype comma = record.indexOf(u',');
    if (comma < 0)
        return std::nullopt;
    const QStringView rest = record.sliced(comma + 1);
    const qsizetype next = rest.indexOf(u',');
    return PointFields{record.first(comma), next < 0 ? rest : rest.first(next)};
}

PointTest::PointTest()
{
    const QLocale locale;
    plainDecimalsPass_ = locale.zeroDigit() == QLatin1String("0") &&
                         locale.negativeSign() == QLatin1String("-");
}

bool PointTest::isNumeric(QStringView text) const
{
    if (plainDecimalsPass_ && isPlainDecimal(text))
        return true;
    // The view's characters are not copied: the engine only reads them.
    return engine::isNumeric(QString::fromRawData(text.data(), text.size()));
}

bool PointTest::isPoint(const PointFields& fields) const
{
    const bool latitude = isNumeric(fields.latitude);
    const bool longitude = isNumeric(fields.longitude);
    return latitude && longitude;
}

} // namespace app
