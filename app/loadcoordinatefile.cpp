#include "app/loadcoordinatefile.h"

#include "app/pointrecord.h"
#include "platform/failure.h"
#include "platform/listview.h"
#include "shell/fileexists.h"
#include "shell/msgbox.h"

#include <QByteArray>
#include <QFile>
#include <QStringDecoder>

namespace app {
namespace {

// Large blocks keep the reading cheap; the partial last line of a block is
// carried over to the next.
constexpr qint64 kBlockBytes = 1 << 20;
const QByteArrayView kByteOrderMark("\xEF\xBB\xBF");

// Turns decoded text into records and the records that are points into rows.
class RecordReader {
public:
    explicit RecordReader(platform::ListView& list)
        : list_(list)
    {
    }

    // Handles every record that ends in the text; returns how many characters
    // were used. At the end of the file the last, unterminated record counts too.
    qsizetype feed(QStringView text, bool atEnd)
    {
        qsizetype start = 0;
        for (qsizetype i = 0; i < text.size(); ++i) {
            const char16_t c = text[i].unicode();
            if (c == u'\n' || c == u'\r') {
                record(text.sliced(start, i - start));
                start = i + 1;
            }
        }
        if (atEnd && start < text.size()) {
            record(text.sliced(start));
            start = text.size();
        }
        return start;
    }

private:
    void record(QStringView text)
    {
        const auto fields = pointFields(text);
        if (!fields || !isPoint(*fields))
            return;
        list_.addItem(rawString(fields->latitude), rawString(fields->longitude));
    }

    // The list copies the characters, so the view need not be copied first.
    static QString rawString(QStringView view)
    {
        return QString::fromRawData(view.data(), view.size());
    }

    platform::ListView& list_;
};

void openListFile(QFile& file)
{
    if (!file.open(QIODevice::ReadOnly))
        throw file.error() == QFileDevice::PermissionsError ? Failure::permissionDenied()
                                                            : Failure::pathAccess();
}

qint64 readBlock(QFile& file, QByteArray& block)
{
    const qint64 read = file.read(block.data(), block.size());
    if (read < 0)
        throw Failure::pathAccess();
    return read;
}

// Appends the decoded bytes to the text.
void decodeInto(QStringDecoder& decoder, QByteArrayView bytes, QString& text)
{
    const qsizetype kept = text.size();
    text.resize(kept + decoder.requiredSpace(bytes.size()));
    const QChar* end = decoder.appendToBuffer(text.data() + kept, bytes);
    text.resize(end - text.constData());
}

} // namespace

void LoadCoordinateFile(platform::ListView& list, const QString& path)
{
    if (!shell::FileExists(path)) {
        shell::MsgBox(QStringLiteral("File not found"));
        return;
    }
    QFile file(path);
    openListFile(file);
    RecordReader reader(list);
    QStringDecoder decoder(QStringDecoder::System);
    QByteArray block(kBlockBytes, Qt::Uninitialized);
    QString text;
    bool first = true;
    for (qint64 read; (read = readBlock(file, block)) > 0; first = false) {
        QByteArrayView bytes(block.constData(), read);
        if (first && bytes.startsWith(kByteOrderMark))
            bytes = bytes.sliced(kByteOrderMark.size());
        decodeInto(decoder, bytes, text);
        text.remove(0, reader.feed(text, false));
    }
    reader.feed(text, true);
}

} // namespace app
