#pragma once

#include "reports/base/ReportWindow.h"

class LineDataset;

// The month's accounts for the treasurer to present: for one book, the
// previous balance, the entries by category with their total, the exits by
// category with theirs (movements without a category under "Sem
// categoria"), the current balance (the one the cash book report closes the
// book with) and, on the last page, the lines for the treasurer, the pastor
// and the conselho fiscal to sign. It writes nothing.
class TFRPrestacaoContas : public ReportWindow
{
    Q_OBJECT
public:
    explicit TFRPrestacaoContas(QWidget *owner);

    static inline const QString kTitle = QStringLiteral("Prestação de Contas do Mês");
    // The kinds of line, in column TIPO of the lines.
    static inline const QString kBalance = QStringLiteral("SALDO");
    static inline const QString kHeading = QStringLiteral("TITULO");
    static inline const QString kCategory = QStringLiteral("CATEGORIA");
    static inline const QString kTotal = QStringLiteral("TOTAL");

    void setBook(int code, const QString &description);

    LineDataset *QLinhas; // worked out at the start of every run

    // The balances of the last run.
    double previousBalance() const { return m_previous; }
    double currentBalance() const { return m_current; }

private:
    void buildTitle();
    void buildDetail();
    void buildFooter();

    void QuickRep1BeforePrint();
    void QRBand1BeforePrint();
    void QRBand2BeforePrint(Band &band);
    void QRBand3BeforePrint();
    void addLine(const QString &kind, const QString &description, const QVariant &movements = {},
                 const QVariant &amount = {});
    QString bookLine() const;

    int m_bookCode = 0;
    QString m_bookDescription;
    double m_previous = 0;
    double m_current = 0;
};
