#pragma once

#include "reports/base/ReportFilter.h"

class QLabel;
class QLineEdit;
class QueryDataset;

// Events report filter: the events of one employee, of a period (both days
// included), or of one employee within a period.
class TFFEvento : public ReportFilter
{
    Q_OBJECT
public:
    enum Choice { ByEmployee, ByPeriod, ByEmployeeAndPeriod };

    explicit TFFEvento(QWidget *owner);

    QGroupBox *RGFuncionario;
    QLineEdit *txtDataInicial, *txtDataFinal;
    DBLookupComboBox *DBLookupComboBox1;
    QLabel *Label1, *Label2, *Label3;
    QToolButton *btnRelatorio;
    QCheckBox *chkLetraGrande;

    void FormShow();
    void btnRelatorioClick();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void layOut();
    // Adds the lines and parameters of the choice to the report's query.
    void filterQuery(QueryDataset *query, int choice) const;
};

extern TFFEvento *FFEvento;
