#include "lists/formats/geojsonreader.h"

#include "lists/listformat.h"
#include "lists/pointrecord.h"

#include <QString>
#include <simdjson.h>

#include <string_view>

namespace app {
namespace {

namespace ondemand = simdjson::ondemand;

// How deep a geometry's coordinates nest down to its positions.
enum class Kind { Collection, Feature, Geometries, Unknown };

struct TypeInfo {
    std::string_view name;
    Kind kind;
    int depth; // for geometries with coordinates
};

constexpr TypeInfo kTypes[] = {
    {"FeatureCollection", Kind::Collection, 0},
    {"Feature", Kind::Feature, 0},
    {"GeometryCollection", Kind::Geometries, 0},
    {"Point", Kind::Unknown, 0},
    {"MultiPoint", Kind::Unknown, 1},
    {"LineString", Kind::Unknown, 1},
    {"MultiLineString", Kind::Unknown, 2},
    {"Polygon", Kind::Unknown, 2},
    {"MultiPolygon", Kind::Unknown, 3},
};

[[noreturn]] void fail(const QString& what) { throw invalidFileFormat("GeoJSON: " + what); }

QString text(std::string_view view)
{
    return QString::fromUtf8(view.data(), qsizetype(view.size()));
}

// A number as JSON writes it: -?(0|[1-9][0-9]*)(.[0-9]+)?([eE][+-]?[0-9]+)?
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

class Walk {
public:
    Walk(const char* begin, const PointSink& point, const PlainListOptions& options)
        : lineFrom_(begin)
        , point_(point)
        , options_(options)
    {
    }

    void object(ondemand::value value)
    {
        ondemand::object members = value.get_object();
        const TypeInfo& type = typeOf(members);
        for (auto field : members) {
            const std::string_view key = field.unescaped_key();
            ondemand::value member = field.value();
            if (type.kind == Kind::Collection && key == "features")
                each(member, "features");
            else if (type.kind == Kind::Feature && key == "geometry")
                geometry(member);
            else if (type.kind == Kind::Geometries && key == "geometries")
                each(member, "geometries");
            else if (type.kind == Kind::Unknown && key == "coordinates")
                coordinates(member, type.depth);
        }
    }

private:
    static const TypeInfo& typeOf(ondemand::object& members)
    {
        std::string_view name;
        if (members.find_field_unordered("type").get_string().get(name) != simdjson::SUCCESS)
            fail(QStringLiteral("an object without a type"));
        if (members.reset().error() != simdjson::SUCCESS)
            fail(QStringLiteral("an object that cannot be read again"));
        for (const TypeInfo& type : kTypes)
            if (type.name == name)
                return type;
        fail(QStringLiteral("unknown type \"%1\"").arg(text(name)));
    }

    void each(ondemand::value value, const char* what)
    {
        if (value.type() != ondemand::json_type::array)
            fail(QStringLiteral("%1 is not a list").arg(what));
        for (auto element : value.get_array())
            object(element.value());
    }

    // A Feature's geometry may be null.
    void geometry(ondemand::value value)
    {
        const bool null = value.is_null();
        if (!null)
            object(value);
    }

    void coordinates(ondemand::value value, int depth)
    {
        if (value.type() != ondemand::json_type::array)
            fail(QStringLiteral("coordinates that are not a list"));
        if (depth == 0)
            return position(value.get_array());
        for (auto element : value.get_array())
            coordinates(element.value(), depth - 1);
    }

    void position(ondemand::array numbers)
    {
        std::string_view texts[2];
        int count = 0;
        for (auto element : numbers) {
            ondemand::value number = element.value();
            if (number.type() != ondemand::json_type::number)
                fail(QStringLiteral("a position that holds no number"));
            // The token keeps the white space that follows it.
            std::string_view token = number.raw_json_token();
            while (!token.empty() && std::string_view(" \t\r\n").find(token.back()) != token.npos)
                token.remove_suffix(1);
            if (!isJsonNumber(token))
                fail(QStringLiteral("\"%1\" is no number").arg(text(token)));
            if (count < 2)
                texts[count] = token;
            ++count;
        }
        if (count < 2)
            fail(QStringLiteral("a position with fewer than two numbers"));
        candidate(texts[1], texts[0]);
    }

    void candidate(std::string_view latitude, std::string_view longitude)
    {
        // JSON numbers are ASCII.
        const QString lat = QString::fromLatin1(latitude.data(), qsizetype(latitude.size()));
        const QString lon = QString::fromLatin1(longitude.data(), qsizetype(longitude.size()));
        if (const auto values = pointValues({lat, lon})) {
            // Lines are counted only for the notes.
            NotePoint(options_, *values, options_.outOfRange ? lineOf(longitude.data()) : 0);
            point_(lat, lon);
        } else if (options_.skipped)
            options_.skipped(lineOf(longitude.data()));
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
};

} // namespace

void ReadGeoJson(QByteArray json, const PointSink& point, const PlainListOptions& options)
{
    // A byte-order mark may lead UTF-8 text; JSON itself has none.
    if (json.startsWith("\xEF\xBB\xBF"))
        json.remove(0, 3);
    const size_t length = size_t(json.size());
    json.append(QByteArray(simdjson::SIMDJSON_PADDING, '\0'));
    ondemand::parser parser;
    try {
        ondemand::document document =
            parser.iterate(simdjson::padded_string_view(json.constData(), length, json.size()));
        if (document.type() != ondemand::json_type::object)
            fail(QStringLiteral("not an object"));
        Walk(json.constData(), point, options).object(document.get_value());
        // Past the object's end only the padding may follow.
        if (document.current_location().error() != simdjson::OUT_OF_BOUNDS)
            fail(QStringLiteral("more text after the object"));
    } catch (const simdjson::simdjson_error& e) {
        fail(QString::fromUtf8(e.what()));
    }
}

} // namespace app
