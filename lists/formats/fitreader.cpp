#include "lists/formats/fitreader.h"

#include "lists/formats/degreestext.h"

namespace lists {
namespace {

constexpr qsizetype kShortHeader = 12, kLongHeader = 14;
constexpr qint32 kInvalidPosition = 0x7FFFFFFF;
constexpr double kDegreesPerSemicircle = 180.0 / 2147483648.0;

// The messages that hold points and the numbers of their position and time fields.
struct PositionMessage {
    quint16 global;
    quint8 latitude, longitude, time;
};
constexpr PositionMessage kPositionMessages[] = {{20, 0, 1, 253} /* record */,
                                                 {32, 2, 3, 1} /* course point */};
// Any other message's time, which a compressed time counts on from.
constexpr quint8 kTimestampField = 253;
constexpr quint16 kSessionMessage = 18;
// Times count seconds from 1989-12-31T00:00:00Z.
constexpr qint64 kFitEpoch = 631065600;
constexpr quint32 kInvalidTime = 0xFFFFFFFF;

// The record header's bits.
constexpr uchar kCompressedTime = 0x80, kDefinitionBit = 0x40, kDeveloperBit = 0x20;

// The CRC-16 of the format (polynomial 0x8005, reflected), a byte at a time.
constexpr std::array<quint16, 256> kCrcTable = [] {
    std::array<quint16, 256> table{};
    for (unsigned byte = 0; byte < 256; ++byte) {
        unsigned crc = byte;
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 1) ? (crc >> 1) ^ 0xA001 : crc >> 1;
        table[byte] = quint16(crc);
    }
    return table;
}();

quint16 crcOf(quint16 crc, QByteArrayView bytes)
{
    for (const char byte : bytes)
        crc = quint16((crc >> 8) ^ kCrcTable[(crc ^ uchar(byte)) & 0xFF]);
    return crc;
}

const uchar* at(QByteArrayView bytes, qsizetype offset)
{
    return reinterpret_cast<const uchar*>(bytes.data()) + offset;
}

quint32 little32(const uchar* p) { return p[0] | p[1] << 8 | p[2] << 16 | quint32(p[3]) << 24; }
quint32 big32(const uchar* p) { return p[3] | p[2] << 8 | p[1] << 16 | quint32(p[0]) << 24; }
quint16 little16(const uchar* p) { return quint16(p[0] | p[1] << 8); }

} // namespace

ListFormat recogniseFit(QByteArrayView head, bool complete)
{
    if (head.isEmpty() || (head[0] != kShortHeader && head[0] != kLongHeader))
        return ListFormat::Plain;
    const QByteArrayView signature(".FIT");
    if (head.size() < kShortHeader && !complete)
        return ListFormat::Undecided;
    if (head.size() < kShortHeader) {
        // A whole file shorter than a header that starts like one (its size,
        // a protocol version 1 or 2, ".FIT" as far as it goes) ends early.
        const uchar major = head.size() > 1 ? uchar(head[1]) >> 4 : 0;
        const bool starts = (major == 1 || major == 2) &&
                            (head.size() <= 8 || signature.startsWith(head.sliced(8)));
        return starts ? ListFormat::Fit : ListFormat::Plain;
    }
    return head.sliced(8, 4) == signature ? ListFormat::Fit : ListFormat::Plain;
}

FitReader::FitReader(const PointSink& point, const PlainListOptions& options)
    : point_(point)
    , options_(options)
{
    if (options.recordNumbers)
        options.recordNumbers();
}

void FitReader::fail(const char* what)
{
    throw invalidFileFormat(QStringLiteral("FIT: ") + QLatin1String(what));
}

// The block is read where it lies; only a message cut by its end is kept.
void FitReader::feed(QByteArrayView bytes)
{
    const bool held = !pending_.isEmpty();
    if (held) {
        pending_.append(bytes);
        bytes = pending_;
    }
    qsizetype used = 0;
    for (qsizetype n; (n = step(bytes.sliced(used))) > 0;)
        used += n;
    if (held)
        pending_.remove(0, used);
    else
        pending_ = bytes.sliced(used).toByteArray();
}

void FitReader::finish()
{
    if (!pending_.isEmpty() || stage_ != Stage::Header || !read_)
        fail("the file ends early");
}

// Reads one thing at the start of the bytes: the bytes it took, or 0 when
// it has not arrived whole yet.
qsizetype FitReader::step(QByteArrayView bytes)
{
    if (bytes.isEmpty())
        return 0;
    switch (stage_) {
    case Stage::Header:
        return header(bytes);
    case Stage::Records:
        return record(bytes);
    case Stage::Crc:
        return crc(bytes);
    }
    return 0;
}

qsizetype FitReader::header(QByteArrayView bytes)
{
    const qsizetype size = uchar(bytes[0]);
    if (size != kShortHeader && size != kLongHeader)
        fail("a file header of another size than 12 or 14 bytes");
    if (bytes.size() < size)
        return 0;
    if (bytes.sliced(8, 4) != ".FIT")
        fail("a file header without \".FIT\"");
    // A header CRC of 0 was not computed.
    if (size == kLongHeader && little16(at(bytes, 12)) != 0 &&
        little16(at(bytes, 12)) != crcOf(0, bytes.first(12)))
        fail("the file header's CRC does not match");
    crc_ = crcOf(0, bytes.first(size));
    noteSegment(options_); // a file chained to another is a segment of its own
    dataLeft_ = little32(at(bytes, 4));
    layouts_ = {};
    stage_ = dataLeft_ > 0 ? Stage::Records : Stage::Crc;
    return size;
}

