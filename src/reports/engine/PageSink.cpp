#include "Report.h"

#include "PdfWriter.h"

#include <QPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QSaveFile>

namespace {
// Texts are drawn line by line at the baselines the layout gives, the same
// places on every device and in the program's own PDF writer; a text that
// does not fit on one line is clipped to its rectangle.
void drawText(QPainter &painter, const PageItem &item)
{
    const QRectF rect(item.rect);
    const bool clip = !TextMeasure::fitsOnOneLine(item.font, item.text, rect.width(), item.flags);
    if (clip) {
        painter.save();
        painter.setClipRect(rect, Qt::IntersectClip);
    }
    for (const TextMeasure::TextLine &line : TextMeasure::lines(item.font, item.text, rect.width(), item.flags))
        painter.drawText(rect.topLeft() + line.baseline, line.text);
    if (clip)
        painter.restore();
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

namespace {
// Qt's own writer, for a report the program's writer cannot write.
bool writeWithQt(QIODevice &device, const ReportRun &run)
{
    constexpr int Dpi = 1200;
    QPdfWriter writer(&device);
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
} // namespace

// Written under a temporary name and put in place only when complete, so an
// interrupted save never leaves half a PDF where the user looks for it.
bool writePdf(const QString &path, const ReportRun &run)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray fast = fastPdf(run);
    const bool written = fast.isEmpty() ? writeWithQt(file, run) : file.write(fast) == fast.size();
    return written && file.commit();
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
