#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>

// Photographs as the program stores, shows and prints them. A phone's photo
// of several megabytes is stored reduced, so the database stays small and a
// member's picture is read and shown at once; a picture is decoded only as
// far as it is needed: the part a picture box shows, or the size a report
// prints it at.
namespace Pictures {

inline constexpr int kLongestStoredSide = 1200; // pixels
inline constexpr int kStoredQuality = 85;       // JPEG
// A JPEG of quality 85 of a photograph takes a fraction of a byte a pixel
// (0.1 to 0.5); a file of more is a bitmap, an uncompressed TIFF or a PNG
// of a photograph, which JPEG stores in a fraction of the room.
inline constexpr double kMostBytesPerPixel = 1.0;
inline constexpr qint64 kSmallestReduced = 64 * 1024; // smaller files stay as they are

// Whether a picture of `size` (pixels) held in `bytes` is larger than the
// program stores: its longer side exceeds kLongestStoredSide, or it takes
// more than kMostBytesPerPixel and more than kSmallestReduced.
bool oversized(QSize size, qint64 bytes);

// The bytes to store for a chosen picture file: an oversized picture is
// turned upright (as the camera recorded it), reduced to kLongestStoredSide
// when it is longer and stored as JPEG of kStoredQuality (a picture reduced
// by its bytes alone only when the JPEG is smaller); any other file as it is.
QByteArray forStorage(const QByteArray &fileBytes);

// The picture upright at its own size, or null when the bytes are no
// picture the program can read.
QSize sizeOf(const QByteArray &bytes);

// The part of the picture that a box of `box` pixels shows when the picture
// is centred at its own size and cut at the box's edges. Only that part is
// decoded, so a large photograph shows quickly.
QImage centredPart(const QByteArray &bytes, QSize box);

// The picture upright and no larger than `bound`, keeping its proportions
// (JPEG pictures are scaled while they are decoded); a smaller one at its own size.
QImage fittedInto(const QByteArray &bytes, QSize bound);

} // namespace Pictures
