#include "Report.h"

#include <QPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>

void paintPage(QPainter &painter, const LaidOutPage &page, const QList<QImage> &images,
               qreal unitsToDevice)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter.scale(unitsToDevice, unitsToDevice);
    // Fonts keep their size in tenths of a millimetre whatever the device.
    const qreal dpi = painter.device() ? painter.device()->logicalDpiY() : 96;
    for (const PageItem &item : page.items) {
        const QRectF rect(item.rect);
        switch (item.kind) {
        case PageItem::Rect:
            if (item.background.alpha() > 0)
                painter.fillRect(rect, item.background);
            if (item.colour.alpha() > 0) {
                painter.setPen(QPen(item.colour, 0)); // cosmetic: one device pixel
                painter.setBrush(Qt::NoBrush);
                painter.drawRect(rect);
            }
            break;
        case PageItem::Text: {
            if (item.background.alpha() > 0)
                painter.fillRect(rect, item.background);
            QFont font = item.font;
            font.setPointSizeF(item.font.pointSizeF() * 254.0 / dpi);
            painter.setFont(font);
            painter.setPen(item.colour);
            painter.drawText(rect, item.flags, item.text);
            break;
        }
        case PageItem::Image:
            if (item.imageIndex >= 0 && item.imageIndex < images.size())
                painter.drawImage(rect, images.at(item.imageIndex));
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
