#include "BandLayout.h"

#include "ReportRun.h"

#include <algorithm>
#include <cmath>

namespace {

bool isText(const Element &element)
{
    return element.kind() == Element::Kind::Label || element.kind() == Element::Kind::DataText;
}

constexpr int kColumnGap = 15; // tenths of a millimetre between a wrapped text and the next column
constexpr int kRowPadding = 10;

} // namespace

PlacedBand asDesigned(const Band &band)
{
    PlacedBand placed{band.height, {}};
    for (const auto &element : band.elements())
        placed.elements.push_back({element->rect, element->font.pointSize, element->wordWrap, element->autoSize});
    return placed;
}

LargePrint::LargePrint(int fromWidth, int toWidth, qreal lift, const QList<QPoint> &columns,
                       const ElementFont &defaultFont)
    : m_lift(lift), m_default(defaultFont)
{
    m_stops << QPoint(0, 0);
    for (const QPoint &column : columns)
        if (column.x() > m_stops.last().x() && column.x() < fromWidth)
            m_stops << column;
    m_stops << QPoint(fromWidth, toWidth);
}

int LargePrint::toX(int x) const
{
    for (qsizetype i = 1; i < m_stops.size(); ++i) {
        const QPoint &a = m_stops.at(i - 1);
        const QPoint &b = m_stops.at(i);
        if (x <= b.x() || i == m_stops.size() - 1)
            return a.y() + qRound(qreal(x - a.x()) * (b.y() - a.y()) / (b.x() - a.x()));
    }
    return x;
}

qreal LargePrint::designedPoints(const Element &element) const
{
    return element.font.pointSize > 0 ? element.font.pointSize : m_default.pointSize;
}

QFont LargePrint::fontOf(const Element &element, qreal points) const
{
    return TextMeasure::layoutFont(element.font.family.isEmpty() ? m_default.family : element.font.family, points,
                                   element.font.bold);
}

PlacedBand LargePrint::place(const Band &band, const TextOf &textOf) const
{
    PlacedBand placed = asDesigned(band);
    for (size_t i = 0; i < placed.elements.size(); ++i) {
        const Element &element = *band.elements().at(i);
        PlacedElement &p = placed.elements.at(i);
        const int left = toX(element.rect.left());
        p.rect = QRect(left, element.rect.top(), toX(element.rect.left() + element.rect.width()) - left,
                       element.rect.height());
        if (isText(element))
            p.points = designedPoints(element) + m_lift;
    }
    if (band.kind() == Band::Kind::Detail) {
        wrapInColumns(band, placed, textOf);
    } else {
        std::vector<Line> lines = linesOf(band);
        growDown(band, placed, lines);
        keepApart(band, placed, lines, textOf);
    }
    return placed;
}

// Each text of a row as tall as it wraps to; a text sized to its contents
// takes its column's width, but for a number right-aligned (or centred) in
// its column, which stays on one line where it was. The row keeps the room
// it had below its texts.
void LargePrint::wrapInColumns(const Band &band, PlacedBand &placed, const TextOf &textOf) const
{
    QList<int> lefts;
    for (const auto &element : band.elements())
        if (element->visible && isText(*element))
            lefts << element->rect.left();
    std::sort(lefts.begin(), lefts.end());
    int designedBottom = 0;
    int bottom = 0;
    for (size_t i = 0; i < placed.elements.size(); ++i) {
        const Element &element = *band.elements().at(i);
        if (!element.visible || !isText(element))
            continue;
        PlacedElement &p = placed.elements.at(i);
        const QFont font = fontOf(element, p.points);
        if (element.autoSize && (element.alignment & (Qt::AlignRight | Qt::AlignHCenter))) {
            p.rect.setHeight(int(std::ceil(TextMeasure::lineHeight(font))));
        } else {
            if (element.autoSize) {
                const auto next = std::upper_bound(lefts.cbegin(), lefts.cend(), element.rect.left());
                const int end = toX(next == lefts.cend() ? m_stops.last().x() : *next);
                p.rect.setRight(qMax(p.rect.left(), end - kColumnGap - 1));
            }
            p.wordWrap = true;
            p.autoSize = false;
            const int flags = int(element.alignment) | Qt::TextWordWrap;
            const qsizetype lines =
                qMax<qsizetype>(1, TextMeasure::lines(font, textOf(element), p.rect.width(), flags).size());
            p.rect.setHeight(int(std::ceil(TextMeasure::linesHeight(font, lines))));
        }
        designedBottom = qMax(designedBottom, element.rect.top() + designedHeight(element));
        bottom = qMax(bottom, p.rect.bottom() + 1);
    }
    placed.height = qMax(band.height, bottom + qMax(kRowPadding, band.height - designedBottom));
}

