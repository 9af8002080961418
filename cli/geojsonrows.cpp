#include "cli/geojsonrows.h"

#include "core/latin1.h"
#include "engine/numbers.h"
#include "lists/formats/geojsonreader.h"

#include <charconv>

namespace cli {
namespace {

constexpr size_t kBlockBytes = 1 << 16;

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

} // namespace

GeoJsonRows::GeoJsonRows(const engine::DistanceUnit& unit, ResultsFile& file, bool times)
    : unit_(unit)
    , file_(file)
    , times_(times)
{
    lines_.reserve(kBlockBytes + 4096);
}

void GeoJsonRows::header() { lines_ += "{\"type\":\"FeatureCollection\",\"features\":["; }

void GeoJsonRows::row(const engine::PointPair& pair, double distance, const PairTimes& times)
{
    const qint64 rounded = engine::roundedUnits(distance, unit_.places);
    total_ += rounded;
    lines_ += first_ ? "\n" : ",\n";
    first_ = false;
    lines_ += R"({"type":"Feature","geometry":{"type":"LineString","coordinates":[)";
    position(pair.lat1, pair.latitude1, pair.lon1, pair.longitude1);
    lines_ += ',';
    position(pair.lat2, pair.latitude2, pair.lon2, pair.longitude2);
    char buffer[400];
    lines_ += R"(]},"properties":{"distance":)";
    lines_ += engine::unitsText(rounded, unit_.places, buffer);
    lines_ += R"(,"cumulative":)";
    lines_ += engine::unitsText(total_, unit_.places, buffer);
    lines_ += R"(,"unit":")";
    lines_ += unit_.symbol;
    lines_ += '"';
    if (times_)
        timeProperties(distance, times);
    lines_ += "}}";
    if (lines_.size() >= kBlockBytes)
        flush();
}

void GeoJsonRows::timeProperties(double distance, const PairTimes& times)
{
    const auto time = [this](const char* name, const lists::PointTime* value) {
        lines_ += name;
        if (!value) {
            lines_ += "null";
            return;
        }
        lines_ += '"';
        lines_ += timeTexts_.text(*value);
        lines_ += '"';
    };
    time(R"(,"time1":)", times.first);
    time(R"(,"time2":)", times.second);
    char seconds[400], speed[400];
    const Duration between = times.both() ? times.duration() : Duration();
    lines_ += R"(,"seconds":)";
    lines_ += times.both() ? secondsText(between, seconds) : "null";
    lines_ += R"(,"speed":)";
    const auto perHour = times.both() ? speedText(distance, between, unit_, speed) : std::nullopt;
    lines_ += perHour.value_or("null");
}

// [longitude,latitude]
void GeoJsonRows::position(QStringView latitude, double latitudeValue, QStringView longitude,
                           double longitudeValue)
{
    lines_ += '[';
    number(longitude, longitudeValue);
    lines_ += ',';
    number(latitude, latitudeValue);
    lines_ += ']';
}

void GeoJsonRows::number(QStringView text, double value)
{
    scratch_.resize(size_t(text.size()));
    if (core::narrowToAscii(text, scratch_.data(), false)) {
        const std::string_view written = trimmed(scratch_);
        if (lists::isJsonNumber(written)) {
            lines_ += written;
            return;
        }
    }
    char digits[32];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    lines_.append(digits, size_t(end - digits));
}

void GeoJsonRows::finish()
{
    lines_ += first_ ? "]}\n" : "\n]}\n";
    flush();
}

void GeoJsonRows::flush()
{
    file_.write(QByteArrayView(lines_.data(), qsizetype(lines_.size())));
    lines_.clear();
}

} // namespace cli
