#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QList>
#include <QPointF>
#include <QPolygon>
#include <QRect>
#include <QSize>
#include <QString>

// One thing drawn on a page, in tenths of a millimetre, page coordinates.
struct PageItem
{
    enum Kind { Text, Rect, Image, Polyline };
    Kind kind = Text;
    QString elementName; // empty for band backgrounds
    QRect rect;
    QString text;
    QFont font;
    QColor colour;                      // text colour or outline pen; transparent: none
    QColor background = Qt::transparent; // fill
    int flags = 0;                      // alignment and word wrap
    int imageIndex = -1;                // into ReportRun::images()
    QPolygon points;                    // a polyline's points, page coordinates
    int lineWidth = 0;                  // a polyline's pen; 0: one device pixel
};

struct LaidOutPage
{
    QList<PageItem> items;
};

// The pages of one run of a report; every sink replays them.
class ReportRun
{
public:
    const QList<LaidOutPage> &pages() const { return m_pages; }
    const QList<QImage> &images() const { return m_images; }
    QSize pageSize() const { return m_pageSize; } // tenths of a millimetre

    // Texts of the items named `elementName` on page `page`, top to bottom.
    QStringList texts(int page, const QString &elementName) const;
    const PageItem *findItem(int page, const QString &elementName) const;

    // Joining runs into one: the pages of `other` (with their pictures) go
    // after these; `item` is drawn last on page `page`.
    void append(const ReportRun &other);
    void addItem(int page, const PageItem &item);

    // The program's own report file: the laid-out pages and their pictures,
    // so a saved report can be opened again in the preview exactly as it was.
    static QString fileSuffix() { return QStringLiteral("krl"); }
    bool save(const QString &path) const;
    // False, leaving this run untouched, when the file is missing or not a report file.
    bool load(const QString &path);

private:
    friend class Report;
    friend class RunBuilder;
    QList<LaidOutPage> m_pages;
    QList<QImage> m_images;
    QSize m_pageSize;
};

// Text measured once at a fixed high resolution without hinting, so that
// widths do not depend on the screen or printer; in tenths of a millimetre.
namespace TextMeasure {
QFont layoutFont(const QString &family, qreal pointSize, bool bold);
qreal width(const QFont &font, const QString &text);
qreal lineHeight(const QFont &font);
qreal ascent(const QFont &font);
// The height of `count` lines set one below the other as lines() sets them,
// with the font's leading between them.
qreal linesHeight(const QFont &font, qsizetype count);

// A text laid out in a rectangle of `width` by its flags (alignment, word
// wrap), as every sink draws it: a single line that fits at its baseline, a
// longer text broken at its line ends and, when wrapping, between words (a
// word longer than the line where the line ends).
// Positions are relative to the rectangle's top left.
struct TextLine
{
    QString text;
    QPointF baseline;
};
QList<TextLine> lines(const QFont &font, const QString &text, qreal width, int flags);
// A single line that fits: drawn as it is; anything else is clipped to its rectangle.
bool fitsOnOneLine(const QFont &font, const QString &text, qreal width, int flags);
}
