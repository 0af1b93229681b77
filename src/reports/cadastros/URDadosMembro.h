#pragma once

#include "reports/base/ReportWindow.h"
#include "datamodule/MemberData.h"

class LineDataset;

// "Dados do Membro": everything the church keeps about one member, for the
// member who asks for it (LGPD, art. 18 and 19): the register with the
// photograph, the roll's history, the documents issued, the movements by
// month and the change log about them, each a table of its own. It writes
// nothing.
class TFRDadosMembro : public ReportWindow
{
    Q_OBJECT
public:
    explicit TFRDadosMembro(QWidget *owner);

    static inline const QString kTitle = QStringLiteral("Dados do Membro");

    void setMember(int code) { m_member = code; }

    LineDataset *QLinhas; // worked out at the start of every run
    // What the last run printed.
    const MemberData::Holding &holding() const { return m_holding; }

private:
    void buildTitle();
    void buildDetail();
    void QuickRep1BeforePrint();
    void QRBand1BeforePrint();
    void QRBand2BeforePrint(Band &band);

    int m_member = 0;
    MemberData::Holding m_holding;
};
