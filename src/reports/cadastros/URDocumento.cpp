#include "URDocumento.h"

#include "reports/base/ChurchPrint.h"

#include <utility>

namespace {

using ChurchPrint::text;

// Who signs every document: the pastor and the secretary, as "Dados da Igreja" names them.
const QList<Signature> kSigners = {{ParameterCode::Pastor, "Pastor(a) ou presidente"},
                                   {ParameterCode::Secretary, "Secretário(a)"}};
// Who signs the slip, at the receiving church: lines to fill by hand.
const QList<Signature> kReceivers = {{-1, "Pastor(a) da igreja que recebe"},
                                     {-2, "Secretário(a) da igreja que recebe"}};

const QColor Grey(120, 120, 120);
constexpr int LetterHeight = 2770; // A4 portrait inside 10 mm margins
constexpr int CertificateHeight = 1900; // A4 landscape inside 10 mm margins
constexpr int SlipTop = 1960;

} // namespace

TFRDocumento::TFRDocumento(QWidget *owner, DocumentModels::Kind kind) : ReportWindow(owner), m_kind(kind)
{
    setObjectName(QStringLiteral("FRDocumento"));
    QuickRep1->dataset = nullptr; // one page
    if (DocumentModels::isCertificate(kind)) {
        std::swap(QuickRep1->pageWidth, QuickRep1->pageHeight);
        buildCertificate(QuickRep1->addBand(Band::Kind::Title, QStringLiteral("QRBand1"), CertificateHeight));
    } else {
        buildLetter(QuickRep1->addBand(Band::Kind::Title, QStringLiteral("QRBand1"), LetterHeight));
    }
    QuickRep1->band(QStringLiteral("QRBand1"))->beforePrint = [this](Band &) { QRBand1BeforePrint(); };
}

void TFRDocumento::setContent(const QString &title, const QString &text, const QString &slip)
{
    m_title = title;
    m_text = text;
    m_slip = slip;
}

void TFRDocumento::buildLetter(Band *band)
{
    const int width = QuickRep1->bandWidth();
    const bool transfer = m_kind == DocumentModels::Kind::Transfer;
    ChurchPrint::addHeading(band, 20, width);
    band->addShape(QStringLiteral("linhaCabecalho"), QRect(0, 190, width, 1));
    text(band, QStringLiteral("txtTitulo"), QRect(0, 260, width, 80), 16, true, Qt::AlignHCenter);
    text(band, QStringLiteral("txtTexto"), QRect(100, 420, width - 200, transfer ? 1050 : 1500), 12, false)
        ->wordWrap = true;
    ChurchPrint::addSignatures(band, transfer ? 1640 : 2150, kSigners, 10, width);
    if (transfer)
        buildSlip(band, SlipTop);
}

// The return slip: below a dashed cut line, what the receiving church
// declares and the lines where it signs.
void TFRDocumento::buildSlip(Band *band, int top)
{
    const int width = QuickRep1->bandWidth();
    for (int x = 0; x < width; x += 40)
        band->addShape(QStringLiteral("linhaCorte"), QRect(x, top, 22, 1))->pen = Grey;
    text(band, QStringLiteral("txtCorte"), QRect(0, top + 10, width, 35), 7, false, Qt::AlignHCenter,
         QStringLiteral("recorte aqui e devolva à igreja que emitiu a carta"))
        ->font.colour = Grey;
    text(band, QStringLiteral("txtCanhotoTitulo"), QRect(0, top + 80, width, 55), 11, true, Qt::AlignHCenter);
    text(band, QStringLiteral("txtCanhoto"), QRect(100, top + 170, width - 200, 260), 10, false)->wordWrap = true;
    ChurchPrint::addSignatures(band, top + 600, kReceivers, 9, width);
}

void TFRDocumento::buildCertificate(Band *band)
{
    const int width = QuickRep1->bandWidth();
    band->addShape(QStringLiteral("QRShapeMoldura"), QRect(0, 0, width, CertificateHeight));
    band->addShape(QStringLiteral("QRShapeMolduraInterna"), QRect(30, 30, width - 60, CertificateHeight - 60));
    band->addShape(QStringLiteral("QRShapeMolduraFina"), QRect(45, 45, width - 90, CertificateHeight - 90));
    ChurchPrint::addHeading(band, 110, width);
    text(band, QStringLiteral("txtTitulo"), QRect(0, 330, width, 130), 26, true, Qt::AlignHCenter);
    text(band, QStringLiteral("txtTexto"), QRect(260, 560, width - 520, 760), 14, false, Qt::AlignHCenter)
        ->wordWrap = true;
    ChurchPrint::addSignatures(band, 1560, kSigners, 10, width);
}

void TFRDocumento::QRBand1BeforePrint()
{
    ChurchPrint::fillHeading(QuickRep1);
    ChurchPrint::fillSignatures(QuickRep1, kSigners);
    QuickRep1->element<LabelElement>(QStringLiteral("txtTitulo"))->caption = m_title;
    QuickRep1->element<LabelElement>(QStringLiteral("txtTexto"))->caption = m_text;
    if (Element *slip = QuickRep1->findElement(QStringLiteral("txtCanhoto"))) {
        static_cast<LabelElement *>(slip)->caption = m_slip;
        QuickRep1->element<LabelElement>(QStringLiteral("txtCanhotoTitulo"))->caption =
            QStringLiteral("CANHOTO DE DEVOLUÇÃO - ") + m_title;
    }
}
