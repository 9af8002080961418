#include "lists/formats/nmeareader.h"

#include "core/plaintext.h"
#include "lists/formats/degreestext.h"
#include "lists/pointrecord.h"

#include <QVarLengthArray>

#include <algorithm>
#include <optional>
#include <type_traits>

namespace lists {
namespace {

constexpr qsizetype kAddress = 5; // talker (2) and sentence type (3)
constexpr qsizetype kTail = 3;    // "*hh"

bool isDigit(QChar c) { return c >= u'0' && c <= u'9'; }
bool isAlphanumeric(char16_t c)
{
    return (c >= u'0' && c <= u'9') || ((c | 0x20) >= u'a' && (c | 0x20) <= u'z');
}

int hexDigit(char16_t c)
{
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    const char16_t lower = c | 0x20;
    return lower >= u'a' && lower <= u'f' ? lower - u'a' + 10 : -1;
}

template <typename Text> char16_t unit(Text text, qsizetype i)
{
    if constexpr (std::is_same_v<Text, QByteArrayView>)
        return uchar(text[i]);
    else
        return text[i].unicode();
}

bool startsSentence(char16_t c) { return c == u'$' || c == u'!'; }

// Whether the text ends in "*hh" and hh, in either letter case, is the
// exclusive or of the units between the start and the "*" (bytes, or
// characters read one byte each).
template <typename Text> bool tailMatches(Text text)
{
    const qsizetype star = text.size() - kTail;
    if (star < 1 || unit(text, star) != u'*')
        return false;
    const int high = hexDigit(unit(text, star + 1)), low = hexDigit(unit(text, star + 2));
    char16_t sum = 0;
    for (qsizetype i = 1; i < star; ++i)
        sum ^= unit(text, i);
    return high >= 0 && low >= 0 && sum == char16_t(high << 4 | low);
}

// "$" or "!", an address of letters and digits, a comma or the "*": the
// start of a sentence, proprietary ones ("$PMTK010") included.
template <typename Text> bool hasAddress(Text text)
{
    qsizetype i = 1;
    while (i < text.size() && isAlphanumeric(unit(text, i)))
        ++i;
    return i > 2 && i < text.size() && (unit(text, i) == u',' || unit(text, i) == u'*');
}

bool isCheckedSentence(QByteArrayView line)
{
    return line.size() > kTail && startsSentence(uchar(line[0])) && hasAddress(line) &&
           tailMatches(line);
}

enum class Tells { Nothing, Nmea, Plain };

// What one line of the head tells; the file's first line may be the end of
// a sentence whose start the capture missed.
Tells tells(QByteArrayView line, bool first)
{
    const QByteArrayView text = core::trimmedWhiteSpace(line);
    if (text.isEmpty())
        return Tells::Nothing;
    if (isCheckedSentence(text))
        return Tells::Nmea;
    if (startsSentence(uchar(text[0])) || text[0] == '#' || (first && text.contains('*')))
        return Tells::Nothing;
    // As a plain list reads it: the line as it is (the fields are views of it).
    const QString wide = QString::fromUtf8(line);
    const auto fields = pointFields(wide);
    return fields && isPoint(*fields) ? Tells::Plain : Tells::Nothing;
}

// The fix time hhmmss[.sss] as a key that is equal for equal times: the
// whole seconds without leading zeros, the fraction without trailing zeros.
// Empty for no time, or a text that is none.
void setTimeKey(QString& key, QStringView time)
{
    key.truncate(0);
    const qsizetype point = time.indexOf(u'.');
    QStringView whole = point < 0 ? time : time.first(point);
    QStringView fraction = point < 0 ? QStringView() : time.sliced(point + 1);
    const auto digits = [](QStringView text) { return std::all_of(text.begin(), text.end(), isDigit); };
    if (whole.isEmpty() || !digits(whole) || !digits(fraction))
        return;
    while (whole.size() > 1 && whole.front() == u'0')
        whole = whole.sliced(1);
    while (!fraction.isEmpty() && fraction.back() == u'0')
        fraction.chop(1);
    key += whole;
    key += u'.';
    key += fraction;
}

// The sentence type of an address: "GGA" of "GPGGA"; nothing for a
// proprietary or another one.
QStringView addressType(QStringView address)
{
    return address.size() == kAddress ? address.sliced(2) : QStringView();
}

// Whether the sentence (after its "$") is of a type that holds a point.
bool holdsPoint(QStringView body)
{
    const auto end = std::find_if(body.begin(), body.end(), [](QChar c) { return c == u',' || c == u'*'; });
    const QStringView type = addressType(body.first(end - body.begin()));
    for (const QStringView point : {u"GGA", u"RMC", u"GLL", u"GNS", u"WPL"})
        if (type == point)
            return true;
    return false;
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
    if (head.size() >= kNmeaSearchBytes) {
        head = head.first(kNmeaSearchBytes);
        complete = true;
    }
    for (qsizetype at = 0, end = 0; at < head.size(); at = end + 1) {
        end = at;
        while (end < head.size() && head[end] != '\n' && head[end] != '\r')
            ++end;
        if (end == head.size() && !complete)
            break; // the line goes on
        const Tells told = tells(head.sliced(at, end - at), at == 0);
        if (told != Tells::Nothing)
            return told == Tells::Nmea ? ListFormat::Nmea : ListFormat::Plain;
    }
    return complete ? ListFormat::Plain : ListFormat::Undecided;
}

NmeaReader::NmeaReader(const PointSink& point, const PlainListOptions& options)
    : point_(point)
    , options_(options)
    , records_([this](QStringView text) { line(text); })
{
}

void NmeaReader::line(QStringView text)
{
    const bool first = ++number_ == 1;
    text = text.trimmed();
    if (text.isEmpty() || text.front() == u'#')
        return;
    bool sound = false;
    if (!startsSentence(text.front().unicode())) {
        // The end of a sentence whose start the capture missed.
        sound = first && text.contains(u'*');
    } else if (!text.contains(u'*')) {
        sound = sentence(text.sliced(1));
    } else if (checksumMatches(text)) {
        sound = sentence(text.sliced(1, text.size() - 1 - kTail));
    } else {
        // A damaged sentence loses a point only if its type holds one.
        sound = !holdsPoint(text.sliced(1));
    }
    if (!sound && options_.skipped)
        options_.skipped(number_);
}

// Over the line's bytes: a line that was UTF-8 is encoded again.
bool NmeaReader::checksumMatches(QStringView text) const
{
    if (records_.lineInSingleBytes())
        return tailMatches(text);
    const QByteArray bytes = text.toUtf8();
    return tailMatches(QByteArrayView(bytes));
}

// Whether the sentence is sound: one that holds a point gives it when its
// fix is valid.
bool NmeaReader::sentence(QStringView body)
{
    QVarLengthArray<QStringView, 20> fields;
    for (const QStringView field : body.tokenize(u','))
        fields.append(field);
    if (fields.isEmpty())
        return false;
    const auto at = [&](qsizetype i) { return i < fields.size() ? fields[i] : QStringView(); };
    const QStringView type = addressType(fields[0]);
    if (type == u"GGA") {
        // time, latitude, N/S, longitude, E/W, quality, ...
        if (fields.size() < 7)
            return false;
        if (fields[6].isEmpty() || fields[6] == u"0")
            return true;
        return fix(fields[1], fields[2], fields[3], fields[4], fields[5]);
    }
    if (type == u"RMC") {
        // time, status, latitude, N/S, longitude, E/W, speed, course, date,
        // variation, E/W, mode
        if (fields.size() < 7)
            return false;
        if (fields[2] != u"A" || at(12) == u"N")
            return true;
        const QStringView date = fields.size() > 9 ? fields[9] : QStringView();
        return fix(fields[1], fields[3], fields[4], fields[5], fields[6], date);
    }
    if (type == u"GLL") {
        // latitude, N/S, longitude, E/W[, time, status[, mode]]
        if (fields.size() < 5)
            return false;
        if ((fields.size() > 6 && fields[6] != u"A") || at(7) == u"N")
            return true;
        return fix(at(5), fields[1], fields[2], fields[3], fields[4]);
    }
    if (type == u"GNS") {
        // time, latitude, N/S, longitude, E/W, a mode per system, ... [13: status]
        if (fields.size() < 7)
            return false;
        const QStringView modes = fields[6];
        if (std::all_of(modes.begin(), modes.end(), [](QChar c) { return c == u'N'; }) ||
            at(13) == u"V")
            return true;
        return fix(fields[1], fields[2], fields[3], fields[4], fields[5]);
    }
    if (type == u"WPL") {
        // latitude, N/S, longitude, E/W, name
        if (fields.size() < 5)
            return false;
        return fix({}, fields[1], fields[2], fields[3], fields[4]);
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
    // Another sentence of a fix already given (or held: its date counts).
    setTimeKey(timeKey_, time);
    if (!timeKey_.isEmpty() && timeKey_ == lastTimeKey_) {
        if (held_ && !date.isEmpty())
            setText(heldDate_, date);
        return true;
    }
    handOn();
    std::swap(lastTimeKey_, timeKey_);
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
