#pragma once

#include "Band.h"
#include "ReportRun.h"

#include <QObject>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class Dataset;
class QPainter;
class QPrinter;
class QWidget;

// A banded report: page settings, bands with their elements and handlers,
// and the dataset whose rows the detail band prints. Each run lays out all
// pages afresh into a display list (ReportRun) that the sinks replay.
class Report : public QObject
{
    Q_OBJECT
public:
    explicit Report(QObject *parent = nullptr);
    ~Report() override;

    // Page settings, tenths of a millimetre (A4 portrait, 10 mm margins).
    int pageWidth = 2100;
    int pageHeight = 2970;
    int leftMargin = 100;
    int topMargin = 100;
    int rightMargin = 100;
    int bottomMargin = 100;
    int bandWidth() const { return pageWidth - leftMargin - rightMargin; }

    ElementFont defaultFont{QStringLiteral("Arial"), 10, false, Qt::black};
    bool printIfEmpty = true;
    Dataset *dataset = nullptr; // none: the bands print once

    std::function<void()> onStart; // at the start of every run, before any band
    std::function<void()> onEnd;   // after a run has been laid out
    std::function<void(int)> onProgress; // percent, in steps of at least 5
    int rowsBetweenEvents = 50; // pending window messages run this often

    // Large print ("Letra grande", see LargePrint): the same bands on a
    // landscape page, every text `largeLift` points larger, the columns'
    // left edges moved to `largeColumns` ((designed x, large x), ascending).
    // On, the page settings are those of the landscape page.
    qreal largeLift = 6;
    QList<QPoint> largeColumns;
    void setLargePrint(bool on);
    bool largePrint() const { return m_large.has_value(); }

    Band *addBand(Band::Kind kind, const QString &name, int height);
    Band *band(const QString &name) const;
    Band *bandOf(Band::Kind kind) const;
    const std::vector<std::unique_ptr<Band>> &bands() const { return m_bands; }

    Element *findElement(const QString &name) const;
    template<typename T> T *element(const QString &name) const
    {
        Element *found = findElement(name);
        Q_ASSERT_X(found && found->kind() == T::StaticKind, "Report::element", qPrintable(name));
        return found && found->kind() == T::StaticKind ? static_cast<T *>(found) : nullptr;
    }

    // One complete layout, from the start handler to the last page footer.
    // A report made of other reports lays out its parts here and joins them.
    virtual ReportRun run();
    // A new run written to a PDF file, one page per laid-out page.
    bool exportPdf(const QString &path);
    // A new run painted on `printer`, keeping its page range.
    bool print(QPrinter &printer);
    // One run shown in the print preview over `window`; returns once the preview is closed.
    void preview(QWidget *window = nullptr);

private:
    friend class RunBuilder;
    std::vector<std::unique_ptr<Band>> m_bands;
    std::optional<int> m_large; // the designed band width, while in large print
};

// Replays a laid-out page; `unitsToDevice` is device pixels per tenth of a millimetre.
void paintPage(QPainter &painter, const LaidOutPage &page, const QList<QImage> &images,
               qreal unitsToDevice);
// Writes every page of `run` to a PDF file at 1200 dpi.
bool writePdf(const QString &path, const ReportRun &run);
// Paints the pages of `run` within the printer's page range.
bool printRun(QPrinter &printer, const ReportRun &run);
