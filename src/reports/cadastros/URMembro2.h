#pragma once

#include "reports/base/ReportWindow.h"

// Member sheet: one page with the personal data and the photograph of the
// current member of the shared members table.
class TFRMembro2 : public ReportWindow
{
    Q_OBJECT
public:
    explicit TFRMembro2(QWidget *owner);

    Band *QRBand1;
    DataImageElement *QRDBImage1;

private:
    struct Line;
    void addLine(const Line &line);
    void addPhotograph();
    int m_nextName = 2;
    int m_nextValue = 1;
};
