#include "lists/formats/geojsonreader.h"

#include "lists/listformat.h"
#include "lists/pointrecord.h"
#include "core/plaintext.h"

#include <QString>
#include <simdjson.h>

#include <optional>
#include <string_view>
#include <utility>
#include <vector>

namespace lists {
namespace {

namespace ondemand = simdjson::ondemand;

// How deep a geometry's coordinates nest down to its positions.
enum class Kind { Collection, Feature, Geometries, Unknown };

struct TypeInfo {
    std::string_view name;
    Kind kind;
    int depth; // for geometries with coordinates
    bool line; // its lists of positions are lines or rings: segments
};

constexpr TypeInfo kTypes[] = {
    {"FeatureCollection", Kind::Collection, 0, false},
    {"Feature", Kind::Feature, 0, false},
    {"GeometryCollection", Kind::Geometries, 0, false},
    {"Point", Kind::Unknown, 0, false},
    {"MultiPoint", Kind::Unknown, 1, false},
    {"LineString", Kind::Unknown, 1, true},
    {"MultiLineString", Kind::Unknown, 2, true},
    {"Polygon", Kind::Unknown, 2, true},
    {"MultiPolygon", Kind::Unknown, 3, true},
};

[[noreturn]] void fail(const QString& what) { throw invalidFileFormat("GeoJSON: " + what); }

QString text(std::string_view view)
{
    return QString::fromUtf8(view.data(), qsizetype(view.size()));
}


// Whether a member's name, as written between its quotes, is `name` once its
// escapes are read ("typ\u0065" is "type"), without a copy: the parser
// unescapes into a buffer that holds each text of the document once, so a
// name must not be unescaped twice. The names looked for are ASCII.
bool nameIs(const char* raw, std::string_view name)
{
    const auto hex = [](char c) {
        return c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10
                                              : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                                     : -1;
    };
    constexpr std::string_view escaped = "\"\\/bfnrt", meant = "\"\\/\b\f\n\r\t";
    for (size_t i = 0;; ++i) {
        if (*raw == '"')
            return i == name.size();
        char c = *raw++;
        if (c == '\\' && *raw == 'u') {
            int code = 0;
            for (const char* end = ++raw + 4; raw != end; ++raw) {
                if (hex(*raw) < 0)
                    return false;
                code = code * 16 + hex(*raw);
            }
            if (code >= 0x80)
                return false;
            c = char(code);
        } else if (c == '\\') {
            const size_t at = escaped.find(*raw++);
            if (at == escaped.npos)
                return false;
            c = meant[at];
        }
        if (i >= name.size() || name[i] != c)
            return false;
    }
}

// A scalar's token without the white space that follows it.
std::string_view tokenOf(ondemand::value& value)
{
    std::string_view token = value.raw_json_token();
    while (!token.empty() && core::isWhiteSpace(token.back()))
        token.remove_suffix(1);
    return token;
}

// Every value is read once, in document order, and each nesting counts: the
// points come as they are met, and the walk stops at the fault it meets
// first (a fault anywhere in the document, also in members that hold no
// points), or where the nesting goes deeper than any list file needs.
class Walk {
public:
    Walk(const char* begin, const PointSink& point, const PlainListOptions& options)
        : lineFrom_(begin)
        , point_(point)
        , options_(options)
    {
    }

    void document(ondemand::value value) { object(value, 1); }

private:
    static void enter(int depth)
    {
        if (depth > kMaxNesting)
            fail(QStringLiteral("nested too deeply (more than %1 levels)").arg(kMaxNesting));
    }

    // One type and at most one list of coordinates: a second one would leave
    // the object's meaning open.
    void object(ondemand::value value, int depth)
    {
        enter(depth);
        ondemand::object members = value.get_object();
        const TypeInfo& type = typeOf(members, depth == 1);
        if (type.kind == Kind::Feature && options_.time)
            readTimes(members, depth);
        bool typeRead = false, coordinatesRead = false;
        for (auto field : members) {
            const std::string_view key = field.unescaped_key();
            ondemand::value member = field.value();
            if (key == "type") {
                if (std::exchange(typeRead, true))
                    fail(QStringLiteral("an object with a second \"type\""));
                // Unescaped by typeOf already: passed over as written.
                (void)ondemand::raw_json_string(member.get_raw_json_string());
                continue;
            }
            if (key == "coordinates" && std::exchange(coordinatesRead, true))
                fail(QStringLiteral("an object with a second \"coordinates\""));
            if (type.kind == Kind::Collection && key == "features")
                each(member, "features", depth + 1);
            else if (type.kind == Kind::Feature && key == "geometry")
                geometry(member, depth + 1);
            else if (type.kind == Kind::Geometries && key == "geometries")
                each(member, "geometries", depth + 1);
            else if (type.kind == Kind::Unknown && key == "coordinates")
                shape(member, type, depth + 1);
            else
                validate(member, depth + 1);
        }
    }

