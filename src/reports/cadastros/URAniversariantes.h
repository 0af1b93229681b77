#pragma once

#include "reports/base/ReportWindow.h"
#include "datamodule/Roll.h"

class QueryDataset;

// Birthdays of one month: every member stored in the database who was born
// in that month, whatever search the members register left on, by day and
// then by name as Portuguese sorts it (accents and case aside: "JÉSSICA"
// before "JOAQUIM"), with the age completed in the current year.
class TFRAniversariantes : public ReportWindow
{
    Q_OBJECT
public:
    explicit TFRAniversariantes(QWidget *owner);

    // Reads the members born in `month` (1 to 12) and shows the preview.
    // Only the members of `situation` (Roll; ATIVO unless the filter asks).
    void previewMonth(int month, const QString &situation = Roll::kActive);

    static const QStringList kSql; // parameter "MES"
    static QString monthName(int month); // "Março"

    QueryDataset *QAniversariantes;
    Band *QRBand1, *QRBand2, *QRBand3;
    LabelElement *txtDia, *txtIdade, *txtData;

private:
    void addDetail();
    void QRBand1BeforePrint(Band &band);
    void QRBand2BeforePrint(Band &band);
    void QRBand3BeforePrint(Band &band);

    bool m_nextRowIsWhite = false;
};
