#pragma once

#include "reports/base/ReportWindow.h"

class QueryDataset;

// Member list: every member stored in the database, one line each, sorted by
// name, whatever search filter the members register has on its table.
class TFRMembro : public ReportWindow
{
    Q_OBJECT
public:
    explicit TFRMembro(QWidget *owner);

    static const QStringList kSql;
    // kSql for the members of `situation` (Roll), its parameter in `values`.
    static QStringList sqlFor(const QString &situation, QVariantList &values);

    QueryDataset *QMembro;
    Band *QRBand1, *QRBand2, *QRBand3;
    LabelElement *txtData;

private:
    void addDetail();
    void QRBand2BeforePrint(Band &band);
    void QRBand3BeforePrint(Band &band);
};
