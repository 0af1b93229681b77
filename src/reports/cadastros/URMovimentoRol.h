#pragma once

#include "reports/base/ReportWindow.h"

class LineDataset;

// "Movimento do Rol" of one year, as a convention or presbytery asks for
// it: on the first page the members on the roll on 1 January, the admitted
// by form, the gone by reason and the members on 31 December with the sum
// that gives them, then the members on the roll at the end by sex and by age
// and every member stored by the situação of today, with the lines for the
// secretary and the pastor to sign; from the second page the names admitted
// and gone in the year, with the date and the form or reason
// (RollMovement). It writes nothing.
class TFRMovimentoRol : public ReportWindow
{
    Q_OBJECT
public:
    explicit TFRMovimentoRol(QWidget *owner);

    static inline const QString kTitle = QStringLiteral("Movimento do Rol");
    // The kinds of line, in column TIPO of the lines.
    static inline const QString kBalance = QStringLiteral("SALDO");
    static inline const QString kHeading = QStringLiteral("TITULO");
    static inline const QString kItem = QStringLiteral("ITEM");
    static inline const QString kTotal = QStringLiteral("TOTAL");
    static inline const QString kColumns = QStringLiteral("COLUNAS");
    static inline const QString kName = QStringLiteral("NOME");
    static inline const QString kPageBreak = QStringLiteral("QUEBRA");

    void setYear(int year) { m_year = year; }

    LineDataset *QLinhas; // worked out at the start of every run

private:
    void buildTitle();
    void buildDetail();
    void buildFooter();

    void QuickRep1BeforePrint();
    void QRBand1BeforePrint();
    void QRBand2BeforePrint(Band &band);
    void QRBand3BeforePrint();

    int m_year = 0;
    int m_page = 0; // of the run, counted by the page footer
};
