#include "platform/widgets/cursorfile.h"

#include "core/failure.h"
#include "files/regularfile.h"

#include <QBuffer>
#include <QImage>
#include <QImageReader>
#include <QPixmap>
#include <QtEndian>
#include <algorithm>
#include <cmath>

namespace widgets {
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

core::Failure invalidPicture() { return {481, QStringLiteral("Invalid picture")}; }

int widthOf(QImageReader& reader, int picture)
{
    return reader.jumpToImage(picture) ? reader.size().width() : -1;
}

int firstWidth(QImageReader& reader) { return widthOf(reader, 0); }

// The smallest picture at least `pixels` wide, else the widest.
int pictureFor(QImageReader& reader, int count, int pixels)
{
    int best = 0;
    for (int i = 1; i < count; ++i) {
        const int width = widthOf(reader, i), bestWidth = widthOf(reader, best);
        const bool bestFits = bestWidth >= pixels, fits = width >= pixels;
        if (fits ? !bestFits || width < bestWidth : !bestFits && width > bestWidth)
            best = i;
    }
    return best;
}

} // namespace

QCursor loadCursorFile(const QString& path, int pixels)
{
    QString reason;
    const std::optional<QByteArray> content = files::readRegularFile(path, reason);
    if (!content)
        throw core::Failure{75, QStringLiteral("Cursor file cannot be read: ") + reason};
    const QByteArray& bytes = *content;
    const int count = bytes.size() < kHeader ? 0 : word(bytes, 4);
    if (bytes.size() < kHeader + kEntry * count || word(bytes, 0) != 0 || word(bytes, 2) != 2 ||
        count == 0)
        throw invalidPicture();
    QBuffer buffer;
    buffer.setData(bytes);
    QImageReader reader(&buffer, "ICO");
    const int chosen = pictureFor(reader, count, pixels);
    QImage picture;
    if (!reader.jumpToImage(chosen) || !reader.read(&picture) || firstWidth(reader) <= 0)
        throw invalidPicture();
    const qsizetype entry = kHeader + kEntry * chosen;
    const int x = word(bytes, entry + 4);
    const int y = word(bytes, entry + 6);
    if (x >= picture.width() || y >= picture.height())
        throw invalidPicture();
    const double scale = double(picture.width()) / firstWidth(reader);
    QPixmap pixmap = QPixmap::fromImage(picture);
    pixmap.setDevicePixelRatio(scale);
    return QCursor(pixmap, int(x / scale), int(y / scale));
}

int desktopCursorPixels(double devicePixelRatio)
{
    const int basic = int(std::lround(32 * devicePixelRatio));
    return std::max(basic, qEnvironmentVariableIntValue("XCURSOR_SIZE"));
}

} // namespace widgets
