#pragma once

#include "CashYear.h"
#include "reports/base/ReportWindow.h"

#include <array>
#include <memory>

class YearCategories;
class YearChart;

// One page for the assembly and the conselho fiscal: the twelve months of a
// year with their books, balances, entries and exits as the movements make
// them, the year's totals, when each month was closed (or that it is open),
// a mark on each month whose stored balances are out of date, a chart of
// the months and the year's entries and exits by category. It writes nothing.
class TFRResumoAnual : public ReportWindow
{
    Q_OBJECT
public:
    explicit TFRResumoAnual(QWidget *owner);
    ~TFRResumoAnual() override;

    void setYear(int year) { m_year = year; }
    const CashYear &figures() const { return m_figures; }

    static inline const QString kStaleNote =
        QStringLiteral("* saldos gravados desatualizados: gere o relatório do mês de novo");

private:
    struct Row
    {
        LabelElement *month, *book, *previous, *entries, *exits, *current, *closed, *mark;
    };

    void buildTitle();
    void buildTable(Band *band, int top);
    void buildFooter();

    void QuickRep1BeforePrint();
    void QRBand1BeforePrint();
    void QRBand3BeforePrint();
    void showMonth(Row &row, const CashMonth &month);
    void showCategories();
    QString duplicateBooksNote() const;

    int m_year = 0;
    CashYear m_figures; // computed at the start of every run
    bool m_closesMonths = false;
    std::array<Row, 12> m_rows;
    Row m_totals;
    std::unique_ptr<YearChart> m_chart;
    std::unique_ptr<YearCategories> m_categories;
};
