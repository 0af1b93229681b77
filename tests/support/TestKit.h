#pragma once

#include <QByteArray>
#include <QImageIOHandler>
#include <QSize>
#include <QString>
#include <QStringList>
#include <functional>

class Dataset;

// What every test program uses, with or without a database.

// The text of the DbError that `action` raises; empty when it raises none.
QString dbErrorOf(const std::function<void()> &action);

// asString of `column` on every visible row of `dataset`, walking first..eof.
QStringList walk(Dataset &dataset, const QString &column);

// Locale and today's date as the program sets them, for test main functions.
void setUpTestProgram();

class QImage;

// `image` as a file of `format` ("JPG", "PNG", "BMP") would hold it.
QByteArray encoded(const QImage &image, const char *format, int quality = -1,
                   QImageIOHandler::Transformations turned = {});

// A picture of `size` with `noise` levels of noise on a gradient, as a
// camera gives, so that it does not compress away; encoded as `format`.
QByteArray noisyPicture(QSize size, const char *format, int quality = 95, int noise = 40);
