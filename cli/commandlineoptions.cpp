#include "cli/commandlineoptions.h"

#include "core/argumentbytes.h"

#include <QCommandLineParser>
#include <QMap>
#include <cstdio>

namespace cli {
namespace {

constexpr int kWrongCommandLine = 2;

int wrongCommandLine(const QString& text)
{
    std::fprintf(stderr, "meridane: %s\nTry 'meridane --help' for more information.\n",
                 text.toUtf8().constData());
    return kWrongCommandLine;
}

// A value as a message shows it: on one line, whatever its bytes.
QString shown(const QString& value) { return core::shownName(core::argumentBytes(value)); }

// A value that is not one of the choices: the message, for the caller to return.
template <typename T>
std::variant<T, QString> choice(const QString& option, const QString& value,
                                const QMap<QString, T>& choices, const char* listed)
{
    const auto found = choices.constFind(value.toLower());
    if (found != choices.constEnd())
        return *found;
    return QStringLiteral("unknown %1 \"%2\": use %3").arg(option, shown(value), QLatin1String(listed));
}

const QMap<QString, ResultFormat> kFormats{{"text", ResultFormat::Text},
                                           {"csv", ResultFormat::Csv},
                                           {"tsv", ResultFormat::Tsv},
                                           {"geojson", ResultFormat::GeoJson}};
const QMap<QString, engine::DistanceModel> kModels{{"sphere", engine::DistanceModel::Sphere},
                                                   {"wgs84", engine::DistanceModel::Wgs84}};
const QMap<QString, lists::FieldSeparator> kSeparators{{",", lists::FieldSeparator::Comma},
                                                       {";", lists::FieldSeparator::Semicolon},
                                                       {"tab", lists::FieldSeparator::Tab},
                                                       {"space", lists::FieldSeparator::Space}};

struct Parser {
    QCommandLineParser parser;
    QCommandLineOption unit{{"u", "unit"},
                            "miles, feet, kilometers or meters, or mi, ft, km, m; nmi (nautical "
                            "miles) for csv and tsv only (default: miles).",
                            "unit", "miles"};
    QCommandLineOption output{{"o", "output"},
                              "The results file, replaced once complete; - for standard output "
                              "(default).",
                              "file", "-"};
    QCommandLineOption format{{"f", "format"},
                              "text (default): the window's column-aligned results file; csv or "
                              "tsv: lat1,lon1,lat2,lon2,distance,cumulative rows for scripts; "
                              "geojson: each pair a LineString feature, for maps.",
                              "format", "text"};
    QCommandLineOption model{"model",
                             "sphere (default): the window's great-circle formula; wgs84: the "
                             "geodesic on the WGS84 ellipsoid.",
                             "model", "sphere"};
    QCommandLineOption separator{"separator",
                                 "The list files' field separator: , (default) ; tab or space "
                                 "(runs of spaces and tabs).",
                                 "sep"};
    QCommandLineOption columns{"columns",
                               "The latitude and longitude fields: 1-based numbers or names in "
                               "the first line, which is then a header (default: 1,2).",
                               "lat,lon"};
    QCommandLineOption strict{"strict",
                              "Skipped lines and points out of range, always noted on standard error, are failures (exit 1)."};
    QCommandLineOption segments{"segments",
                                "Pairs points only within one segment of a track (a GPX trkseg or "
                                "rte, a KML LineString or gx:Track, a TCX Track, a FIT session, a "
                                "GeoJSON line or ring; a plain list or NMEA log is one); files "
                                "never pair with each other."};
    QCommandLineOption time{"time",
                            "csv, tsv and geojson: each pair also gets its points' times (ISO "
                            "8601 UTC), the seconds between and the speed per hour; empty where "
                            "a point has none."};
    QCommandLineOption summary{"summary",
                               "Instead of the rows, one record: points, pairs, segments, "
                               "distance, first and last time, elapsed time, time in motion "
                               "(pairs faster than 1 km/h) and the average moving speed; as "
                               "text, csv or tsv."};

