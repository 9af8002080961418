#pragma once
// One reader for every list format: the first bytes tell the format (see
// recogniseListFormat), then the bytes go to that format's reader. Bytes
// that have told no format within kHeadLimit (white space, however much of
// it) begin a plain list: memory stays flat.

#include "lists/formats/plainlist.h"
#include "engine/numbers.h"

#include <QByteArray>
#include <QByteArrayView>

#include <memory>

namespace lists {

class ListReader {
public:
    static constexpr qsizetype kHeadLimit = 1 << 20;

    ListReader(const PointSink& point, const PlainListOptions& options);
    ~ListReader();
    // The file's bytes in blocks of any size, as they arrive from a file or a pipe.
    void feed(QByteArrayView bytes);
    void finish(); // the end of the file

    // The reader of one format.
    class Format {
    public:
        virtual ~Format() = default;
        virtual void feed(QByteArrayView bytes) = 0;
        virtual void finish() = 0;
    };

private:
    void start(bool complete);

    const PointSink& point_;
    const PlainListOptions& options_;
    QByteArray head_; // the first bytes, kept until they tell the format
    qsizetype tried_ = 0;
    std::unique_ptr<Format> format_;
    engine::LocaleScope locale_; // every format's numeric test reads it once
};

} // namespace lists
