#include "cli/resultrows.h"

#include "engine/modzipdistance.h"
#include "engine/numbers.h"

#include <QStringBuilder>

namespace app {
namespace {

bool needsQuotes(QStringView text)
{
    for (const QChar c : text)
        if (c == QLatin1Char(',') || c == QLatin1Char('"') || c == QLatin1Char('\r') ||
            c == QLatin1Char('\n'))
            return true;
    return false;
}

void appendCsv(QString& line, QStringView text)
{
    if (!needsQuotes(text)) {
        line += text;
        return;
    }
    line += QLatin1Char('"');
    for (const QChar c : text) {
        if (c == QLatin1Char('"'))
            line += QLatin1Char('"');
        line += c;
    }
    line += QLatin1Char('"');
}

void appendTsv(QString& line, QStringView text)
{
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '\t':
            line += QLatin1String("\\t");
            break;
        case '\r':
            line += QLatin1String("\\r");
            break;
        case '\n':
            line += QLatin1String("\\n");
            break;
        case '\\':
            line += QLatin1String("\\\\");
            break;
        default:
            line += c;
        }
    }
}

qint64 powerOfTen(int places)
{
    qint64 power = 1;
    while (places-- > 0)
        power *= 10;
    return power;
}

} // namespace

QString scaledText(qint64 scaled, int places)
{
    const qint64 power = powerOfTen(places);
    QString text = QString::number(scaled / power);
    qint64 fraction = scaled % power;
    if (fraction == 0)
        return text;
    while (fraction % 10 == 0) {
        fraction /= 10;
        --places;
    }
    return text % QLatin1Char('.') % QStringLiteral("%1").arg(fraction, places, 10, QLatin1Char('0'));
}

qint64 scaledValue(QStringView rounded, int places)
{
    const qsizetype point = rounded.indexOf(QLatin1Char('.'));
    const QStringView whole = point < 0 ? rounded : rounded.first(point);
    const QStringView decimals = point < 0 ? QStringView() : rounded.sliced(point + 1);
    const qint64 power = powerOfTen(places);
    return whole.toLongLong() * power +
           (decimals.isEmpty() ? 0
                               : decimals.toLongLong() * powerOfTen(places - int(decimals.size())));
}

TableRows::TableRows(ResultFormat format, const DistanceUnit& unit, ResultsFile& file)
    : tabs_(format == ResultFormat::Tsv)
    , unit_(unit)
    , file_(file)
{
}

void TableRows::appendField(QStringView text)
{
    if (fieldsInLine_++ > 0)
        line_ += tabs_ ? QLatin1Char('\t') : QLatin1Char(',');
    tabs_ ? appendTsv(line_, text) : appendCsv(line_, text);
}

void TableRows::header()
{
    line_.clear();
    fieldsInLine_ = 0;
    const QString symbol = QLatin1String(unit_.symbol);
    for (const QString& name : {QStringLiteral("lat1"), QStringLiteral("lon1"),
                                QStringLiteral("lat2"), QStringLiteral("lon2"),
                                QLatin1String("distance_") + symbol,
                                QLatin1String("cumulative_") + symbol})
        appendField(name);
    line_ += QLatin1Char('\n');
    file_.write(line_);
}

void TableRows::row(const PointPair& pair, double distance)
{
    line_.clear();
    fieldsInLine_ = 0;
    for (const QStringView text : {pair.lat1, pair.lon1, pair.lat2, pair.lon2})
        appendField(text);
    const QString rounded = engine::plainNumberText(distance, unit_.places);
    total_ += scaledValue(rounded, unit_.places);
    appendField(rounded);
    appendField(scaledText(total_, unit_.places));
    line_ += QLatin1Char('\n');
    file_.write(line_);
}

QString windowSentence(const PointPair& pair, const DistanceUnit& unit, double distance)
{
    const bool same = pair.lat1 == pair.lat2 && pair.lon1 == pair.lon2;
    modZipDistance::Sentence sentence;
    sentence.compose(pair.lat1, pair.lon1, pair.lat2, pair.lon2,
                     same ? QStringLiteral("0 ") : engine::numberText(distance, unit.places),
                     QLatin1String(unit.windowWord));
    return sentence.toString();
}

} // namespace app
