#pragma once
// The byte-level reading of a list file: lines out of raw bytes.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringDecoder>
#include <QStringView>

#include <functional>

namespace lists {

// Splits list-file bytes into lines on CR, LF and CR LF, then decodes each line
// (UTF-8 where valid, otherwise Latin-1); a leading UTF-8 byte-order mark is skipped.
// Bytes may arrive in blocks of any size; the work is linear in the bytes.
// Memory stays flat however long a line is: a line is kept up to kLineLimit
// bytes (backed off to a character's start), the rest of it passed over.
class ListRecords {
public:
    static constexpr qsizetype kLineLimit = 1 << 20;

    using Sink = std::function<void(QStringView line)>;
    explicit ListRecords(Sink line);
    void feed(QByteArrayView bytes);
    void finish(); // hands on a last line that has no line end
    // Whether the line just handed on was read one byte a character (ASCII,
    // or Latin-1 where it was no UTF-8): its characters are then its bytes.
    bool lineInSingleBytes() const { return singleBytes_; }
    // Whether the line being handed on was cut at kLineLimit.
    bool cut() const { return cut_; }

private:
    bool widen(QByteArrayView bytes);
    void keep(QByteArrayView bytes);
    void emitBounded(QByteArrayView bytes);
    void emitLine(QByteArrayView bytes);

    Sink line_;
    QByteArray pending_;    // the start of a line whose end has not arrived yet, bounded
    QString text_;          // holds the decoded line, reused from line to line
    QString block_;         // a block of plain ASCII, decoded at once
    QStringDecoder utf8_;
    QStringDecoder latin1_;
    bool firstLine_ = true;            // a byte-order mark may lead it
    bool afterCarriageReturn_ = false; // an LF right now ends no further line
    bool singleBytes_ = true;
    bool cut_ = false;
};

} // namespace lists
