#include "URLivroCaixa.h"

#include "datamodule/ChurchData.h"
#include "uikit/Messages.h"
#include "datamodule/UDM.h"
#include "dataset/DbError.h"
#include "provider/QueryDataset.h"

#include <QLocale>
#include <cmath>

namespace {

const QString Entry = QStringLiteral("ENTRADA");
const QString Exit = QStringLiteral("SAIDA");
const QColor Red(255, 0, 0);
const QColor Blue(0, 0, 255);

// The movement grid, tenths of a millimetre from the band's left edge.
constexpr int DateLeft = 21;
constexpr int HistoryLeft = 143;
constexpr int CarriedLeft = 1156;
constexpr int EntriesLeft = 1421;
constexpr int ExitsLeft = 1675;
constexpr int GridRight = 1889;
constexpr int Pad = 10;       // text inside its cell
constexpr int TextHeight = 42;

constexpr int HeaderHeight = 413;
constexpr int DetailHeight = 48;
constexpr int FooterHeight = 773;
constexpr int GridRow = 60;   // height of the header's and footer's ruled rows
constexpr int TitleRowTop = HeaderHeight - 2 * GridRow;
constexpr int CarriedRowTop = HeaderHeight - GridRow;
constexpr int BoxTop = 120;   // the closing box, in the footer
constexpr int BoxRow = 55;
constexpr int BoxLeft = 405;
constexpr int SubtotalLeft = BoxLeft; // the carried-totals row and the box line up

QRect cell(int left, int right, int top, int height = TextHeight)
{
    return QRect(left + Pad, top, right - left - 2 * Pad, height);
}

// Texts of this report: Times New Roman, bold, 10 points, in a colour.
template<typename T> T *styled(T *element, const QColor &colour, Qt::Alignment alignment)
{
    element->font.bold = true;
    element->font.colour = colour;
    element->alignment = alignment;
    return element;
}

LabelElement *label(Band *band, const QString &name, const QRect &rect, const QString &caption,
                    const QColor &colour = Qt::black, Qt::Alignment alignment = Qt::AlignLeft)
{
    return styled(band->addLabel(name, rect, caption), colour, alignment);
}

// A rule: a rectangle one unit wide or high.
void vRule(Band *band, const QString &name, int x, int top, int height)
{
    band->addShape(name, QRect(x, top, 1, height));
}

void hRule(Band *band, const QString &name, int left, int right, int y)
{
    band->addShape(name, QRect(left, y, right - left, 1));
}

// Names for the rules that no handler touches.
QString ruleName(const QString &band, int number)
{
    return band + QStringLiteral("Regra%1").arg(number);
}

} // namespace

const QStringList TFRLivroCaixa::kSql = {
    QStringLiteral("SELECT TMOVIMETACOES.*"), QStringLiteral("FROM TMOVIMETACOES"),
    QStringLiteral("WHERE TMOVIMETACOES.MOVLIVRO = :livro"), QStringLiteral("ORDER BY TMOVIMETACOES.MOVDATA")};

TFRLivroCaixa::TFRLivroCaixa(QWidget *owner) : ReportWindow(owner)
{
    setObjectName(QStringLiteral("FRLivroCaixa"));
    QLivro = addQuery(QStringLiteral("QLivro"), kSql);
    QuickRep1->defaultFont = {QStringLiteral("Times New Roman"), 10, true, Qt::black};
    buildPageHeader();
    buildDetail();
    buildPageFooter();
    QuickRep1->onStart = [this] { QuickRep1BeforePrint(); };
}

void TFRLivroCaixa::setBook(int code, const QString &description)
{
    m_bookCode = code;
    m_bookDescription = description;
}

QString TFRLivroCaixa::formatAmount(double amount)
{
    double cents = std::round(amount * 100) / 100;
    if (cents == 0)
        cents = 0; // no "-0,00"
    return QLocale().toString(cents, 'f', 2);
}

QString TFRLivroCaixa::formatDayMonth(const QDate &date)
{
    return date.isValid() ? date.toString(QStringLiteral("dd/MM")) : QString();
}

// ---- Layout

