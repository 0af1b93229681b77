#include "Pictures.h"

#include <QBuffer>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <QRect>

namespace Pictures {

namespace {

// A reader over `bytes` that turns the picture upright as it decodes.
struct Reader
{
    explicit Reader(const QByteArray &bytes) : data(bytes), buffer(&data), reader(&buffer)
    {
        buffer.open(QIODevice::ReadOnly);
        reader.setAutoTransform(true);
    }
    bool sideways() { return reader.transformation().testFlag(QImageIOHandler::TransformationRotate90); }
    // A size upright expressed as the file holds the picture, and back.
    QSize asStored(QSize size) { return sideways() ? size.transposed() : size; }

    QByteArray data;
    QBuffer buffer;
    QImageReader reader;
};

QImage onWhite(const QImage &image)
{
    if (!image.hasAlphaChannel())
        return image;
    QImage flat(image.size(), QImage::Format_RGB32);
    flat.fill(Qt::white);
    QPainter(&flat).drawImage(0, 0, image);
    return flat;
}

} // namespace

QSize sizeOf(const QByteArray &bytes)
{
    if (bytes.isEmpty())
        return {};
    Reader r(bytes);
    const QSize stored = r.reader.size();
    return stored.isValid() ? r.asStored(stored) : QSize();
}

namespace {
// How far past the start of a JPEG segment not yet read to read on: the
// segments before the frame header that follow an EXIF block (JFIF, the
// quantisation tables) take a few hundred bytes.
constexpr qint64 kFrameHeaderReach = 4096;
} // namespace

QSize sizeFromStart(const QByteArray &start, qint64 &needed)
{
    needed = 0;
    if (!start.startsWith("\xFF\xD8")) {
        const QSize size = sizeOf(start); // the other formats begin with their size
        return size.isValid() ? size : QSize();
    }
    const auto u16 = [&](qsizetype at) { return (quint8(start[at]) << 8) | quint8(start[at + 1]); };
    qsizetype at = 2; // each segment: FF, its marker, its length (2 bytes, with themselves), its data
    while (at + 4 <= start.size()) {
        if (quint8(start[at]) != 0xFF)
            return {}; // no JPEG after all
        const quint8 marker = quint8(start[at + 1]);
        if (marker == 0xFF) { // a fill byte
            ++at;
            continue;
        }
        const bool frame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frame) {
            if (at + 9 <= start.size())
                return QSize(u16(at + 7), u16(at + 5));
            break;
        }
        if (marker == 0xDA || marker == 0xD9) // the image data, or its end, before any frame
            return {};
        at += 2 + u16(at + 2);
    }
    needed = at + kFrameHeaderReach;
    return {};
}

QImage centredPart(const QByteArray &bytes, QSize box)
{
    const QSize full = sizeOf(bytes);
    if (!full.isValid())
        return {};
    Reader r(bytes);
    const QSize shown = full.boundedTo(box);
    if (shown != full) {
        // The centre of the upright picture is the centre of the stored one.
        const QSize stored = r.asStored(full);
        const QSize part = r.asStored(shown);
        r.reader.setClipRect(QRect(QPoint((stored.width() - part.width()) / 2, (stored.height() - part.height()) / 2), part));
    }
    return r.reader.read();
}

QImage fittedInto(const QByteArray &bytes, QSize bound)
{
    const QSize full = sizeOf(bytes);
    if (!full.isValid())
        return {};
    Reader r(bytes);
    if (full.width() > bound.width() || full.height() > bound.height())
        r.reader.setScaledSize(r.asStored(full.scaled(bound, Qt::KeepAspectRatio)));
    return r.reader.read();
}

bool oversized(QSize size, qint64 bytes)
{
    return std::max(size.width(), size.height()) > kLongestStoredSide || bytes > kMostStoredBytes;
}

QByteArray forStorage(const QByteArray &fileBytes)
{
    const QSize full = sizeOf(fileBytes);
    if (!full.isValid() || !oversized(full, fileBytes.size()))
        return fileBytes;
    const QImage reduced = onWhite(fittedInto(fileBytes, QSize(kLongestStoredSide, kLongestStoredSide)));
    if (reduced.isNull())
        return fileBytes;
    QByteArray jpeg;
    QBuffer out(&jpeg);
    out.open(QIODevice::WriteOnly);
    QImageWriter writer(&out, "jpeg");
    writer.setQuality(kStoredQuality);
    writer.setOptimizedWrite(true);
    const bool reducedInPixels = reduced.size() != full;
    return writer.write(reduced) && (reducedInPixels || jpeg.size() < fileBytes.size()) ? jpeg : fileBytes;
}

} // namespace Pictures
