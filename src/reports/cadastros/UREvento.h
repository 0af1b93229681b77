#pragma once

#include "reports/base/ReportWindow.h"

class QueryDataset;

// Events list: the events that the filter window chose, in date order, with
// the name of the employee in charge and the time of day.
class TFREvento : public ReportWindow
{
    Q_OBJECT
public:
    explicit TFREvento(QWidget *owner);

    QueryDataset *QEventos;
    Band *QRBand1, *QRBand2, *QRBand3;
    LabelElement *txtFuncionario, *txtData;

private:
    void addDetail();
    void QRBand1BeforePrint(Band &band);
    void QRBand3BeforePrint(Band &band);
    void QRBand2BeforePrint(Band &band);

    bool m_nextRowIsWhite = false;
};