void TFRLivroCaixa::buildPageHeader()
{
    Band *band = QuickRep1->addBand(Band::Kind::PageHeader, QStringLiteral("QRBand1"), HeaderHeight);
    const QString lead = QStringLiteral("Movimento do caixa ");
    label(band, QStringLiteral("QRLabel2"), QRect(85, 40, 600, TextHeight), lead, Red)->autoSize = true;
    const QFont font = TextMeasure::layoutFont(QuickRep1->defaultFont.family, 10, true);
    const int afterLead = 85 + int(std::ceil(TextMeasure::width(font, lead)));
    label(band, QStringLiteral("txtMes"), QRect(afterLead, 40, 1000, TextHeight), QStringLiteral("txtMes"), Red)
        ->autoSize = true;
    label(band, QStringLiteral("txtNomeDaIgreja"), QRect(85, 110, 1800, TextHeight),
          QStringLiteral("Aqui deve estar o nome da igreja, para preencher este campo vá na tela principal em "
                         "Configurações > Parametros"),
          Red);

    // Column titles, then the carried row, boxed and ruled like the grid below.
    int rule = 0;
    for (const auto &[name, top] : {std::pair{QStringLiteral("QRShape1"), TitleRowTop},
                                    std::pair{QStringLiteral("QRShape17"), CarriedRowTop}}) {
        band->addShape(name, QRect(DateLeft, top, GridRight - DateLeft, GridRow));
        for (int x : {HistoryLeft, CarriedLeft, EntriesLeft, ExitsLeft})
            vRule(band, ruleName(band->name(), ++rule), x, top, GridRow);
    }
    const int titleTop = TitleRowTop + (GridRow - TextHeight) / 2;
    label(band, QStringLiteral("QRLabel4"), cell(DateLeft, HistoryLeft, titleTop), QStringLiteral("Data"), Qt::black, Qt::AlignHCenter);
    label(band, QStringLiteral("QRLabel5"), cell(HistoryLeft, CarriedLeft, titleTop), QStringLiteral("Histórico"), Qt::black, Qt::AlignHCenter);
    label(band, QStringLiteral("QRLabel7"), cell(EntriesLeft, ExitsLeft, titleTop), QStringLiteral("Entradas"), Qt::black, Qt::AlignHCenter);
    label(band, QStringLiteral("QRLabel3"), cell(ExitsLeft, GridRight, titleTop), QStringLiteral("Saídas"), Qt::black, Qt::AlignHCenter);

    const int carriedTop = CarriedRowTop + (GridRow - TextHeight) / 2;
    label(band, QStringLiteral("QRLabel8"), cell(HistoryLeft, CarriedLeft, carriedTop), QStringLiteral("Transporte"), Blue, Qt::AlignHCenter);
    label(band, QStringLiteral("txtTransporte"), cell(CarriedLeft, EntriesLeft, carriedTop), QString(), Qt::black, Qt::AlignRight);
    label(band, QStringLiteral("txtTransEntradas"), cell(EntriesLeft, ExitsLeft, carriedTop), QString(), Blue, Qt::AlignRight);
    label(band, QStringLiteral("txtTransSaidas"), cell(ExitsLeft, GridRight, carriedTop), QString(), Red, Qt::AlignRight);
    band->beforePrint = [this](Band &) { QRBand1BeforePrint(); };
}

void TFRLivroCaixa::buildDetail()
{
    Band *band = QuickRep1->addBand(Band::Kind::Detail, QStringLiteral("QRBand2"), DetailHeight);
    int rule = 0;
    for (int x : {DateLeft, HistoryLeft, CarriedLeft, EntriesLeft, ExitsLeft, GridRight})
        vRule(band, ruleName(band->name(), ++rule), x, 0, DetailHeight);
    // The rule under the line runs on its lower edge, where the column rules end.
    hRule(band, ruleName(band->name(), ++rule), DateLeft, GridRight, DetailHeight);
    const int top = (DetailHeight - TextHeight) / 2;
    label(band, QStringLiteral("txtData"), cell(DateLeft, HistoryLeft, top), QString(), Qt::black, Qt::AlignHCenter);
    styled(band->addDataText(QStringLiteral("QRDBText2"), cell(HistoryLeft, CarriedLeft, top), QStringLiteral("MOVDESCRICAO")),
           Qt::black, Qt::AlignLeft);
    label(band, QStringLiteral("txtObservacao"), cell(CarriedLeft, EntriesLeft, top), QString(), Qt::black, Qt::AlignRight);
    label(band, QStringLiteral("txtEntrada"), cell(EntriesLeft, ExitsLeft, top), QString(), Qt::black, Qt::AlignRight);
    label(band, QStringLiteral("txtSaidas"), cell(ExitsLeft, GridRight, top), QString(), Qt::black, Qt::AlignRight);
    band->beforePrint = [this](Band &) { QRBand2BeforePrint(); };
}

