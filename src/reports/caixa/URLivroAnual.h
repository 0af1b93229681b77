#pragma once

#include "reports/base/ReportWindow.h"

struct CashMonth;

// The official cash book of a year, in one run: a termo de abertura, then
// every month that has a book, laid out and stored exactly as the monthly
// cash book report does it (months in calendar order, so each takes its
// previous balance from the month just laid out), and a termo de
// encerramento. Every folha is numbered "Folha n" in its top right corner,
// the termos included.
class TFRLivroAnual : public ReportWindow
{
    Q_OBJECT
public:
    explicit TFRLivroAnual(QWidget *owner);

    void setYear(int year) { m_year = year; }

    Report *termoAbertura, *termoEncerramento;

private:
    ReportRun layOutBook();
    ReportRun layOutMonths(const QList<CashMonth> &books, const std::function<void(int, int)> &progress,
                           double &closing);
    void fillOpening(int folhas);
    void fillClosing(int folhas, const QList<int> &months, double finalBalance);
    void numberFolhas(ReportRun &run) const;

    int m_year = 0;
};
