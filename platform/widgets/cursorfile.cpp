#include "platform/widgets/cursorfile.h"

#include "core/failure.h"
#include "files/regularfile.h"

#include <QImage>
#include <QPixmap>
#include <QtEndian>

namespace platform {
namespace {

// The file starts with a six-byte header (reserved 0, type 2 for cursors,
// count) and one sixteen-byte entry per cursor; bytes 4 to 7 of an entry
// hold the hot spot's x and y.
constexpr qsizetype kHeader = 6;
constexpr qsizetype kEntry = 16;

quint16 word(const QByteArray& bytes, qsizetype at)
{
    return qFromLittleEndian<quint16>(bytes.constData() + at);
}

Failure invalidPicture() { return {481, QStringLiteral("Invalid picture")}; }

} // namespace

QCursor loadCursorFile(const QString& path)
{
    QString reason;
    const std::optional<QByteArray> content = readRegularFile(path, reason);
    if (!content)
        throw Failure{75, QStringLiteral("Cursor file cannot be read: ") + reason};
    const QByteArray& bytes = *content;
    if (bytes.size() < kHeader + kEntry || word(bytes, 0) != 0 || word(bytes, 2) != 2 ||
        word(bytes, 4) == 0)
        throw invalidPicture();
    const QImage picture = QImage::fromData(bytes, "ICO");
    const int x = word(bytes, kHeader + 4);
    const int y = word(bytes, kHeader + 6);
    if (picture.isNull() || x >= picture.width() || y >= picture.height())
        throw invalidPicture();
    return QCursor(QPixmap::fromImage(picture), x, y);
}

} // namespace platform
