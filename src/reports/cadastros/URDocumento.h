#pragma once

#include "DocumentModels.h"

#include "reports/base/ReportWindow.h"

// One document issued to a member, on one page: the church's name, CNPJ,
// address and city at the head, the document's title with its number, the
// model's text filled, and the lines where the pastor and the secretary
// sign. A letter is on an A4 portrait page; a transfer letter ends with a
// slip below a cut line that the receiving church signs and sends back. A
// certificate is on an A4 landscape page inside a border.
class TFRDocumento : public ReportWindow
{
    Q_OBJECT
public:
    TFRDocumento(QWidget *owner, DocumentModels::Kind kind);

    // What the page says: "Carta de Transferência nº 7/2026", the filled
    // text and, for a transfer, the slip's filled text.
    void setContent(const QString &title, const QString &text, const QString &slip = {});

private:
    void buildLetter(Band *band);
    void buildCertificate(Band *band);
    void buildSlip(Band *band, int top);
    void QRBand1BeforePrint();

    DocumentModels::Kind m_kind;
    QString m_title, m_text, m_slip;
};
