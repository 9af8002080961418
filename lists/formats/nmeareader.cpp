#include "lists/formats/nmeareader.h"

#include "core/plaintext.h"
#include "lists/formats/degreestext.h"

#include <QVarLengthArray>

#include <optional>

namespace lists {
namespace {

constexpr qsizetype kAddress = 5; // talker (2) and sentence type (3)

bool isCapital(char c) { return c >= 'A' && c <= 'Z'; }
bool isDigit(QChar c) { return c >= u'0' && c <= u'9'; }

int hexDigit(QChar c)
{
    if (isDigit(c))
        return c.unicode() - u'0';
    const char16_t lower = c.unicode() | 0x20;
    return lower >= u'a' && lower <= u'f' ? lower - u'a' + 10 : -1;
}

// The checked part of a sentence, between "$" and "*hh"; nothing when the
// checksum is given and fails.
std::optional<QStringView> checkedBody(QStringView text)
{
    const qsizetype star = text.lastIndexOf(u'*');
    if (star < 0)
        return text.sliced(1);
    if (star + 3 != text.size())
        return std::nullopt;
    const int high = hexDigit(text[star + 1]), low = hexDigit(text[star + 2]);
    if (high < 0 || low < 0)
        return std::nullopt;
    const QStringView body = text.sliced(1, star - 1);
    char16_t sum = 0;
    for (const QChar c : body)
        sum ^= c.unicode();
    return sum == char16_t(high << 4 | low) ? std::optional(body) : std::nullopt;
}

// ddmm.mmmm (latitude) or dddmm.mmmm (longitude) in degrees; nothing when the
// text is not one or its minutes reach 60.
std::optional<double> degreesMinutes(QStringView text, qsizetype maxDegreeDigits)
{
    const qsizetype point = text.indexOf(u'.') < 0 ? text.size() : text.indexOf(u'.');
    const qsizetype degreeDigits = point - 2;
    if (degreeDigits < 1 || degreeDigits > maxDegreeDigits || point + 1 == text.size())
        return std::nullopt;
    double degrees = 0, minutes = 0, scale = 1;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (i == point)
            continue;
        if (!isDigit(text[i]))
            return std::nullopt;
        const int digit = text[i].unicode() - u'0';
        if (i < degreeDigits)
            degrees = degrees * 10 + digit;
        else if (i < point)
            minutes = minutes * 10 + digit;
        else
            minutes += digit * (scale /= 10);
    }
    if (minutes >= 60)
        return std::nullopt;
    return degrees + minutes / 60;
}

// Keeps the buffer's room.
void setText(QString& into, QStringView text)
{
    into.truncate(0);
    into += text;
}

// A hemisphere letter: +1 for the positive one, -1 for the other, 0 for none.
int sign(QStringView letter, char16_t positive, char16_t negative)
{
    if (letter.size() != 1)
        return 0;
    return letter[0] == positive ? 1 : letter[0] == negative ? -1 : 0;
}

} // namespace

ListFormat recogniseNmea(QByteArrayView head, bool complete)
{
    const QByteArrayView mark = core::kUtf8ByteOrderMark;
    if (!complete && head.size() < mark.size() && mark.startsWith(head))
        return ListFormat::Undecided;
    if (head.startsWith(mark))
        head = head.sliced(mark.size());
    qsizetype at = 0;
    while (at < head.size() && core::isWhiteSpace(head[at]))
        ++at;
    const QByteArrayView start = head.sliced(at);
    if (start.isEmpty())
        return complete ? ListFormat::Plain : ListFormat::Undecided;
    if (start[0] != '$')
        return ListFormat::Plain;
    for (qsizetype i = 1; i <= kAddress + 1; ++i) {
        if (i == start.size())
            return complete ? ListFormat::Plain : ListFormat::Undecided;
        const bool fits = i <= kAddress ? isCapital(start[i]) : start[i] == ',';
        if (!fits)
            return ListFormat::Plain;
    }
    return ListFormat::Nmea;
}

NmeaReader::NmeaReader(const PointSink& point, const PlainListOptions& options)
    : point_(point)
    , options_(options)
    , records_([this](QStringView text) { line(text); })
{
}

void NmeaReader::line(QStringView text)
{
    ++number_;
    text = text.trimmed();
    if (text.isEmpty())
        return;
    const auto body = text.front() == u'$' ? checkedBody(text) : std::nullopt;
    if ((!body || !sentence(*body)) && options_.skipped)
        options_.skipped(number_);
}

// Whether the sentence is sound: a GGA or RMC with a fix gives its point.
bool NmeaReader::sentence(QStringView body)
{
    QVarLengthArray<QStringView, 20> fields;
    for (const QStringView field : body.tokenize(u','))
        fields.append(field);
    if (fields.isEmpty())
        return false;
    const QStringView type = fields[0].size() == kAddress ? fields[0].sliced(2) : QStringView();
    if (type == u"GGA") {
        // time, latitude, N/S, longitude, E/W, quality, ...
        if (fields.size() < 7)
            return false;
        const QStringView quality = fields[6];
        if (quality.isEmpty() || quality == u"0")
            return true;
        return fix(fields[1], fields[2], fields[3], fields[4], fields[5]);
    }
    if (type == u"RMC") {
        // time, status, latitude, N/S, longitude, E/W, ...
        if (fields.size() < 7)
            return false;
        if (fields[2] != u"A")
            return true;
        // ..., speed, course, date
        const QStringView date = fields.size() > 9 ? fields[9] : QStringView();
        return fix(fields[1], fields[3], fields[4], fields[5], fields[6], date);
    }
    return true;
}

bool NmeaReader::fix(QStringView time, QStringView latitude, QStringView north,
                     QStringView longitude, QStringView east, QStringView date)
{
    const auto lat = degreesMinutes(latitude, 2), lon = degreesMinutes(longitude, 3);
    const int latSign = sign(north, u'N', u'S'), lonSign = sign(east, u'E', u'W');
    if (!lat || !lon || latSign == 0 || lonSign == 0)
        return false;
    // The other sentence of a fix already given (or held: its date counts).
    if (!time.isEmpty() && time == lastTime_) {
        if (held_ && !date.isEmpty())
            setText(heldDate_, date);
        return true;
    }
    handOn();
    setText(lastTime_, time);
    setDegreesText(latitude_, latSign * *lat);
    setDegreesText(longitude_, lonSign * *lon);
    heldLine_ = number_;
    held_ = true;
    // With times the point waits for the other sentences of its fix, which may give the date.
    if (options_.time)
        setText(heldDate_, date);
    else
        handOn();
    return true;
}

void NmeaReader::finish()
{
    records_.finish();
    handOn();
}

void NmeaReader::handOn()
{
    if (!std::exchange(held_, false))
        return;
    // The values of the texts as written, which the command line computes with.
    if (const auto values = pointValues({latitude_, longitude_}))
        notePoint(options_, *values, heldLine_);
    if (options_.time)
        noteTime(options_, clock_.time(lastTime_, heldDate_));
    point_(latitude_, longitude_);
}

} // namespace lists
