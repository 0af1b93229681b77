#pragma once

#include "reports/base/ReportFilter.h"

class QLabel;
class QLineEdit;

// The filter of a report of one year of the cash book: the year "ANO"
// (at first the latest year with a book) and "Gerar Relatório", which
// refuses a year without books before any report is made.
class YearFilter : public ReportFilter
{
    Q_OBJECT
public:
    YearFilter(QWidget *owner, const QString &objectName, const QString &caption);

    QLabel *Label1;
    QLineEdit *txtAno;
    QToolButton *btnGerar;

    void FormShow();
    void btnGerarClick();

protected:
    void showEvent(QShowEvent *event) override;
    // Makes and previews the report of `year`, which has books.
    virtual void generate(int year) = 0;
};
