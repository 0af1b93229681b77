#pragma once

#include "reports/base/ReportWindow.h"

class QueryDataset;

// A receipt for a gift (a dízimo, an oferta) booked as a movement with its
// member: the church's data, the giver, the amount in figures and written
// out, what it refers to, the date and the treasurer's line to sign on.
// Two copies on the page, one for the giver and one for the church.
class TFRRecibo : public ReportWindow
{
    Q_OBJECT
public:
    explicit TFRRecibo(QWidget *owner);

    QueryDataset *QRecibo; // the movement with its member and category, read at each run
    static const QStringList kSql; // parameter "movimento"

    void setMovement(int code) { m_movement = code; }
    // "Recebemos de ... a importância de R$ 120,50 (cento e vinte reais e cinquenta centavos), referente a ..."
    QString receiptText() const;

private:
    void buildCopy(Band *band, int top, const QString &suffix, const QString &copyName);
    void QuickRep1BeforePrint();
    void QRBand1BeforePrint();
    void setEvery(const QString &name, const QString &caption);

    int m_movement = 0;
};
