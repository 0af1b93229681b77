#include "DemoPhotos.h"

#include <QBuffer>
#include <QColor>
#include <QImage>
#include <QPainter>

#include <random>

namespace {

// A person before a wall: smooth shapes, then per-pixel noise as a camera's sensor gives.
QImage scene(QSize size, quint32 seed)
{
    std::mt19937 rng(seed);
    QImage image(size, QImage::Format_RGB32);
    QLinearGradient wall(0, 0, size.width(), size.height());
    wall.setColorAt(0, QColor::fromHsv(int(rng() % 360), 60, 200));
    wall.setColorAt(1, QColor::fromHsv(int(rng() % 360), 90, 120));
    QPainter painter(&image);
    painter.fillRect(image.rect(), wall);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    const qreal w = size.width(), h = size.height();
    painter.setBrush(QColor::fromHsv(int(rng() % 360), 120, 90));
    painter.drawEllipse(QRectF(w * 0.18, h * 0.62, w * 0.64, h * 0.7)); // shoulders
    painter.setBrush(QColor(224, 180, 150));
    painter.drawEllipse(QRectF(w * 0.36, h * 0.2, w * 0.28, h * 0.46)); // face
    painter.end();
    std::uniform_int_distribution<int> noise(-14, 14);
    for (int y = 0; y < size.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < size.width(); ++x) {
            const int n = noise(rng);
            const QRgb p = line[x];
            line[x] = qRgb(qBound(0, qRed(p) + n, 255), qBound(0, qGreen(p) + n, 255), qBound(0, qBlue(p) + n, 255));
        }
    }
    return image;
}

QByteArray jpeg(const QImage &image, int quality)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG", quality);
    return bytes;
}

// The quality whose file comes closest to `target` bytes from below, found by halving.
QByteArray closestTo(const QImage &image, qint64 target)
{
    int low = 5, high = 97;
    QByteArray best = jpeg(image, low);
    while (low <= high) {
        const int mid = (low + high) / 2;
        QByteArray bytes = jpeg(image, mid);
        if (bytes.size() <= target) {
            best = std::move(bytes);
            low = mid + 1;
        } else {
            high = mid - 1;
        }
    }
    return best;
}

} // namespace

DemoPhotos::DemoPhotos(int kilobytes, int distinct) : m_kilobytes(kilobytes)
{
    const qint64 target = qint64(kilobytes) * 1024;
    QSize size(4000, 3000);
    // A small target is reached with fewer pixels, as an older phone gives.
    while (size.width() > 400 && jpeg(scene(size / 4, 1), 10).size() * 16 > target)
        size /= 2;
    for (int i = 0; i < distinct; ++i)
        m_pictures << closestTo(scene(size, quint32(i + 1)), target);
}

// The JPEG with a comment segment right after its start marker.
QByteArray DemoPhotos::forMember(int code) const
{
    const QByteArray &picture = m_pictures[code % m_pictures.size()];
    const QByteArray text = "Kelmara demo photograph of member " + QByteArray::number(code);
    const int length = int(text.size()) + 2;
    QByteArray comment("\xFF\xFE", 2);
    comment += char(length >> 8);
    comment += char(length & 0xFF);
    comment += text;
    return picture.left(2) + comment + picture.mid(2);
}
