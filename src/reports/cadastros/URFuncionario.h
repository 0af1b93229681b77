#pragma once

#include "reports/base/ReportWindow.h"

class QueryDataset;

// Employee list: every employee stored in the database, sorted by name, with
// the position's description and the total of all salaries on every page.
class TFRFuncionario : public ReportWindow
{
    Q_OBJECT
public:
    explicit TFRFuncionario(QWidget *owner);

    static const QStringList kSql;

    QueryDataset *QFuncionario;
    Band *QRBand1, *QRBand2, *QRBand3;
    LabelElement *txtCargo, *QRDBText4, *txtSalarios, *txtData;

    // "R$###,###,###,###.00": grouped thousands, no digit before the
    // decimal separator below 1, two decimals.
    static QString salaryTotalText(double total);
    // A home telephone through the mask "!\(999\)0000-0000;1;_".
    static QString telephoneText(const QString &stored);

private:
    void addDetail();
    void addFooter();
    void QuickRep1BeforePrint();
    void QRBand1BeforePrint(Band &band);
    void QRBand3BeforePrint(Band &band);
    void QRBand2BeforePrint(Band &band);

    bool m_nextRowIsWhite = false;
    double m_salaries = 0;
};
