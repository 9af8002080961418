#include "engine/numbers.h"

#include "platform/failure.h"

#include <QLocale>
#include <cfenv>
#include <cmath>

namespace engine {

std::optional<double> toNumber(const QString& text)
{
    QLocale locale;
    locale.setNumberOptions(QLocale::RejectGroupSeparator);
    const QChar separator = locale.decimalPoint().front();
    bool ok = false;
    double value = 0;
    if (separator == QLatin1Char('.') || !text.contains(QLatin1Char('.')))
        value = locale.toDouble(text, &ok);
    else
        value = locale.toDouble(QString(text).replace(QLatin1Char('.'), separator), &ok);
    // QLocale takes "nan" and "inf", and gives infinity for values out of range.
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

double numberOf(const QString& text)
{
    if (const auto value = toNumber(text))
        return *value;
    throw Failure::typeMismatch();
}

bool isNumeric(const QString& text) { return toNumber(text).has_value(); }

double roundHalfEven(double value, int places)
{
    const double scale = std::pow(10.0, places);
    const double scaled = value * scale;
    if (!std::isfinite(scaled))
        throw Failure::overflow();
    // The default rounding mode rounds halves to the even neighbour.
    return std::nearbyint(scaled) / scale;
}

QString numberText(double value, int places)
{
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    QString text = locale.toString(roundHalfEven(value, places), 'f', places);
    const QString separator = locale.decimalPoint();
    if (places > 0) {
        qsizetype end = text.size();
        while (end > 0 && text[end - 1] == QLatin1Char('0'))
            --end;
        if (text.mid(end - separator.size(), separator.size()) == separator)
            end -= separator.size();
        text.truncate(end);
    }
    if (text == QLatin1String("-0"))
        text = QStringLiteral("0");
    return text;
}

} // namespace engine
