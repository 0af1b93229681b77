#include "TestKit.h"

#include "dataset/Dataset.h"
#include "dataset/DbError.h"
#include "uikit/KelmaraApplication.h"

#include <QBuffer>
#include <QImage>
#include <QImageWriter>
#include <QRandomGenerator>

QString dbErrorOf(const std::function<void()> &action)
{
    try {
        action();
    } catch (const DbError &e) {
        return e.text().isEmpty() ? QStringLiteral("(DbError without text)") : e.text();
    }
    return {};
}

QStringList walk(Dataset &dataset, const QString &column)
{
    QStringList values;
    Field *field = dataset.fieldByName(column);
    for (dataset.first(); !dataset.eof(); dataset.next())
        values << field->asString();
    return values;
}

void setUpTestProgram()
{
    useBrazilianLocale();
}

QByteArray encoded(const QImage &image, const char *format, int quality, QImageIOHandler::Transformations turned)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setQuality(quality);
    writer.setTransformation(turned);
    writer.write(image);
    return bytes;
}

QByteArray noisyPicture(QSize size, const char *format, int quality, int noise)
{
    QImage image(size, QImage::Format_RGB32);
    QRandomGenerator random(quint32(size.width()));
    for (int y = 0; y < size.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < size.width(); ++x) {
            const int n = int(random.bounded(noise)) + x * 40 / size.width();
            line[x] = qRgb(150 + n, 110 + n, 90 + n);
        }
    }
    return encoded(image, format, quality);
}
