#pragma once

#include "reports/engine/Report.h"

#include <QWidget>

class QueryDataset;

// The home of one report. It is never shown: it owns the report object
// `QuickRep1`, its bands and, for most reports, one query on the data
// module's connection. The launcher creates a new one per request, owned by
// itself, so it lives (with its query open) until the launcher is destroyed.
// Subclasses only declare their bands, elements and handlers.
class ReportWindow : public QWidget
{
    Q_OBJECT
public:
    explicit ReportWindow(QWidget *owner);

    Report *QuickRep1;

    // Opens the print preview of a new run; returns once the preview is closed.
    void preview();

protected:
    // A query of this report on the data module's connection, not yet open.
    QueryDataset *addQuery(const QString &name, const QStringList &sql);

    // Alternating rows of the list reports: when `nextIsWhite` is false the
    // band and its texts turn cream, otherwise white; then the flag flips.
    static void shadeRow(Band &band, bool &nextIsWhite);
    // Sets a footer label to today's date in the short date format.
    static void stampToday(LabelElement *label);

    static QColor cream() { return QColor(255, 251, 240); }
};