// The texts of a band by the lines they stand on: a text that begins in
// the upper half of a line (a caption and its value beside it) is on it; one
// that begins lower, even where the designed heights overlap a little, on
// the next.
std::vector<LargePrint::Line> LargePrint::linesOf(const Band &band) const
{
    std::vector<size_t> texts;
    for (size_t i = 0; i < band.elements().size(); ++i)
        if (band.elements().at(i)->visible && isText(*band.elements().at(i)))
            texts.push_back(i);
    const auto top = [&band](size_t i) { return band.elements().at(i)->rect.top(); };
    std::stable_sort(texts.begin(), texts.end(), [&top](size_t a, size_t b) { return top(a) < top(b); });
    std::vector<Line> lines;
    for (size_t i : texts) {
        const Element &element = *band.elements().at(i);
        const int bottom = element.rect.top() + designedHeight(element);
        if (lines.empty() || element.rect.top() >= (lines.back().top + lines.back().bottom) / 2)
            lines.push_back({element.rect.top(), bottom, {}});
        lines.back().bottom = qMax(lines.back().bottom, bottom);
        lines.back().texts.push_back(i);
    }
    return lines;
}

int LargePrint::designedHeight(const Element &element) const
{
    return element.autoSize ? int(std::ceil(TextMeasure::lineHeight(fontOf(element, designedPoints(element)))))
                            : element.rect.height();
}

// A line of texts grows as its tallest text does in the larger letters;
// what stands below a line moves down as much (and further where the line
// above would now reach into it), and a box around texts grows with them.
void LargePrint::growDown(const Band &band, PlacedBand &placed, std::vector<Line> &lines) const
{
    std::vector<int> heights(placed.elements.size()); // of the texts, in the larger letters
    for (Line &line : lines)
        for (size_t i : line.texts) {
            const Element &element = *band.elements().at(i);
            PlacedElement &p = placed.elements.at(i);
            const qreal ratio = TextMeasure::lineHeight(fontOf(element, p.points))
                                / TextMeasure::lineHeight(fontOf(element, designedPoints(element)));
            heights.at(i) = int(std::ceil(designedHeight(element) * ratio));
            if (!element.autoSize)
                p.rect.setHeight(heights.at(i));
            line.growth = qMax(line.growth, heights.at(i) - designedHeight(element));
        }
    int after = 0;          // how far what follows the line above moves down
    int previousBottom = 0; // where the texts above end, as placed
    for (Line &line : lines) {
        line.shift = qMax(after, previousBottom - line.top);
        for (size_t i : line.texts) {
            QRect &rect = placed.elements.at(i).rect;
            rect.moveTop(band.elements().at(i)->rect.top() + line.shift);
            previousBottom = qMax(previousBottom, rect.top() + heights.at(i));
        }
        after = line.shift + line.growth;
    }
    const auto shift = [&lines](int y) { // how far the lines above y moved what follows them
        int moved = 0;
        for (const Line &line : lines)
            if (line.top < y)
                moved = line.shift + line.growth;
        return moved;
    };
    for (size_t i = 0; i < placed.elements.size(); ++i) {
        if (isText(*band.elements().at(i)))
            continue;
        const QRect &designed = band.elements().at(i)->rect;
        PlacedElement &p = placed.elements.at(i);
        const int top = designed.top() + shift(designed.top());
        p.rect.setHeight(designed.top() + designed.height() + shift(designed.top() + designed.height()) - top);
        p.rect.moveTop(top);
    }
    placed.height = band.height + shift(band.height);
}

// Texts sized to their contents on one line (a footer's caption and date)
// keep their order without running into each other, and the line stays on
// the page: moved left as far as it would pass the right edge.
void LargePrint::keepApart(const Band &band, PlacedBand &placed, const std::vector<Line> &lines,
                           const TextOf &textOf) const
{
    for (const Line &line : lines) {
        std::vector<size_t> flowing;
        for (size_t i : line.texts) {
            const Element &element = *band.elements().at(i);
            if (element.autoSize && !(element.alignment & (Qt::AlignRight | Qt::AlignHCenter)))
                flowing.push_back(i);
        }
        if (flowing.empty())
            continue;
        std::sort(flowing.begin(), flowing.end(), [&placed](size_t a, size_t b) {
            return placed.elements.at(a).rect.left() < placed.elements.at(b).rect.left();
        });
        int end = 0;
        for (size_t i : flowing) {
            PlacedElement &p = placed.elements.at(i);
            const Element &element = *band.elements().at(i);
            const int width = int(std::ceil(TextMeasure::width(fontOf(element, p.points), textOf(element))));
            p.rect.moveLeft(qMax(p.rect.left(), end == 0 ? 0 : end + kColumnGap));
            p.rect.setWidth(width);
            end = p.rect.right() + 1;
        }
        const int over = qMin(end - m_stops.last().y(), placed.elements.at(flowing.front()).rect.left());
        if (over > 0)
            for (size_t i : flowing)
                placed.elements.at(i).rect.translate(-over, 0);
    }
}
