#pragma once

#include "Band.h"

#include <QList>
#include <QPoint>
#include <functional>
#include <vector>

// Where the elements of a band go on the page for one placement: a rect per
// element (relative to the band, as the element's own), the size of its
// text and how it is sized, and the band's height.
struct PlacedElement
{
    QRect rect;
    qreal points = 0; // 0: the report's default
    bool wordWrap = false;
    bool autoSize = false;
};

struct PlacedBand
{
    int height = 0;
    std::vector<PlacedElement> elements; // in the order of the band's elements
};

// A band as it was designed.
PlacedBand asDesigned(const Band &band);

// Large print ("Letra grande"): the bands designed for a band `fromWidth`
// wide laid out across one `toWidth` wide (a landscape page), every text
// `lift` points larger. A position across the page moves through `columns`,
// the (designed, large) left edges of the columns, in proportion between
// them. A detail text wraps within its column, up to the next detail text on
// its right, and the row is as tall as its texts need; in the other bands
// what stands below a text moves down as much as the text grew, and texts
// side by side move apart as far as they grew.
class LargePrint
{
public:
    using TextOf = std::function<QString(const Element &)>;

    LargePrint(int fromWidth, int toWidth, qreal lift, const QList<QPoint> &columns, const ElementFont &defaultFont);

    int toX(int x) const;
    PlacedBand place(const Band &band, const TextOf &textOf) const;

private:
    QFont fontOf(const Element &element, qreal points) const;
    qreal designedPoints(const Element &element) const;
    int designedHeight(const Element &element) const;
    void wrapInColumns(const Band &band, PlacedBand &placed, const TextOf &textOf) const;

    struct Line
    {
        int top;
        int bottom;
        std::vector<size_t> texts; // element indices
        int growth = 0; // how much taller its tallest text is
        int shift = 0;  // how far it moves down
    };
    std::vector<Line> linesOf(const Band &band) const;
    void growDown(const Band &band, PlacedBand &placed, std::vector<Line> &lines) const;
    void keepApart(const Band &band, PlacedBand &placed, const std::vector<Line> &lines, const TextOf &textOf) const;

    QList<QPoint> m_stops; // (designed, large) x, from the band's left edge to its right one
    qreal m_lift;
    ElementFont m_default;
};
