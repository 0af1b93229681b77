#include "URPrestacaoContas.h"

#include "datamodule/ClosedMonths.h"

#include "CategoryTotals.h"
#include "reports/base/ChurchPrint.h"
#include "dataset/LineDataset.h"
#include "URLivroCaixa.h"

#include "datamodule/ChurchData.h"
#include "datamodule/UDM.h"
#include "dataset/TableDataset.h"

#include <QLocale>

namespace {

const QColor HeadingFill(230, 230, 230);
const QColor BalanceFill(255, 251, 240);

// Columns, tenths of a millimetre from the band's left edge.
constexpr int DescriptionLeft = 20;
constexpr int CategoryIndent = 80;
constexpr int MovementsLeft = 1180;
constexpr int AmountLeft = 1480;
constexpr int Right = 1880;

constexpr int TitleHeight = 470;
constexpr int HeadingsTop = 410;
constexpr int LineHeight = 52;
constexpr int TextHeight = 42;
constexpr int FooterHeight = 760;

using ChurchPrint::text;

QRect cell(int left, int right, int top = (LineHeight - TextHeight) / 2)
{
    return QRect(left, top, right - left, TextHeight);
}

QString amount(double value)
{
    return TFRLivroCaixa::formatAmount(value);
}

} // namespace

TFRPrestacaoContas::TFRPrestacaoContas(QWidget *owner) : ReportWindow(owner)
{
    setObjectName(QStringLiteral("FRPrestacaoContas"));
    QLinhas = new LineDataset(QStringLiteral("QLinhas"),
                              {{QStringLiteral("TIPO"), FieldType::Text, 10},
                               {QStringLiteral("DESCRICAO"), FieldType::Text, 80},
                               {QStringLiteral("LANCAMENTOS"), FieldType::Integer},
                               {QStringLiteral("VALOR"), FieldType::Money}},
                              this);
    QuickRep1->dataset = QLinhas;
    buildTitle();
    buildDetail();
    buildFooter();
    QuickRep1->onStart = [this] { QuickRep1BeforePrint(); };
}

void TFRPrestacaoContas::setBook(int code, const QString &description)
{
    m_bookCode = code;
    m_bookDescription = description;
}

// ---- Layout

void TFRPrestacaoContas::buildTitle()
{
    Band *band = QuickRep1->addBand(Band::Kind::Title, QStringLiteral("QRBand1"), TitleHeight);
    const int width = QuickRep1->bandWidth();
    const int below = ChurchPrint::addHeading(band, 0, width);
    text(band, QStringLiteral("QRLabel1"), QRect(0, below + 60, width, 65), 13, true, Qt::AlignHCenter, kTitle);
    text(band, QStringLiteral("txtLivro"), QRect(0, below + 130, width, 50), 10, true, Qt::AlignHCenter);
    band->addShape(QStringLiteral("QRShape1"), QRect(0, HeadingsTop - 10, Right + 20, LineHeight + 10))->background =
        HeadingFill;
    text(band, QStringLiteral("QRLabel2"), cell(DescriptionLeft, MovementsLeft, HeadingsTop), 9, true, Qt::AlignLeft,
         QStringLiteral("Descrição"));
    text(band, QStringLiteral("QRLabel3"), cell(MovementsLeft, AmountLeft - 60, HeadingsTop), 9, true, Qt::AlignRight,
         QStringLiteral("Lançamentos"));
    text(band, QStringLiteral("QRLabel4"), cell(AmountLeft, Right, HeadingsTop), 9, true, Qt::AlignRight,
         QStringLiteral("Valor (R$)"));
    band->beforePrint = [this](Band &) { QRBand1BeforePrint(); };
}

void TFRPrestacaoContas::buildDetail()
{
    Band *band = QuickRep1->addBand(Band::Kind::Detail, QStringLiteral("QRBand2"), LineHeight);
    text(band, QStringLiteral("txtDescricao"), cell(DescriptionLeft, MovementsLeft), 9, false);
    text(band, QStringLiteral("txtLancamentos"), cell(MovementsLeft, AmountLeft - 60), 9, false, Qt::AlignRight);
    text(band, QStringLiteral("txtValor"), cell(AmountLeft, Right), 9, false, Qt::AlignRight);
    band->addShape(QStringLiteral("QRShape2"), QRect(AmountLeft, 0, Right - AmountLeft, 1)); // above a total
    band->beforePrint = [this](Band &b) { QRBand2BeforePrint(b); };
}

// On the last page: where and when, and the lines to sign on.
void TFRPrestacaoContas::buildFooter()
{
    Band *band = QuickRep1->addBand(Band::Kind::PageFooter, QStringLiteral("QRBand3"), FooterHeight);
    const int width = QuickRep1->bandWidth();
    text(band, QStringLiteral("txtLocalData"), QRect(0, 40, width, 50), 10, false, Qt::AlignRight);
    ChurchPrint::addSignatures(band, 260, ChurchPrint::kOfficers, 9);
    text(band, QStringLiteral("QRLabel5"), QRect(0, 400, width, 50), 10, true, Qt::AlignHCenter,
         QStringLiteral("Conselho Fiscal"));
    ChurchPrint::addSignatures(band, 570, ChurchPrint::kFiscalCouncil, 9);
    LabelElement *date = addGeneratedOn(band, 0, 300, FooterHeight - 45);
    date->font.pointSize = 8;
    QuickRep1->findElement(QStringLiteral("QRLabel9"))->font.pointSize = 8;
    band->beforePrint = [this](Band &) { QRBand3BeforePrint(); };
}

