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
// More than any picture the program stores takes: a JPEG of quality 85 of
// 1,200 by 1,200 pixels takes 0.2 to 0.7 MB. A file of more that is not
// longer than kLongestStoredSide is a bitmap, an uncompressed TIFF, a PNG or
// a high-quality JPEG of a photograph.
inline constexpr qint64 kMostStoredBytes = 1024 * 1024;

// Whether a picture of `size` (pixels) held in `bytes` is larger than the
// program stores: its longer side exceeds kLongestStoredSide, or its file
// kMostStoredBytes.
bool oversized(QSize size, qint64 bytes);

// The bytes to store for a chosen picture file: an oversized picture is
// turned upright (as the camera recorded it), reduced to kLongestStoredSide
// when it is longer and stored as JPEG of kStoredQuality (a picture reduced
// by its bytes alone only when the JPEG is smaller); any other file as it is.
QByteArray forStorage(const QByteArray &fileBytes);

// The picture upright at its own size, or null when the bytes are no
// picture the program can read.
QSize sizeOf(const QByteArray &bytes);

// The size of a picture (as stored, not turned upright) from the first
// bytes of its file, so that a stored picture need not be read whole to be
// measured. Null when they do not tell; then `needed` is how many bytes from
// the start would (a JPEG's frame header lies after its EXIF block), or 0
// when only the whole file can.
QSize sizeFromStart(const QByteArray &start, qint64 &needed);

// The part of the picture that a box of `box` pixels shows when the picture
// is centred at its own size and cut at the box's edges. Only that part is
// decoded, so a large photograph shows quickly.
QImage centredPart(const QByteArray &bytes, QSize box);

// The picture upright and no larger than `bound`, keeping its proportions
// (JPEG pictures are scaled while they are decoded); a smaller one at its own size.
QImage fittedInto(const QByteArray &bytes, QSize bound);

} // namespace Pictures
