#include "URRecibo.h"

#include "AmountInWords.h"
#include "reports/base/ChurchPrint.h"
#include "URLivroCaixa.h"

#include "datamodule/ChurchData.h"
#include "datamodule/TaxNumber.h"
#include "provider/QueryDataset.h"

#include <QRegularExpression>

namespace {

constexpr int CopyHeight = 1330;
constexpr int CutTop = CopyHeight + 35;
constexpr int Margin = 60;
constexpr int BandWidth = 1900;
const QColor Grey(120, 120, 120);

using ChurchPrint::text;

} // namespace

const QStringList TFRRecibo::kSql = {
    QStringLiteral("SELECT TMOVIMETACOES.MOVCODIGO, TMOVIMETACOES.MOVDESCRICAO, TMOVIMETACOES.MOVVALOR,"),
    QStringLiteral("TMOVIMETACOES.MOVDATA, TMOVIMETACOES.MOVDOCUMENTO, TMEMBRO.MEMNOME, TMEMBRO.MEMCPF,"),
    QStringLiteral("TCATEGORIA.CATDESCRICAO"),
    QStringLiteral("FROM TMOVIMETACOES"),
    QStringLiteral("LEFT JOIN TMEMBRO ON TMEMBRO.MEMCODIGO = TMOVIMETACOES.MOVMEMBRO"),
    QStringLiteral("LEFT JOIN TCATEGORIA ON TCATEGORIA.CATCODIGO = TMOVIMETACOES.MOVCATEGORIA"),
    QStringLiteral("WHERE TMOVIMETACOES.MOVCODIGO = :movimento")};

TFRRecibo::TFRRecibo(QWidget *owner) : ReportWindow(owner)
{
    setObjectName(QStringLiteral("FRRecibo"));
    QRecibo = addQuery(QStringLiteral("QRecibo"), kSql);
    QuickRep1->dataset = nullptr; // one page, whatever the query holds
    Band *band = QuickRep1->addBand(Band::Kind::Title, QStringLiteral("QRBand1"), 2 * CopyHeight + 70);
    buildCopy(band, 0, QStringLiteral("1"), QStringLiteral("1ª via - contribuinte"));
    band->addShape(QStringLiteral("linhaCorte"), QRect(0, CutTop, BandWidth, 1))->pen = Grey;
    buildCopy(band, CutTop + 35, QStringLiteral("2"), QStringLiteral("2ª via - igreja"));
    band->beforePrint = [this](Band &) { QRBand1BeforePrint(); };
    QuickRep1->onStart = [this] { QuickRep1BeforePrint(); };
}

void TFRRecibo::buildCopy(Band *band, int top, const QString &suffix, const QString &copyName)
{
    const int inner = BandWidth - 2 * Margin;
    band->addShape(QStringLiteral("QRShape") + suffix, QRect(0, top, BandWidth, CopyHeight));
    ChurchPrint::addHeading(band, top + 40, BandWidth, suffix);
    text(band, QStringLiteral("QRLabel") + suffix, QRect(Margin, top + 240, 600, 80), 18, true, Qt::AlignLeft,
         QStringLiteral("RECIBO"));
    text(band, QStringLiteral("txtNumero") + suffix, QRect(Margin, top + 325, 900, 45), 9, false);
    band->addShape(QStringLiteral("QRShapeValor") + suffix, QRect(1300, top + 235, 540, 95))->background =
        QColor(245, 245, 245);
    text(band, QStringLiteral("txtValor") + suffix, QRect(1320, top + 255, 500, 60), 14, true, Qt::AlignRight);
    LabelElement *body = text(band, QStringLiteral("txtTexto") + suffix, QRect(Margin, top + 430, inner, 330), 12,
                              false);
    body->wordWrap = true;
    text(band, QStringLiteral("txtLocalData") + suffix, QRect(Margin, top + 800, inner, 55), 12, false,
         Qt::AlignRight);
    ChurchPrint::addSignatures(band, top + 1030, {ChurchPrint::kOfficers.first()}, 10);
    text(band, QStringLiteral("txtVia") + suffix, QRect(Margin, top + CopyHeight - 70, inner, 40), 8, false,
         Qt::AlignRight, copyName)
        ->font.colour = Grey;
}