    // The first "type" member, looked up without reading the names before
    // it into the parser's buffer (the walk reads each name once). A
    // document whose own object has no GeoJSON type is none.
    static const TypeInfo& typeOf(ondemand::object& members, bool document)
    {
        const auto refuse = [document](const QString& what) { refuseType(document, what); };
        std::optional<std::string_view> name;
        for (auto field : members) {
            if (!nameIs(field.key().raw(), "type"))
                continue;
            std::string_view typeName;
            if (field.value().get_string().get(typeName) != simdjson::SUCCESS)
                refuse(QStringLiteral("a type that is not a text"));
            name = typeName;
            break;
        }
        if (!name)
            refuse(QStringLiteral("an object without a type"));
        if (members.reset().error() != simdjson::SUCCESS)
            fail(QStringLiteral("an object that cannot be read again"));
        for (const TypeInfo& type : kTypes)
            if (type.name == *name)
                return type;
        refuseType(document, QStringLiteral("unknown type \"%1\"").arg(text(*name)));
    }

    [[noreturn]] static void refuseType(bool document, const QString& what)
    {
        if (document)
            throw notAListDocument();
        fail(what);
    }

    void each(ondemand::value value, const char* what, int depth)
    {
        enter(depth);
        if (value.type() != ondemand::json_type::array)
            fail(QStringLiteral("%1 is not a list").arg(what));
        for (auto element : value.get_array())
            object(element.value(), depth + 1);
    }

    // A Feature's geometry may be null.
    void geometry(ondemand::value value, int depth)
    {
        if (value.type() == ondemand::json_type::null)
            return literal(value);
        object(value, depth);
    }

    // Each line or ring is a segment; the points of Point and MultiPoint
    // geometries that follow each other are one.
    void shape(ondemand::value value, const TypeInfo& type, int depth)
    {
        if (!type.line && !std::exchange(waypoints_, true))
            noteSegment(options_);
        coordinates(value, type.depth, type.line, depth);
    }

    void coordinates(ondemand::value value, int nesting, bool line, int depth)
    {
        enter(depth);
        if (value.type() != ondemand::json_type::array)
            fail(QStringLiteral("coordinates that are not a list"));
        if (nesting == 0)
            return position(value.get_array());
        if (line && nesting == 1) {
            waypoints_ = false;
            noteSegment(options_);
        }
        for (auto element : value.get_array())
            coordinates(element.value(), nesting - 1, line, depth + 1);
    }

    // A Feature's times, its property "times" or "coordTimes": a list of
    // texts (lists of them for a geometry of several lines), the n-th for its
    // geometry's n-th position. Read ahead of the geometry as written, without
    // unescaping (the walk unescapes each text once); a time with an escape
    // in it is none.
    void readTimes(ondemand::object& members, int depth)
    {
        times_.clear();
        timeAt_ = 0;
        for (auto field : members) {
            if (!nameIs(field.key().raw(), "properties"))
                continue;
            ondemand::value properties = field.value();
            if (properties.type() != ondemand::json_type::object)
                break;
            for (auto property : properties.get_object()) {
                const char* name = property.key().raw();
                if (nameIs(name, "times") || nameIs(name, "coordTimes")) {
                    collectTimes(property.value(), depth + 2);
                    break;
                }
            }
            break;
        }
        if (members.reset().error() != simdjson::SUCCESS)
            fail(QStringLiteral("an object that cannot be read again"));
    }

    void collectTimes(ondemand::value value, int depth)
    {
        enter(depth);
        if (value.type() == ondemand::json_type::array) {
            for (auto element : value.get_array())
                collectTimes(element.value(), depth + 1);
            return;
        }
        std::optional<PointTime> time;
        if (value.type() == ondemand::json_type::string) {
            const char* raw = ondemand::raw_json_string(value.get_raw_json_string()).raw();
            const char* end = raw;
            while (*end != '"' && *end != '\\')
                ++end;
            if (*end == '"')
                time = isoTime(QByteArrayView(raw, end - raw));
        }
        times_.push_back(time);
    }

