#pragma once

#include "ReportFilter.h"

class QLabel;
class QLineEdit;

// The filter of a report of one year: the year "ANO" (at first the one
// proposedYear gives) and "Gerar Relatório", which refuses a year not of four
// digits (1000 to 9999), or one that refusal explains, before any report is made.
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
    // The year put in the box when the window opens; 0: none. The current year.
    virtual int proposedYear() const;
    // Why there is no report of `year` to make; empty (so by default) when there is one.
    virtual QString refusal(int year) const;
    // Makes and previews the report of `year`.
    virtual void generate(int year) = 0;
};