void TFRLivroCaixa::buildPageFooter()
{
    Band *band = QuickRep1->addBand(Band::Kind::PageFooter, QStringLiteral("QRBand3"), FooterHeight);
    band->addShape(QStringLiteral("QRShape13"), QRect(SubtotalLeft, 0, GridRight - SubtotalLeft, GridRow));
    int rule = 0;
    for (int x : {CarriedLeft, EntriesLeft, ExitsLeft})
        vRule(band, ruleName(band->name(), ++rule), x, 0, GridRow);
    const int rowTop = (GridRow - TextHeight) / 2;
    label(band, QStringLiteral("QRLabel6"), cell(SubtotalLeft, CarriedLeft, rowTop), QStringLiteral("A transportar totais do dia"));
    label(band, QStringLiteral("txtSubEntrada"), cell(EntriesLeft, ExitsLeft, rowTop), QString(), Blue, Qt::AlignRight);
    label(band, QStringLiteral("txtSubSaida"), cell(ExitsLeft, GridRight, rowTop), QString(), Red, Qt::AlignRight);

    // The closing box: three rows, the carried column boxed, a rule between entries and exits.
    const int boxHeight = 3 * BoxRow;
    band->addShape(QStringLiteral("FiguraTotalizador1"), QRect(BoxLeft, BoxTop, GridRight - BoxLeft, boxHeight));
    band->addShape(QStringLiteral("FiguraTotalizador2"), QRect(CarriedLeft, BoxTop, EntriesLeft - CarriedLeft, boxHeight));
    vRule(band, QStringLiteral("FiguraTotalizador3"), ExitsLeft, BoxTop, boxHeight);
    hRule(band, QStringLiteral("FiguraTotalizador4"), BoxLeft, GridRight, BoxTop + BoxRow);
    hRule(band, QStringLiteral("FiguraTotalizador5"), BoxLeft, GridRight, BoxTop + 2 * BoxRow);
    const struct { const char *label, *caption, *entries, *exits; } rows[] = {
        {"LabelTotalizador1", "Saldo anterior", "txtSaldoAnterior", "LabelTotalizador5"},
        {"LabelTotalizador2", "Saldo atual", "LabelTotalizador4", "txtSaldoAtual"},
        {"LabelTotalizador3", "Para conferencia", "txtConferencia1", "txtConferencia2"},
    };
    for (int i = 0; i < 3; ++i) {
        const int top = BoxTop + i * BoxRow + (BoxRow - TextHeight) / 2;
        label(band, QString::fromLatin1(rows[i].label), cell(BoxLeft, CarriedLeft, top), QString::fromUtf8(rows[i].caption));
        label(band, QString::fromLatin1(rows[i].entries), cell(EntriesLeft, ExitsLeft, top), QStringLiteral("xxxxxxxxx"), Qt::black, Qt::AlignRight);
        label(band, QString::fromLatin1(rows[i].exits), cell(ExitsLeft, GridRight, top), QStringLiteral("xxxxxxxxx"), Qt::black, Qt::AlignRight);
    }
    label(band, QStringLiteral("txtFechamento"), QRect(BoxLeft, BoxTop + boxHeight + 60, GridRight - BoxLeft, TextHeight),
          QString());
    band->beforePrint = [this](Band &) { QRBand3BeforePrint(); };
}

// ---- Handlers

void TFRLivroCaixa::setCaption(const char *label, const QString &caption)
{
    QuickRep1->element<LabelElement>(QString::fromLatin1(label))->caption = caption;
}

void TFRLivroCaixa::QuickRep1BeforePrint()
{
    m_entries = 0;
    m_exits = 0;
    m_pages = 0;
    m_closesMonths = ClosedMonths::available();
    m_closing = ClosedMonths::closingOf(m_bookCode);
}

void TFRLivroCaixa::QRBand1BeforePrint()
{
    setCaption("txtNomeDaIgreja", churchName());
    ++m_pages;
    if (m_pages == 1) {
        m_previousBalance = ClosedMonths::previousBalanceOf(m_bookCode);
        setCaption("QRLabel8", QStringLiteral("Transporte mês anterior"));
        setCaption("txtTransporte", formatAmount(m_previousBalance));
        setCaption("txtTransEntradas", QString());
        setCaption("txtTransSaidas", QString());
    } else {
        setCaption("QRLabel8", QStringLiteral("Transporte"));
        setCaption("txtTransporte", QString());
        setCaption("txtTransEntradas", formatAmount(carriedEntries()));
        setCaption("txtTransSaidas", formatAmount(carriedExits()));
    }
    setCaption("txtMes", m_bookDescription);
}