// ---- Handlers

void TFRPrestacaoContas::addLine(const QString &kind, const QString &description, const QVariant &movements,
                                 const QVariant &value)
{
    QLinhas->append({kind, description, movements, value});
}

// The lines of the book as the database holds it now; the previous balance
// is the one the cash book report takes, so both close on the same balance.
void TFRPrestacaoContas::QuickRep1BeforePrint()
{
    const CategoryTotals totals = CategoryTotals::ofBook(m_bookCode);
    m_previous = ClosedMonths::previousBalanceOf(m_bookCode);
    m_current = m_previous + totals.entriesTotal() - totals.exitsTotal();
    QLinhas->clear();
    addLine(kBalance, QStringLiteral("Saldo anterior"), {}, m_previous);
    const struct
    {
        const char *heading, *none, *total;
        const QList<CategoryTotal> &lines;
        double sum;
    } sections[] = {{"Entradas", "Nenhuma entrada no mês", "Total das entradas", totals.entries, totals.entriesTotal()},
                    {"Saídas", "Nenhuma saída no mês", "Total das saídas", totals.exits, totals.exitsTotal()}};
    for (const auto &section : sections) {
        addLine({}, {});
        addLine(kHeading, QString::fromUtf8(section.heading));
        for (const CategoryTotal &t : section.lines)
            addLine(kCategory, t.description, t.movements, t.amount);
        if (section.lines.isEmpty())
            addLine(kCategory, QString::fromUtf8(section.none));
        addLine(kTotal, QString::fromUtf8(section.total), {}, section.sum);
    }
    addLine({}, {});
    addLine(kBalance, QStringLiteral("Saldo atual"), {}, m_current);
    QLinhas->open();
}

QString TFRPrestacaoContas::bookLine() const
{
    TableDataset *books = DM->TBLIVRO;
    books->open();
    for (int i = 0; i < books->allRowCount(); ++i) {
        if (books->allRowValue(i, DM->TBLIVROLIVCODIGO->index()).toInt() != m_bookCode)
            continue;
        const int month = books->allRowValue(i, DM->TBLIVROLIVMES->index()).toInt();
        const QVariant year = books->allRowValue(i, DM->TBLIVROLIVANO->index());
        if (month < 1 || month > 12 || year.isNull())
            return m_bookDescription;
        QString name = QLocale().standaloneMonthName(month);
        name = name.left(1).toUpper() + name.mid(1);
        return QStringLiteral("%1 - %2 de %3").arg(m_bookDescription, name).arg(year.toInt());
    }
    return m_bookDescription;
}

void TFRPrestacaoContas::QRBand1BeforePrint()
{
    ChurchPrint::fillHeading(QuickRep1);
    QuickRep1->element<LabelElement>(QStringLiteral("txtLivro"))->caption = bookLine();
}

// Each kind of line its look: headings shaded, totals and balances bold,
// categories indented with their number of movements.
void TFRPrestacaoContas::QRBand2BeforePrint(Band &band)
{
    const QString kind = QLinhas->fieldByName(QStringLiteral("TIPO"))->asString();
    Field *movements = QLinhas->fieldByName(QStringLiteral("LANCAMENTOS"));
    Field *value = QLinhas->fieldByName(QStringLiteral("VALOR"));
    auto *description = QuickRep1->element<LabelElement>(QStringLiteral("txtDescricao"));
    auto *count = QuickRep1->element<LabelElement>(QStringLiteral("txtLancamentos"));
    auto *sum = QuickRep1->element<LabelElement>(QStringLiteral("txtValor"));
    description->caption = QLinhas->fieldByName(QStringLiteral("DESCRICAO"))->asString();
    count->caption = movements->isNull() ? QString() : movements->asString();
    sum->caption = value->isNull() ? QString() : amount(value->asFloat());
    const bool category = kind == kCategory;
    description->rect.moveLeft(category ? CategoryIndent : DescriptionLeft);
    for (LabelElement *label : {description, count, sum}) {
        label->font.bold = !category;
        label->font.pointSize = kind == kBalance || kind == kHeading ? 10 : 9;
    }
    const QColor fill = kind == kHeading ? HeadingFill : kind == kBalance ? BalanceFill : QColor(Qt::white);
    band.background = fill;
    band.keepWithNext = kind == kHeading ? 2 * LineHeight : 0; // a section's heading with its first lines
    QuickRep1->findElement(QStringLiteral("QRShape2"))->visible = kind == kTotal;
}

void TFRPrestacaoContas::QRBand3BeforePrint()
{
    const bool lastPage = QLinhas->eof();
    for (const auto &element : QuickRep1->band(QStringLiteral("QRBand3"))->elements())
        if (element->name != QLatin1String("QRLabel9") && element->name != QLatin1String("txtData"))
            element->visible = lastPage;
    const QString city = ChurchData::value(ParameterCode::CityState).trimmed();
    QuickRep1->element<LabelElement>(QStringLiteral("txtLocalData"))->caption =
        QStringLiteral("%1, ____ de ____________________ de ________.")
            .arg(city.isEmpty() ? QStringLiteral("______________________") : city);
    ChurchPrint::fillSignatures(QuickRep1, ChurchPrint::kOfficers);
    ChurchPrint::fillSignatures(QuickRep1, ChurchPrint::kFiscalCouncil);
    stampToday(QuickRep1->element<LabelElement>(QStringLiteral("txtData")));
}