qsizetype FitReader::record(QByteArrayView bytes)
{
    const uchar header = uchar(bytes[0]);
    if (!(header & kCompressedTime) && (header & kDefinitionBit))
        return definition(bytes);
    // A compressed-timestamp header names one of the first four local types.
    const Definition& layout =
        layouts_[header & kCompressedTime ? (header >> 5) & 0x03 : header & 0x0F];
    if (!layout.defined)
        fail("a data message without a definition");
    return data(bytes, layout);
}

// reserved, architecture, global number (2), field count, fields (3 each)
// [, developer field count, developer fields (3 each)]
qsizetype FitReader::definition(QByteArrayView bytes)
{
    const bool developer = uchar(bytes[0]) & kDeveloperBit;
    qsizetype size = 6;
    const auto need = [&](qsizetype total) {
        if (total > dataLeft_)
            fail("a message beyond the data's end");
        return bytes.size() >= total;
    };
    if (!need(size))
        return 0;
    const qsizetype fields = uchar(bytes[5]);
    size += 3 * fields + (developer ? 1 : 0);
    if (!need(size))
        return 0;
    const qsizetype developerFields = developer ? uchar(bytes[size - 1]) : 0;
    size += 3 * developerFields;
    if (!need(size))
        return 0;
    // The architecture's lowest bit is the byte order; the other bits are
    // reserved, and a reserved bit set changes nothing.
    Definition layout;
    layout.defined = true;
    layout.bigEndian = uchar(bytes[2]) & 0x01;
    const quint16 global =
        layout.bigEndian ? quint16(uchar(bytes[3]) << 8 | uchar(bytes[4])) : little16(at(bytes, 3));
    const PositionMessage* positions = nullptr;
    for (const PositionMessage& message : kPositionMessages)
        if (message.global == global)
            positions = &message;
    layout.session = global == kSessionMessage;
    const quint8 timeField = positions ? positions->time : kTimestampField;
    for (qsizetype i = 0; i < fields; ++i) {
        const uchar number = uchar(bytes[6 + 3 * i]), fieldSize = uchar(bytes[7 + 3 * i]);
        if (fieldSize == 4 && number == timeField)
            layout.timestamp = layout.size;
        if (positions && fieldSize == 4 && number == positions->latitude)
            layout.latitude = layout.size;
        if (positions && fieldSize == 4 && number == positions->longitude)
            layout.longitude = layout.size;
        layout.size += fieldSize;
    }
    // Developer fields are passed over by their size.
    for (qsizetype i = 0; i < developerFields; ++i)
        layout.size += uchar(bytes[6 + 3 * fields + 1 + 3 * i + 1]);
    layouts_[uchar(bytes[0]) & 0x0F] = layout;
    checked(bytes.first(size));
    return size;
}

qsizetype FitReader::data(QByteArrayView bytes, const Definition& layout)
{
    const qsizetype size = 1 + layout.size;
    if (size > dataLeft_)
        fail("a message beyond the data's end");
    if (bytes.size() < size)
        return 0;
    checked(bytes.first(size));
    if (options_.time)
        messageTime(uchar(bytes[0]), at(bytes, 1), layout);
    if (layout.session)
        noteSegment(options_); // a session's message follows its records
    if (layout.latitude >= 0 && layout.longitude >= 0)
        position(at(bytes, 1), layout);
    return size;
}

// A message's time: its timestamp field, or the five bits of a compressed
// header counted on from the last timestamp.
void FitReader::messageTime(uchar header, const uchar* fields, const Definition& layout)
{
    time_.reset();
    if (header & kCompressedTime) {
        if (!lastTime_)
            return;
        const quint32 offset = header & 0x1F;
        quint32 time = (*lastTime_ & ~0x1Fu) + offset;
        if (offset < (*lastTime_ & 0x1F))
            time += 0x20;
        lastTime_ = time;
    } else if (layout.timestamp >= 0) {
        const quint32 time = layout.bigEndian ? big32(fields + layout.timestamp)
                                              : little32(fields + layout.timestamp);
        if (time == kInvalidTime)
            return;
        lastTime_ = time;
    } else {
        return;
    }
    time_ = PointTime{kFitEpoch + *lastTime_, 0, 0};
}

void FitReader::position(const uchar* fields, const Definition& layout)
{
    const auto value = [&](qsizetype offset) {
        return qint32(layout.bigEndian ? big32(fields + offset) : little32(fields + offset));
    };
    const qint32 latitude = value(layout.latitude), longitude = value(layout.longitude);
    // A record without a fix (a watch without GPS, a tunnel): no point, and
    // nothing lost.
    if (latitude == kInvalidPosition || longitude == kInvalidPosition)
        return;
    setDegreesText(latitude_, latitude * kDegreesPerSemicircle);
    setDegreesText(longitude_, longitude * kDegreesPerSemicircle);
    // The values of the texts as written, which the command line computes with.
    if (const auto values = pointValues({latitude_, longitude_}))
        notePoint(options_, *values, message_);
    noteTime(options_, time_);
    point_(latitude_, longitude_);
}

// A message read whole: it counts into the CRC and the data's size.
void FitReader::checked(QByteArrayView bytes)
{
    crc_ = crcOf(crc_, bytes);
    dataLeft_ -= bytes.size();
    ++message_;
    if (dataLeft_ == 0)
        stage_ = Stage::Crc;
}

qsizetype FitReader::crc(QByteArrayView bytes)
{
    if (bytes.size() < 2)
        return 0;
    if (little16(at(bytes, 0)) != crc_)
        fail("the file's CRC does not match");
    stage_ = Stage::Header;
    read_ = true;
    return 2;
}

} // namespace lists