void TFRLivroCaixa::QRBand2BeforePrint()
{
    const QString kind = QLivro->fieldByName(QStringLiteral("MOVDEBITOCREDITO"))->asString();
    const double amount = QLivro->fieldByName(QStringLiteral("MOVVALOR"))->asFloat();
    setCaption("txtData", formatDayMonth(QLivro->fieldByName(QStringLiteral("MOVDATA"))->asDate()));
    setCaption("txtEntrada", kind == Entry ? formatAmount(amount) : QString());
    setCaption("txtSaidas", kind == Exit ? formatAmount(amount) : QString());
    if (kind == Entry)
        m_entries += amount;
    else if (kind == Exit)
        m_exits += amount;
    // A movement of no known kind is counted nowhere and shows no amount.
    const QColor colour = kind == Entry ? Blue : kind == Exit ? Red : QColor(Qt::black);
    for (const char *name : {"txtData", "QRDBText2", "txtObservacao", "txtEntrada", "txtSaidas"})
        QuickRep1->findElement(QString::fromLatin1(name))->font.colour = colour;
}

void TFRLivroCaixa::QRBand3BeforePrint()
{
    setCaption("txtSubEntrada", formatAmount(carriedEntries()));
    setCaption("txtSubSaida", formatAmount(carriedExits()));
    setCaption("txtFechamento", closingLine());
    const bool lastPage = QLivro->eof();
    showClosingBox(lastPage);
    if (!lastPage)
        return;
    const double previous = m_previousBalance;
    const double current = previous + m_entries - m_exits;
    const double crossCheck = previous + m_entries;
    setCaption("txtSaldoAnterior", formatAmount(previous));
    setCaption("txtSaldoAtual", formatAmount(current));
    setCaption("txtConferencia1", formatAmount(crossCheck));
    setCaption("txtConferencia2", formatAmount(crossCheck));
    if (!m_closing) // a closed month's balances were stored when it was closed
        storeBalances(previous, current);
}

QString TFRLivroCaixa::closingLine() const
{
    if (m_closing)
        return ClosedMonths::footLine(*m_closing);
    return m_closesMonths ? QStringLiteral("Mês em aberto") : QString();
}

// ---- Computed values

// At a page break the detail handler of the row that opens the next page has
// already run: the carried totals leave its amount out.
double TFRLivroCaixa::amountOpeningNextPage(const QString &kind) const
{
    if (QLivro->eof() || QLivro->fieldByName(QStringLiteral("MOVDEBITOCREDITO"))->asString() != kind)
        return 0;
    return QLivro->fieldByName(QStringLiteral("MOVVALOR"))->asFloat();
}

double TFRLivroCaixa::carriedEntries() const
{
    return m_entries - amountOpeningNextPage(Entry);
}

double TFRLivroCaixa::carriedExits() const
{
    return m_exits - amountOpeningNextPage(Exit);
}

// The value of parameter 1, whatever search the parameters window left on;
// empty when there is none.
QString TFRLivroCaixa::churchName() const
{
    return ChurchData::value(ParameterCode::ChurchName);
}

// Drawn on the last page; elsewhere in white, so the space stays blank.
void TFRLivroCaixa::showClosingBox(bool visible)
{
    const QColor ink = visible ? QColor(Qt::black) : QColor(Qt::white);
    const QColor values = visible ? Blue : QColor(Qt::white);
    for (int i = 1; i <= 5; ++i)
        QuickRep1->element<ShapeElement>(QStringLiteral("FiguraTotalizador%1").arg(i))->pen = ink;
    for (int i = 1; i <= 5; ++i)
        QuickRep1->findElement(QStringLiteral("LabelTotalizador%1").arg(i))->font.colour = ink;
    for (const char *name : {"txtSaldoAnterior", "txtSaldoAtual", "txtConferencia1", "txtConferencia2"})
        QuickRep1->findElement(QString::fromLatin1(name))->font.colour = values;
}

// Stores both balances on the reported book, found by its code, and applies
// at once. Any refusal on the way is shown and leaves the book as it was
// stored; the report goes on. A profile that only reads the cash book
// reports it without storing anything.
void TFRLivroCaixa::storeBalances(double previous, double current)
{
    TableDataset *books = DM->TBLIVRO;
    if (books->readOnly())
        return;
    try {
        if (!books->locate(QStringLiteral("LIVCODIGO"), {m_bookCode}))
            return;
        books->edit();
        DM->TBLIVROLIVSALDOATUAL->setAsFloat(current);
        DM->TBLIVROLIVSALDOANTERIOR->setAsFloat(previous);
        books->post();
        books->applyUpdates(0);
    } catch (const DbError &error) {
        if (books->active())
            books->cancelUpdates();
        Messages::error(error.text());
    }
}
