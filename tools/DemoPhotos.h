#pragma once

#include <QByteArray>
#include <QList>

// Photographs such as a phone takes: 12 megapixels of a portrait-like scene
// with sensor noise, as JPEG of about the size asked for, so that they do not
// compress away and a database of them is as large as a real church's. A few
// distinct pictures are made once; each member's copy carries its own code in
// a comment, so no two stored photographs are the same bytes.
class DemoPhotos
{
public:
    explicit DemoPhotos(int kilobytes, int distinct = 6);

    QByteArray forMember(int code) const;
    int kilobytes() const { return m_kilobytes; }

private:
    int m_kilobytes;
    QList<QByteArray> m_pictures;
};