    // A value that holds no points is read through all the same: the whole
    // document must be JSON.
    void validate(ondemand::value value, int depth)
    {
        switch (value.type()) {
        case ondemand::json_type::array:
            enter(depth);
            for (auto element : value.get_array())
                validate(element.value(), depth + 1);
            break;
        case ondemand::json_type::object:
            enter(depth);
            for (auto field : value.get_object()) {
                (void)std::string_view(field.unescaped_key());
                validate(field.value(), depth + 1);
            }
            break;
        case ondemand::json_type::number:
            number(value);
            break;
        case ondemand::json_type::string:
            (void)std::string_view(value.get_string());
            break;
        case ondemand::json_type::boolean:
        case ondemand::json_type::null:
            literal(value);
            break;
        }
    }

    static std::string_view number(ondemand::value& value)
    {
        const std::string_view token = tokenOf(value);
        if (!isJsonNumber(token))
            fail(QStringLiteral("\"%1\" is no number").arg(text(token)));
        return token;
    }

    static void literal(ondemand::value& value)
    {
        const std::string_view token = tokenOf(value);
        if (token != "true" && token != "false" && token != "null")
            fail(QStringLiteral("\"%1\" is no value").arg(text(token)));
    }

    void position(ondemand::array numbers)
    {
        std::string_view texts[2];
        int count = 0;
        for (auto element : numbers) {
            ondemand::value value = element.value();
            if (value.type() != ondemand::json_type::number)
                fail(QStringLiteral("a position that holds no number"));
            const std::string_view token = number(value);
            if (count < 2)
                texts[count] = token;
            ++count;
        }
        if (count < 2)
            fail(QStringLiteral("a position with fewer than two numbers"));
        if (timeAt_ < times_.size())
            time_ = times_[timeAt_];
        ++timeAt_;
        candidate(texts[1], texts[0]);
    }

    void candidate(std::string_view latitude, std::string_view longitude)
    {
        // JSON numbers are ASCII.
        const QString lat = QString::fromLatin1(latitude.data(), qsizetype(latitude.size()));
        const QString lon = QString::fromLatin1(longitude.data(), qsizetype(longitude.size()));
        if (const auto values = pointValues({lat, lon})) {
            // Lines are counted only for the notes.
            notePoint(options_, *values, options_.outOfRange ? lineOf(longitude.data()) : 0);
            noteTime(options_, time_);
            point_(lat, lon);
        } else if (options_.skipped)
            options_.skipped(lineOf(longitude.data()));
        time_.reset();
    }

    // Lines are counted forward only, so counting stays linear.
    qint64 lineOf(const char* at)
    {
        line_ += std::count(lineFrom_, at, '\n');
        lineFrom_ = at;
        return line_;
    }

    const char* lineFrom_;
    qint64 line_ = 1;
    const PointSink& point_;
    const PlainListOptions& options_;
    bool waypoints_ = false; // the segment is a group of points
    std::vector<std::optional<PointTime>> times_; // the Feature's
    size_t timeAt_ = 0;
    std::optional<PointTime> time_; // the next point's
};

} // namespace

bool isJsonNumber(std::string_view token)
{
    size_t i = 0;
    const auto digits = [&] {
        const size_t start = i;
        while (i < token.size() && token[i] >= '0' && token[i] <= '9')
            ++i;
        return i > start;
    };
    if (i < token.size() && token[i] == '-')
        ++i;
    if (i < token.size() && token[i] == '0')
        ++i;
    else if (!digits())
        return false;
    if (i < token.size() && token[i] == '.' && (++i, !digits()))
        return false;
    if (i < token.size() && (token[i] == 'e' || token[i] == 'E')) {
        ++i;
        if (i < token.size() && (token[i] == '+' || token[i] == '-'))
            ++i;
        if (!digits())
            return false;
    }
    return i == token.size();
}

void readGeoJson(QByteArray json, const PointSink& point, const PlainListOptions& options)
{
    // A byte-order mark may lead UTF-8 text; JSON itself has none.
    if (core::startsWithUtf8Mark(json))
        json.remove(0, core::kUtf8ByteOrderMark.size());
    const size_t length = size_t(json.size());
    json.append(QByteArray(simdjson::SIMDJSON_PADDING, '\0'));
    ondemand::parser parser;
    try {
        ondemand::document document =
            parser.iterate(simdjson::padded_string_view(json.constData(), length, json.size()));
        if (document.type() != ondemand::json_type::object)
            fail(QStringLiteral("not an object"));
        Walk(json.constData(), point, options).document(document.get_value());
        // Past the object's end only the padding may follow.
        if (document.current_location().error() != simdjson::OUT_OF_BOUNDS)
            fail(QStringLiteral("more text after the object"));
    } catch (const simdjson::simdjson_error& e) {
        // Memory that runs out is no fault of the file.
        if (e.error() == simdjson::MEMALLOC)
            throw core::Failure::outOfMemory();
        fail(QString::fromUtf8(e.what()));
    }
}

} // namespace lists
