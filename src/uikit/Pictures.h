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

// The bytes to store for a chosen picture file: a picture whose longer side
// exceeds kLongestStoredSide is turned upright (as the camera recorded it),
// reduced to that side and stored as JPEG; any other file as it is.
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
