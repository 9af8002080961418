#include "lists/listreader.h"

#include "lists/formats/fitreader.h"
#include "lists/formats/geojsonreader.h"
#include "lists/formats/nmeareader.h"
#include "lists/listformat.h"
#include "lists/listrecords.h"
#include "lists/formats/xmlpointreader.h"

#include <QStringDecoder>

#include <optional>

namespace lists {
namespace {

// Text with a UTF-16 byte-order mark is turned into UTF-8 as it arrives, the
// mark dropped; any other text passes as it is.
class Utf16Text {
public:
    explicit Utf16Text(QByteArrayView head)
    {
        if (startsWithUtf16Mark(head))
            decoder_.emplace(head.startsWith("\xFF\xFE") ? QStringDecoder::Utf16LE
                                                         : QStringDecoder::Utf16BE);
    }
    template <typename Use> void pass(QByteArrayView bytes, Use use)
    {
        if (!decoder_)
            return use(bytes);
        const QString text = decoder_->decode(bytes);
        use(text.toUtf8());
    }

private:
    std::optional<QStringDecoder> decoder_;
};

class PlainFormat final : public ListReader::Format {
public:
    PlainFormat(QByteArrayView head, const PointSink& point, const PlainListOptions& options)
        : text_(head)
        , list_(point, options)
        , records_([this](QStringView line) { list_.line(line, records_.cut()); })
    {
    }
    void feed(QByteArrayView bytes) override
    {
        text_.pass(bytes, [this](QByteArrayView utf8) { records_.feed(utf8); });
    }
    void finish() override { records_.finish(); }

private:
    Utf16Text text_;
    PlainList list_;
    ListRecords records_;
};

// Markup goes to the XML parser as it is (it honours the document's own
// encoding). A file that opens with "<" is markup: a document whose first
// element names none of the formats is none to read, and no plain list.
class XmlFormat final : public ListReader::Format {
public:
    XmlFormat(const PointSink& point, const PlainListOptions& options)
        : reader_(point, options)
    {
    }
    void feed(QByteArrayView bytes) override { settle(reader_.feed(bytes)); }
    void finish() override { settle(reader_.finish()); }

private:
    static void settle(XmlPointReader::Document document)
    {
        if (document == XmlPointReader::Document::Foreign)
            throw notAListDocument();
    }

    XmlPointReader reader_;
};

// JSON is read whole, as GeoJSON: a file that opens with "{" is no plain list.
class JsonFormat final : public ListReader::Format {
public:
    JsonFormat(QByteArrayView head, const PointSink& point, const PlainListOptions& options)
        : text_(head)
        , point_(point)
        , options_(options)
    {
    }
    void feed(QByteArrayView bytes) override
    {
        text_.pass(bytes, [this](QByteArrayView utf8) { json_.append(utf8); });
    }
    void finish() override { readGeoJson(std::move(json_), point_, options_); }

private:
    Utf16Text text_;
    QByteArray json_;
    const PointSink& point_;
    const PlainListOptions& options_;
};

// FIT and NMEA: the bytes go to the reader as they are (NMEA text in UTF-16
// as UTF-8).
template <typename Reader> class BytesFormat final : public ListReader::Format {
public:
    BytesFormat(QByteArrayView head, const PointSink& point, const PlainListOptions& options)
        : text_(head)
        , reader_(point, options)
    {
    }
    void feed(QByteArrayView bytes) override
    {
        text_.pass(bytes, [this](QByteArrayView utf8) { reader_.feed(utf8); });
    }
    void finish() override { reader_.finish(); }

private:
    Utf16Text text_;
    Reader reader_;
};

} // namespace

ListReader::ListReader(const PointSink& point, const PlainListOptions& options)
    : point_(point)
    , options_(options)
{
}

ListReader::~ListReader() = default;

void ListReader::feed(QByteArrayView bytes)
{
    if (format_)
        return format_->feed(bytes);
    head_.append(bytes);
    // Trying again only once the head has doubled keeps small blocks linear.
    if (head_.size() >= 2 * tried_)
        start(false);
}

void ListReader::finish()
{
    if (!format_)
        start(true);
    if (format_)
        format_->finish();
}

void ListReader::start(bool complete)
{
    tried_ = head_.size();
    ListFormat format = recogniseListFormat(head_, complete);
    if (format == ListFormat::Undecided && head_.size() >= kHeadLimit)
        format = ListFormat::Plain;
    switch (format) {
    case ListFormat::Undecided:
        return;
    case ListFormat::Plain:
        format_ = std::make_unique<PlainFormat>(head_, point_, options_);
        break;
    case ListFormat::Xml:
        format_ = std::make_unique<XmlFormat>(point_, options_);
        break;
    case ListFormat::Json:
        format_ = std::make_unique<JsonFormat>(head_, point_, options_);
        break;
    case ListFormat::Fit:
        format_ = std::make_unique<BytesFormat<FitReader>>(head_, point_, options_);
        break;
    case ListFormat::Nmea:
        format_ = std::make_unique<BytesFormat<NmeaReader>>(head_, point_, options_);
        break;
    }
    const QByteArray head = std::move(head_);
    head_ = QByteArray();
    format_->feed(head);
}

} // namespace lists
