#include "Report.h"

#include <QPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>

namespace {
// A single line that fits its rectangle is drawn at its baseline, placed with
// the layout's own measures: much cheaper than laying the text out again in a
// rectangle, and the same place on every device. Anything else (wrapped text,
// text wider than its element) goes through the rectangle, which clips it.
void drawText(QPainter &painter, const PageItem &item)
{
    const QRectF rect(item.rect);
    if (!(item.flags & Qt::TextWordWrap) && !item.text.contains(QLatin1Char('\n'))) {
        const qreal width = TextMeasure::width(item.font, item.text);
        if (width <= rect.width()) {
            qreal x = rect.left();
            if (item.flags & Qt::AlignRight)
                x = rect.right() - width;
            else if (item.flags & Qt::AlignHCenter)
                x = rect.left() + (rect.width() - width) / 2;
            painter.drawText(QPointF(x, rect.top() + TextMeasure::ascent(item.font)), item.text);
            return;
        }
    }
    painter.drawText(rect, item.flags, item.text);
}
} // namespace

void paintPage(QPainter &painter, const LaidOutPage &page, const QList<QImage> &images,
               qreal unitsToDevice)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter.scale(unitsToDevice, unitsToDevice);
    // Fonts keep their size in tenths of a millimetre whatever the device.
    const qreal dpi = painter.device() ? painter.device()->logicalDpiY() : 96;
    // Font and pen change only between runs of alike items: each change costs
    // the PDF writer a new text state.
    QFont lastFont;
    QColor lastColour;
    bool fontSet = false;
    for (const PageItem &item : page.items) {
        const QRectF rect(item.rect);
        switch (item.kind) {
        case PageItem::Rect:
            if (item.background.alpha() > 0)
                painter.fillRect(rect, item.background);
            if (item.colour.alpha() > 0) {
                painter.setPen(QPen(item.colour, 0)); // cosmetic: one device pixel
                lastColour = QColor(); // the next text sets its own pen
                painter.setBrush(Qt::NoBrush);
                // A rectangle one unit wide or high is a rule: one line on
                // its left or top edge, where a box's outline would run.
                if (item.rect.width() <= 1)
                    painter.drawLine(rect.topLeft(), rect.bottomLeft());
                else if (item.rect.height() <= 1)
                    painter.drawLine(rect.topLeft(), rect.topRight());
                else
                    painter.drawRect(rect);
            }
            break;
        case PageItem::Text: {
            if (item.background.alpha() > 0)
                painter.fillRect(rect, item.background);
            if (!fontSet || item.font != lastFont) {
                QFont font = item.font;
                font.setPointSizeF(item.font.pointSizeF() * 254.0 / dpi);
                painter.setFont(font);
                lastFont = item.font;
                fontSet = true;
            }
            if (item.colour != lastColour) {
                painter.setPen(item.colour);
                lastColour = item.colour;
            }
            drawText(painter, item);
            break;
        }
        case PageItem::Image:
            if (item.imageIndex >= 0 && item.imageIndex < images.size())
                painter.drawImage(rect, images.at(item.imageIndex));
            break;
        case PageItem::Polyline:
            // Slanted lines are smoothed; rules and boxes stay sharp.
            painter.setRenderHint(QPainter::Antialiasing, true);
            painter.setPen(QPen(item.colour, item.lineWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            lastColour = QColor(); // the next text sets its own pen
            painter.setBrush(Qt::NoBrush);
            painter.drawPolyline(item.points);
            painter.setRenderHint(QPainter::Antialiasing, false);
            break;
        }
    }
    painter.restore();
}

bool writePdf(const QString &path, const ReportRun &run)
{
    constexpr int Dpi = 1200;
    QPdfWriter writer(path);
    const QSizeF sizeMm(run.pageSize().width() / 10.0, run.pageSize().height() / 10.0);
    writer.setPageSize(QPageSize(sizeMm, QPageSize::Millimeter, QString(), QPageSize::FuzzyMatch));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    writer.setResolution(Dpi);
    writer.setCreator(QStringLiteral("Kelmara"));
    QPainter painter;
    if (!painter.begin(&writer))
        return false;
    for (qsizetype i = 0; i < run.pages().size(); ++i) {
        if (i > 0 && !writer.newPage())
            return false;
        paintPage(painter, run.pages().at(i), run.images(), Dpi / 254.0);
    }
    return painter.end();
}

bool printRun(QPrinter &printer, const ReportRun &run)
{
    const int count = int(run.pages().size());
    int from = 1;
    int to = count;
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        from = qMax(1, printer.fromPage());
        to = qMin(count, printer.toPage() > 0 ? printer.toPage() : count);
    }
    printer.setFullPage(true);
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    const qreal unitsToDevice = printer.resolution() / 254.0;
    for (int page = from; page <= to; ++page) {
        if (page > from && !printer.newPage())
            return false;
        paintPage(painter, run.pages().at(page - 1), run.images(), unitsToDevice);
    }
    return painter.end();
}
