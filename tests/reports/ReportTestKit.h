#pragma once

// What the report suites share: the preview that a button opens, read and
// closed as the user would close it, and pictures to store as photographs.
#include "reports/engine/PrintPreview.h"
#include "reports/engine/ReportRun.h"

#include "ProgramFixture.h"

#include <QAbstractButton>
#include <QApplication>
#include <QTimer>
#include <QBuffer>
#include <QImage>

// Clicks `button`, which must open a print preview, and returns the run the
// preview shows; the preview is closed.
inline ReportRun previewOpenedBy(QAbstractButton *button)
{
    ReportRun run;
    whenPreviewLaidOut([&run](PrintPreview *preview) {
        run = preview->run();
        preview->close();
    });
    button->click();
    return run;
}

inline QByteArray pictureBytes(const QColor &colour, const char *format)
{
    QImage image(40, 30, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

// The background colours of the items named `elementName` on `page`, top to bottom.
inline QList<QColor> rowColours(const ReportRun &run, int page, const QString &elementName)
{
    QList<const PageItem *> found;
    for (const PageItem &item : run.pages().at(page).items)
        if (item.elementName == elementName)
            found << &item;
    std::stable_sort(found.begin(), found.end(), [](auto *a, auto *b) { return a->rect.top() < b->rect.top(); });
    QList<QColor> colours;
    for (const PageItem *item : found)
        colours << item->background;
    return colours;
}