void TFRRecibo::QuickRep1BeforePrint()
{
    openWith(QRecibo, kSql, {m_movement});
}

QString TFRRecibo::receiptText() const
{
    const QString giver = QRecibo->fieldByName(QStringLiteral("MEMNOME"))->asString().trimmed();
    // "000.000.000-00", also for a CPF stored by older versions with hyphens.
    const QString cpf =
        TaxNumber::formatted(TaxNumber::Kind::Cpf, QRecibo->fieldByName(QStringLiteral("MEMCPF"))->asString());
    const double amount = QRecibo->fieldByName(QStringLiteral("MOVVALOR"))->asFloat();
    const QString category = QRecibo->fieldByName(QStringLiteral("CATDESCRICAO"))->asString().trimmed();
    const QString description = QRecibo->fieldByName(QStringLiteral("MOVDESCRICAO"))->asString().trimmed();
    QStringList about;
    for (const QString &part : {category, description})
        if (!part.isEmpty() && !about.contains(part, Qt::CaseInsensitive))
            about << part;
    QString text = QStringLiteral("Recebemos de %1").arg(giver.isEmpty() ? QString(40, u'_') : giver);
    if (!cpf.isEmpty() && cpf.contains(QRegularExpression(QStringLiteral("\\d"))))
        text += QStringLiteral(", CPF %1,").arg(cpf);
    text += QStringLiteral(" a importância de R$\u00a0%1 (%2)")
                .arg(TFRLivroCaixa::formatAmount(amount), AmountInWords::reais(amount));
    if (!about.isEmpty())
        text += QStringLiteral(", referente a %1").arg(about.join(QStringLiteral(": ")));
    return text + u'.';
}

void TFRRecibo::setEvery(const QString &name, const QString &caption)
{
    for (const QString &suffix : {QStringLiteral("1"), QStringLiteral("2")})
        QuickRep1->element<LabelElement>(name + suffix)->caption = caption;
}

void TFRRecibo::QRBand1BeforePrint()
{
    ChurchPrint::fillHeading(QuickRep1);
    ChurchPrint::fillSignatures(QuickRep1, {ChurchPrint::kOfficers.first()});
    if (QRecibo->isEmpty()) { // the movement is gone: an empty receipt, nothing made up
        for (const char *name : {"txtNumero", "txtValor", "txtTexto", "txtLocalData"})
            setEvery(QString::fromLatin1(name), QString());
        return;
    }
    const QString document = QRecibo->fieldByName(QStringLiteral("MOVDOCUMENTO"))->asString().trimmed();
    setEvery(QStringLiteral("txtNumero"),
             document.isEmpty()
                 ? QStringLiteral("Lançamento nº %1").arg(QRecibo->fieldByName(QStringLiteral("MOVCODIGO"))->asInteger())
                 : QStringLiteral("Nº %1").arg(document));
    setEvery(QStringLiteral("txtValor"),
             QStringLiteral("R$\u00a0") + TFRLivroCaixa::formatAmount(QRecibo->fieldByName(QStringLiteral("MOVVALOR"))->asFloat()));
    setEvery(QStringLiteral("txtTexto"), receiptText());
    const QDate date = QRecibo->fieldByName(QStringLiteral("MOVDATA"))->asDate();
    const QString city = ChurchData::orBlank(ChurchData::value(ParameterCode::CityState), 25);
    setEvery(QStringLiteral("txtLocalData"),
             QStringLiteral("%1, %2.").arg(city, date.isValid() ? ChurchPrint::longDate(date)
                                                                : QStringLiteral("____ de ______________ de ______")));
}
