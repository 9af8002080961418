// The streaming GPX, KML and TCX reader against libxml2's own tree of the same
// bytes, parsed whole with the same safe settings and walked for the same
// points: both give the same points, or both refuse the document, wherever
// the stream's blocks split it (a "]]>" in text too). A document whose first
// element names none of the formats is not compared (it is refused as none).

#include "core/failure.h"
#include "lists/formats/xmlpointreader.h"
#include "lists/pointrecord.h"
#include "fuzzinput.h"

#include <QStringList>

#include <libxml/parser.h>
#include <libxml/tree.h>

namespace {

// The stream's longest text of a number, tuple or gx:coord.
constexpr qsizetype kFieldLimit = 1024;

struct Read {
    QStringList points;
    bool refused = false;
    bool bounded = false; // refused at one of the stream's own bounds
    bool foreign = false;
};

Read stream(QByteArrayView bytes, qsizetype block)
{
    Read result;
    const lists::PointSink point = [&](QStringView latitude, QStringView longitude) {
        result.points << latitude.toString() + u'|' + longitude.toString();
    };
    const lists::PlainListOptions options;
    using Document = lists::XmlPointReader::Document;
    try {
        lists::XmlPointReader reader(point, options);
        Document document = Document::Undecided;
        for (qsizetype at = 0; at < bytes.size() && document != Document::Foreign; at += block)
            document = reader.feed(bytes.sliced(at, std::min(block, bytes.size() - at)));
        if (document != Document::Foreign)
            document = reader.finish();
        result.foreign = document == Document::Foreign;
    } catch (const core::Failure& failure) {
        result.refused = true;
        result.bounded = failure.description.contains(QLatin1String("more than"));
    }
    return result;
}

// The tree's side: the same rules, written over nodes.
class Walk {
public:
    explicit Walk(QStringList& points)
        : points_(points)
    {
    }

    // False for a first element of none of the formats.
    bool document(xmlNodePtr root)
    {
        const QByteArray name = text(root->name), uri = root->ns ? text(root->ns->href) : "";
        const bool gpx = name == "gpx" && (uri.isEmpty() || uri == "http://www.topografix.com/GPX/1/0" ||
                                           uri == "http://www.topografix.com/GPX/1/1");
        // Any element of a KML namespace may be a KML document's root.
        const bool kmlUri = uri == "http://www.opengis.net/kml/2.2" ||
                            uri == "http://www.opengis.net/kml/2.3" ||
                            uri == "http://earth.google.com/kml/2.0" ||
                            uri == "http://earth.google.com/kml/2.1" ||
                            uri == "http://earth.google.com/kml/2.2";
        const bool kml = kmlUri || (name == "kml" && uri.isEmpty());
        const bool tcx = name == "TrainingCenterDatabase" &&
                         (uri.isEmpty() ||
                          uri == "http://www.garmin.com/xmlschemas/TrainingCenterDatabase/v2");
        if (!gpx && !kml && !tcx)
            return false;
        uri_ = uri;
        kind_ = gpx ? 'g' : kml ? 'k' : 't';
        children(root);
        return true;
    }

private:
    static QByteArray text(const xmlChar* s) { return QByteArray(reinterpret_cast<const char*>(s)); }
    QByteArray uriOf(xmlNodePtr node) const { return node->ns ? text(node->ns->href) : QByteArray(); }
    static QByteArray content(xmlNodePtr node)
    {
        xmlChar* c = xmlNodeGetContent(node);
        QByteArray result = c ? text(c) : QByteArray();
        xmlFree(c);
        return result;
    }

    static bool hasElements(xmlNodePtr node)
    {
        for (xmlNodePtr child = node->children; child; child = child->next)
            if (child->type == XML_ELEMENT_NODE)
                return true;
        return false;
    }

    void children(xmlNodePtr node)
    {
        for (xmlNodePtr child = node->children; child; child = child->next)
            if (child->type == XML_ELEMENT_NODE)
                element(child);
    }

