#include "cli/resultrows.h"

#include "core/latin1.h"
#include "engine/numbers.h"

#include <cstring>
#include <iterator>

namespace cli {
namespace {

// Lines go to the file in blocks of about this size.
constexpr size_t kBlockBytes = 1 << 16;

bool needsQuotes(QStringView text)
{
    for (const QChar c : text)
        if (c == u',' || c == u'"' || c == u'\r' || c == u'\n')
            return true;
    return false;
}

// The characters from `at` up to the next ASCII one, as UTF-8 (a pair of
// surrogates stays together); returns where the ASCII resumes.
qsizetype appendWide(std::string& out, QStringView text, qsizetype at)
{
    qsizetype end = at;
    while (end < text.size() && text[end].unicode() >= 0x80)
        ++end;
    const QByteArray utf8 = text.sliced(at, end - at).toUtf8();
    out.append(utf8.constData(), size_t(utf8.size()));
    return end;
}

// UTF-8 of the text, each ASCII character through `ascii`.
template <typename Ascii> void appendText(std::string& out, QStringView text, Ascii&& ascii)
{
    for (qsizetype i = 0; i < text.size();) {
        const char16_t c = text[i].unicode();
        if (c < 0x80) {
            ascii(out, char(c));
            ++i;
        } else {
            i = appendWide(out, text, i);
        }
    }
}

void appendCsv(std::string& out, QStringView text)
{
    const bool quoted = needsQuotes(text);
    if (quoted)
        out += '"';
    appendText(out, text, [](std::string& line, char c) {
        if (c == '"')
            line += '"';
        line += c;
    });
    if (quoted)
        out += '"';
}

void appendTsv(std::string& out, QStringView text)
{
    appendText(out, text, [](std::string& line, char c) {
        switch (c) {
        case '\t':
            line += "\\t";
            break;
        case '\r':
            line += "\\r";
            break;
        case '\n':
            line += "\\n";
            break;
        case '\\':
            line += "\\\\";
            break;
        default:
            line += c;
        }
    });
}

// The common text, plain ASCII (with `plain`, nothing to quote or escape
// either), narrowed eight characters at a time; false, and nothing appended,
// for any other.
bool appendNarrow(std::string& out, QStringView text, bool plain)
{
    const size_t at = out.size();
    out.resize(at + size_t(text.size()));
    if (core::narrowToAscii(text, out.data() + at, plain))
        return true;
    out.resize(at);
    return false;
}

} // namespace

TableRows::TableRows(ResultFormat format, const engine::DistanceUnit& unit, ResultsFile& file,
                     bool times)
    : tabs_(format == ResultFormat::Tsv)
    , times_(times)
    , unit_(unit)
    , file_(file)
{
    line_.reserve(kBlockBytes + 4096);
}

void TableRows::field(QStringView text)
{
    if (line_.size() > lineStart_)
        line_ += tabs_ ? '\t' : ',';
    if (!appendNarrow(line_, text, true))
        tabs_ ? appendTsv(line_, text) : appendCsv(line_, text);
}

// Names and digits: nothing in them to quote or escape.
void TableRows::field(std::string_view ascii)
{
    if (line_.size() > lineStart_)
        line_ += tabs_ ? '\t' : ',';
    line_ += ascii;
}

void TableRows::endLine()
{
    line_ += '\n';
    if (line_.size() >= kBlockBytes)
        finish();
    lineStart_ = line_.size();
}

void TableRows::finish()
{
    file_.write(QByteArrayView(line_.data(), qsizetype(line_.size())));
    line_.clear(); // keeps its room
    lineStart_ = 0;
}

void TableRows::header()
{
    const std::string_view symbol = unit_.symbol;
    for (const std::string_view name : {"lat1", "lon1", "lat2", "lon2"})
        field(name);
    field(std::string("distance_").append(symbol));
    field(std::string("cumulative_").append(symbol));
    if (times_) {
        for (const std::string_view name : {"time1", "time2", "seconds"})
            field(name);
        field(speedName(unit_));
    }
    endLine();
}

void TableRows::row(const engine::PointPair& pair, double distance, const PairTimes& times)
{
    const qint64 rounded = engine::roundedUnits(distance, unit_.places);
    total_ += rounded;
    char buffer[400];
    const std::string_view distanceText = engine::unitsText(rounded, unit_.places, buffer);
    if (!plainRow(pair, distanceText)) {
        for (const QStringView text : {pair.lat1, pair.lon1, pair.lat2, pair.lon2})
            field(text);
        field(distanceText);
    }
    field(engine::unitsText(total_, unit_.places, buffer));
    if (times_)
        timeFields(distance, times);
    endLine();
}

void TableRows::timeFields(double distance, const PairTimes& times)
{
    char seconds[400], speed[400];
    field(times.first ? timeTexts_.text(*times.first) : std::string_view());
    field(times.second ? timeTexts_.text(*times.second) : std::string_view());
    if (!times.both()) {
        field(std::string_view());
        field(std::string_view());
        return;
    }
    const Duration between = times.duration();
    field(secondsText(between, seconds));
    field(speedText(distance, between, unit_, speed).value_or(std::string_view()));
}

// The common row, four plain ASCII texts, written in one go into room made
// once; false, and nothing written, for any other.
bool TableRows::plainRow(const engine::PointPair& pair, std::string_view distance)
{
    const QStringView texts[] = {pair.lat1, pair.lon1, pair.lat2, pair.lon2};
    size_t size = distance.size() + std::size(texts);
    for (const QStringView text : texts)
        size += size_t(text.size());
    line_.resize(lineStart_ + size);
    char* at = line_.data() + lineStart_;
    const char separator = tabs_ ? '\t' : ',';
    bool plain = true;
    for (const QStringView text : texts) {
        plain &= core::narrowToAscii(text, at, true);
        at += text.size();
        *at++ = separator;
    }
    std::memcpy(at, distance.data(), distance.size());
    if (!plain)
        line_.resize(lineStart_);
    return plain;
}

void WindowSentence::piece(QStringView text)
{
    width_ += text.size();
    if (!appendNarrow(bytes_, text, false))
        appendText(bytes_, text, [](std::string& out, char c) { out += c; });
}

void WindowSentence::piece(std::string_view ascii)
{
    width_ += qsizetype(ascii.size());
    bytes_ += ascii;
}

std::string_view WindowSentence::compose(const engine::PointPair& pair, double distance)
{
    bytes_.clear();
    width_ = 0;
    piece("Distance between (");
    piece(pair.lat1);
    piece(",");
    piece(pair.lon1);
    piece(") and (");
    piece(pair.lat2);
    piece(",");
    piece(pair.lon2);
    piece(") is ");
    char buffer[400];
    if (engine::sameTexts(pair.lat1, pair.lon1, pair.lat2, pair.lon2))
        piece("0 ");
    else if (const auto plain = engine::plainNumberText(distance, unit_.places, buffer))
        piece(*plain);
    else
        piece(QStringView(engine::numberText(distance, unit_.places)));
    piece(unit_.windowWord);
    return bytes_;
}

PaddedLines::PaddedLines(ResultsFile& file, qsizetype widest)
    : file_(file)
    , widest_(widest)
{
    lines_.reserve(kBlockBytes + 4096);
}

void PaddedLines::add(std::string_view text, qsizetype width)
{
    lines_ += text;
    if (widest_ > width)
        lines_.append(size_t(widest_ - width), ' ');
    lines_ += "\t\r\n";
    if (lines_.size() >= kBlockBytes)
        finish();
}

void PaddedLines::finish()
{
    file_.write(QByteArrayView(lines_.data(), qsizetype(lines_.size())));
    lines_.clear();
}

} // namespace cli