    Parser()
    {
        parser.setApplicationDescription(QStringLiteral(
            "Measures the great-circle distance between every point of the list files and the "
            "next, and writes the results as a column-aligned text file, as csv or tsv rows, or "
            "as GeoJSON.\n"
            "A list file - is the standard input. Started without arguments, Meridane opens its "
            "window; with --open FILE... it opens the window with those list files loaded."));
        parser.addHelpOption();
        parser.addVersionOption();
        parser.addOptions(
            {unit, output, format, model, separator, columns, strict, segments, time, summary});
        parser.addPositionalArgument(
            QStringLiteral("files"),
            QStringLiteral("List files, told by their content: plain lists (one point a line, "
                           "latitude,longitude), GPX, KML and KMZ, TCX, GeoJSON, FIT and NMEA "
                           "logs, each also packed with gzip, bzip2 or xz; - is the standard "
                           "input."),
            QStringLiteral("files..."));
    }
};

// --segments, --time and --summary; the message when they cannot go with the format.
QString trackOptions(const QCommandLineParser& parser, const Parser& p, JobOptions& job)
{
    job.segments = parser.isSet(p.segments);
    job.times = parser.isSet(p.time);
    job.summary = parser.isSet(p.summary);
    if (job.summary && job.times)
        return QStringLiteral("--summary holds the times already: leave out --time");
    if (job.summary && job.format == ResultFormat::GeoJson)
        return QStringLiteral("--summary is written as text, csv or tsv, not geojson");
    if (job.times && job.format == ResultFormat::Text)
        return QStringLiteral("--time needs --format csv, tsv or geojson: the text format has no "
                              "room for times");
    return {};
}

// Fills what the values name; the message of the first wrong one, if any.
QString readValues(const QCommandLineParser& parser, const Parser& p, JobOptions& job)
{
    const auto take = [](auto result, auto& into) -> QString {
        if (const QString* wrong = std::get_if<QString>(&result))
            return *wrong;
        into = std::get<0>(result);
        return {};
    };
    QString wrong = take(choice(QStringLiteral("format"), parser.value(p.format), kFormats,
                                "text, csv, tsv or geojson"),
                         job.format);
    if (wrong.isEmpty())
        wrong = take(choice(QStringLiteral("model"), parser.value(p.model), kModels,
                            "sphere or wgs84"),
                     job.model);
    if (wrong.isEmpty() && parser.isSet(p.separator)) {
        lists::FieldSeparator separator{};
        wrong = take(choice(QStringLiteral("separator"), parser.value(p.separator), kSeparators,
                            ", ; tab or space"),
                     separator);
        job.reading.separator = separator;
    }
    if (!wrong.isEmpty())
        return wrong;
    job.unit = engine::unitNamed(parser.value(p.unit));
    if (!job.unit)
        return QStringLiteral("unknown unit \"%1\": use %2")
            .arg(shown(parser.value(p.unit)), engine::unitWords());
    if (job.format == ResultFormat::Text && job.unit->option == 0)
        return QStringLiteral("the text format has no unit \"%1\": use --format csv or tsv")
            .arg(shown(parser.value(p.unit)));
    if (const QString wrong = trackOptions(parser, p, job); !wrong.isEmpty())
        return wrong;
    if (parser.isSet(p.columns)) {
        const QStringList columns = parser.value(p.columns).split(QLatin1Char(','));
        if (columns.size() != 2 || columns[0].isEmpty() || columns[1].isEmpty())
            return QStringLiteral("--columns takes two columns, such as 3,4 or lat,lon");
        job.reading.latitudeColumn = columns[0];
        job.reading.longitudeColumn = columns[1];
    }
    return {};
}

} // namespace

std::variant<JobOptions, int> readJobOptions(int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << core::argumentText(argv[i]);
    Parser p;
    QCommandLineParser& parser = p.parser;
    if (!parser.parse(arguments))
        return wrongCommandLine(shown(parser.errorText()));
    if (parser.isSet(QStringLiteral("help")))
        parser.showHelp(0);
    if (parser.isSet(QStringLiteral("version")))
        parser.showVersion();

    JobOptions job;
    if (const QString wrong = readValues(parser, p, job); !wrong.isEmpty())
        return wrongCommandLine(wrong);
    for (const QString& file : parser.positionalArguments())
        job.files << core::argumentBytes(file);
    if (job.files.isEmpty())
        return wrongCommandLine(QStringLiteral("no list files given"));
    job.strict = parser.isSet(p.strict);
    job.output = core::argumentBytes(parser.value(p.output));
    return job;
}

} // namespace cli
