#pragma once

#include "reports/base/ReportFilter.h"

class QLabel;

// Member report filter: the member list or the sheet of the member chosen
// in the list (the current member of the shared members table).
class TFFMembro : public ReportFilter
{
    Q_OBJECT
public:
    explicit TFFMembro(QWidget *owner);

    QGroupBox *RGMembros;
    QLabel *Label1;
    DBLookupComboBox *DBLookupComboBox1;
    QToolButton *btnGerar;
    QCheckBox *chkLetraGrande; // the member list only

    void btnGerarClick();
};

extern TFFMembro *FFMembro;
