#pragma once

#include "reports/engine/Report.h"

#include <QWidget>

class QueryDataset;
class TableDataset;

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
    // A report window whose report object is `report` (a report made of
    // other reports); it takes ownership.
    ReportWindow(QWidget *owner, Report *report);

    Report *QuickRep1;

    // Opens the print preview of a new run; returns once the preview is closed.
    void preview();
    // What the launchers of the reports do: close `query`, give it the lines
    // `sql` and the positional `params`, open it and preview the report.
    void previewWith(QueryDataset *query, const QStringList &sql, const QVariantList &params = {});
    // Closes `query`, gives it the lines `sql` and the positional `params` and opens it.
    static void openWith(QueryDataset *query, const QStringList &sql, const QVariantList &params = {});

    // "Letra grande": the list's rows in kLargePrintPoints on a landscape
    // page (Report::setLargePrint), for a report that declares its columns.
    static constexpr qreal kLargePrintPoints = 14;
    void setLargePrint(bool on) { QuickRep1->setLargePrint(on); }

protected:
    // A query of this report on the data module's connection, not yet open.
    QueryDataset *addQuery(const QString &name, const QStringList &sql);

    // Alternating rows of the list reports: when `nextIsWhite` is false the
    // band and its texts turn cream, otherwise white; then the flag flips.
    static void shadeRow(Band &band, bool &nextIsWhite);
    // Sets a footer label to today's date in the short date format.
    static void stampToday(LabelElement *label);

    static QColor cream() { return QColor(255, 251, 240); }

    // How the list prints in large print: its rows are designed in
    // `rowPoints`; `columns` are the (designed, landscape) left edges of its
    // columns, in tenths of a millimetre.
    void largePrintColumns(qreal rowPoints, const QList<QPoint> &columns);

    // What the list reports share. A column heading (or any fixed caption):
    // element name, text and left edge in tenths of a millimetre.
    struct Caption
    {
        const char *name;
        QString text;
        int left;
    };
    // The title band: `QRLabel1` centred in bold 12 points at `titleTop`,
    // `QRLabel2` in bold 10 points below it, the headings in bold 8 points.
    Band *addListTitle(int height, int titleTop, const QString &title, const QString &subtitle,
                       int headingsTop, const QList<Caption> &headings);
    // "Relatório Gerado Dia: " and the date label `txtData` on a page footer;
    // returns the date label, for the footer's handler to stamp.
    static LabelElement *addGeneratedOn(Band *footer, int labelLeft, int dateLeft, int top);
    // The value of `resultColumn` on the first visible row of `table` whose
    // `keyColumn` equals `key`; null when none has it. The table's current
    // row stays where it was.
    static QVariant lookUp(TableDataset *table, const QString &keyColumn, const QVariant &key,
                           const QString &resultColumn);
};
