#include "lists/formats/plainlist.h"

#include "core/argumentbytes.h"
#include "core/failure.h"
#include "core/plaintext.h"

#include <cmath>
#include <utility>

namespace lists {
namespace {

constexpr QChar kQuote = QLatin1Char('"');

bool isBlankLine(QStringView text) { return text.trimmed().isEmpty(); }

QChar separatorChar(FieldSeparator separator)
{
    switch (separator) {
    case FieldSeparator::Semicolon:
        return QLatin1Char(';');
    case FieldSeparator::Tab:
        return QLatin1Char('\t');
    default:
        return QLatin1Char(',');
    }
}

// A column given by its 1-based number; nothing for a name.
std::optional<qsizetype> columnNumber(const QString& column)
{
    bool ok = false;
    const qsizetype number = column.toLongLong(&ok);
    return ok && number >= 1 ? std::optional<qsizetype>(number - 1) : std::nullopt;
}

// The name comes from the command line: shown on one line, whatever it holds.
core::Failure noSuchColumn(const QString& name)
{
    return {5, QStringLiteral("No column \"%1\" in the first line")
                   .arg(core::shownName(core::argumentBytes(name)))};
}

} // namespace

PlainList::PlainList(const PointSink& point, const PlainListOptions& options)
    : point_(point)
    , options_(options)
{
    const QString latitude = options.latitudeColumn.isEmpty() ? QStringLiteral("1")
                                                               : options.latitudeColumn;
    const QString longitude = options.longitudeColumn.isEmpty() ? QStringLiteral("2")
                                                                : options.longitudeColumn;
    const auto latitudeNumber = columnNumber(latitude), longitudeNumber = columnNumber(longitude);
    headerPending_ = !latitudeNumber || !longitudeNumber;
    latitudeIndex_ = latitudeNumber.value_or(-1);
    longitudeIndex_ = longitudeNumber.value_or(-1);
}

void notePoint(const PlainListOptions& options, const PointValues& values, qint64 line)
{
    if (options.values)
        options.values(values);
    if (options.outOfRange && (std::fabs(values.latitude) > 90 || std::fabs(values.longitude) > 180))
        options.outOfRange(line);
}

void PlainList::line(QStringView text, bool cut)
{
    ++number_;
    const auto fields = options_.spreadsheet() ? spreadsheetFields(text) : pointFields(text);
    if (number_ == 1 && options_.spreadsheet() && readFirstLine())
        return;
    const bool whole = fields && !(cut && reachesCut(*fields, text));
    if (const auto values = whole ? pointValues(*fields) : std::nullopt) {
        notePoint(options_, *values, number_);
        point_(fields->latitude, fields->longitude);
    } else if (options_.skipped && !isBlankLine(text)) {
        options_.skipped(number_);
    }
}

bool PlainList::reachesCut(const PointFields& fields, QStringView text) const
{
    const auto reaches = [&](QStringView field) { return field.end() == text.end(); };
    if (!options_.spreadsheet())
        return reaches(fields.latitude) || reaches(fields.longitude);
    // A quoted field may be a copy: its place in the line tells.
    return reaches(fields_[size_t(latitudeIndex_)]) || reaches(fields_[size_t(longitudeIndex_)]);
}

std::optional<PointFields> PlainList::spreadsheetFields(QStringView text)
{
    splitFields(text);
    if (headerPending_)
        return std::nullopt;
    const qsizetype count = static_cast<qsizetype>(fields_.size());
    if (latitudeIndex_ >= count || longitudeIndex_ >= count)
        return std::nullopt;
    return PointFields{field(latitudeIndex_, latitudeText_), field(longitudeIndex_, longitudeText_)};
}

// Fields end at the separator, except inside double quotes; with spaces as the
// separator, a run of spaces and tabs parts two fields and leading or trailing
// ones part nothing.
void PlainList::splitFields(QStringView text)
{
    fields_.clear();
    const bool spaces = options_.separator == FieldSeparator::Space;
    const QChar separator = separatorChar(options_.separator.value_or(FieldSeparator::Comma));
    const auto parts = [&](QChar c) { return spaces ? core::isBlank(c) : c == separator; };
    qsizetype i = 0;
    const qsizetype n = text.size();
    if (spaces)
        while (i < n && core::isBlank(text[i]))
            ++i;
    while (i <= n) {
        if (spaces && i == n)
            break;
        const qsizetype start = i;
        bool quoted = false;
        while (i < n && (quoted || !parts(text[i]))) {
            if (text[i] == kQuote)
                quoted = !quoted;
            ++i;
        }
        fields_.push_back(text.sliced(start, i - start));
        if (spaces)
            while (i < n && core::isBlank(text[i]))
                ++i;
        else
            ++i;
    }
}

// The field's text, without its enclosing quotes; buffer holds it when a
// doubled quote had to become one.
QStringView PlainList::field(qsizetype index, QString& buffer) const
{
    const QStringView raw = fields_[index];
    if (raw.size() < 2 || raw.front() != kQuote || raw.back() != kQuote)
        return raw;
    const QStringView inner = raw.sliced(1, raw.size() - 2);
    if (!inner.contains(kQuote))
        return inner;
    buffer = inner.toString();
    buffer.replace(QStringLiteral("\"\""), QStringLiteral("\""));
    return buffer;
}

// The first line names the columns: a column given by name is the field of
// that name (spaces around it and letter case aside), and the line is a
// header. A column given by number must be there too: a list whose first
// line is shorter has no such column. True for a header.
bool PlainList::readFirstLine()
{
    const qsizetype count = qsizetype(fields_.size());
    const auto find = [&](const QString& column, qsizetype& index) {
        if (column.isEmpty())
            return;
        if (columnNumber(column)) {
            if (index >= count)
                throw noSuchColumn(column);
            return;
        }
        QString buffer;
        for (qsizetype i = 0; i < count; ++i)
            if (field(i, buffer).trimmed().compare(column.trimmed(), Qt::CaseInsensitive) == 0) {
                index = i;
                return;
            }
        throw noSuchColumn(column);
    };
    find(options_.latitudeColumn, latitudeIndex_);
    find(options_.longitudeColumn, longitudeIndex_);
    return std::exchange(headerPending_, false);
}

} // namespace lists