    void element(xmlNodePtr node)
    {
        const QByteArray name = text(node->name);
        const bool own = uriOf(node) == uri_;
        if (kind_ == 'g' && own && (name == "wpt" || name == "trkpt" || name == "rtept")) {
            xmlChar* lat = xmlGetNoNsProp(node, BAD_CAST "lat");
            xmlChar* lon = xmlGetNoNsProp(node, BAD_CAST "lon");
            if (lat && lon && text(lat).size() <= kFieldLimit && text(lon).size() <= kFieldLimit)
                candidate(QString::fromUtf8(text(lat).trimmed()),
                          QString::fromUtf8(text(lon).trimmed()));
            xmlFree(lat);
            xmlFree(lon);
        } else if (kind_ == 'k' && own && name == "coordinates") {
            for (const QByteArray& tuple : content(node).simplified().split(' ')) {
                const QString t = QString::fromUtf8(tuple);
                const auto fields = lists::pointFields(t);
                if (fields && !tuple.isEmpty() && tuple.size() <= kFieldLimit)
                    candidate(fields->longitude.toString(), fields->latitude.toString());
            }
            return;
        } else if (kind_ == 'k' && uriOf(node) == "http://www.google.com/kml/ext/2.2" &&
                   name == "coord") {
            const QByteArray coord = content(node);
            const QList<QByteArray> fields = coord.simplified().split(' ');
            if ((fields.size() == 2 || fields.size() == 3) && coord.size() <= kFieldLimit)
                candidate(QString::fromUtf8(fields[1]), QString::fromUtf8(fields[0]));
            return;
        } else if (kind_ == 't' && own && name == "Position") {
            return position(node);
        }
        children(node);
    }

    void position(xmlNodePtr node)
    {
        std::optional<QByteArray> latitude, longitude;
        for (xmlNodePtr child = node->children; child; child = child->next) {
            if (child->type != XML_ELEMENT_NODE || uriOf(child) != uri_)
                continue;
            // Degrees that hold an element are no number.
            const auto number = [&] { return hasElements(child) ? std::nullopt : std::optional(content(child)); };
            if (text(child->name) == "LatitudeDegrees")
                latitude = number();
            else if (text(child->name) == "LongitudeDegrees")
                longitude = number();
        }
        if (latitude && longitude && latitude->size() <= kFieldLimit &&
            longitude->size() <= kFieldLimit)
            candidate(QString::fromUtf8(latitude->trimmed()), QString::fromUtf8(longitude->trimmed()));
    }

    void candidate(const QString& latitude, const QString& longitude)
    {
        if (lists::documentPointValues({latitude, longitude}))
            points_ << latitude + u'|' + longitude;
    }

    QStringList& points_;
    QByteArray uri_;
    char kind_ = 0;
};

int errors = 0;
void countError(void*, xmlErrorPtr error)
{
    if (error->level >= XML_ERR_ERROR)
        ++errors;
}

xmlParserInputPtr noExternal(const char*, const char*, xmlParserCtxtPtr) { return nullptr; }

Read tree(QByteArrayView bytes)
{
    Read result;
    errors = 0;
    xmlSetExternalEntityLoader(noExternal);
    xmlSetStructuredErrorFunc(nullptr, countError);
    const xmlDocPtr doc = xmlReadMemory(bytes.data(), int(bytes.size()), nullptr, nullptr,
                                        XML_PARSE_NOENT | XML_PARSE_NONET | XML_PARSE_NOCDATA);
    const xmlNodePtr root = doc ? xmlDocGetRootElement(doc) : nullptr;
    if (!root || errors > 0)
        result.refused = true;
    else
        result.foreign = !Walk(result.points).document(root);
    xmlFreeDoc(doc);
    return result;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::Input input(data, size);
    const qsizetype block = 1 + input.byte() % 64;
    const QByteArrayView bytes = input.rest();
    const Read ours = stream(bytes, block);
    if (ours.foreign)
        return 0;
    const Read theirs = tree(bytes);
    // libxml2's parse of a buffer ends at a NUL byte, which XML never holds.
    if (ours.refused && !theirs.refused && bytes.contains('\0'))
        return 0;
    // The stream bounds depth, attributes and entity expansion where the
    // tree need not: a document past them is refused by the stream alone.
    if (ours.bounded && !theirs.refused)
        return 0;
    const QString detail = QString::fromLatin1(bytes.toByteArray().toHex());
    fuzz::check(ours.refused == theirs.refused, ours.refused ? "only the stream refuses" : "only the tree refuses",
                detail);
    if (!ours.refused)
        fuzz::check(ours.points == theirs.points, "other points than the tree's",
                    ours.points.join(' ') + " / " + theirs.points.join(' ') + " in " + detail);
    return 0;
}
