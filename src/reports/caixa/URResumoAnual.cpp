#include "URResumoAnual.h"

#include "CategoryTotals.h"
#include "URLivroCaixa.h"
#include "YearCategories.h"
#include "YearChart.h"

#include "datamodule/CashCategories.h"
#include "datamodule/ClosedMonths.h"

#include "datamodule/ChurchData.h"
#include "uikit/Today.h"

#include <QLocale>

namespace {

const QColor Red(255, 0, 0);
const QColor Blue(0, 0, 255);
const QColor Grey(110, 110, 110);
const QColor HeadingFill(235, 235, 235);

// The table's columns, tenths of a millimetre from the band's left edge.
constexpr int MonthLeft = 0;
constexpr int BookLeft = 230;
constexpr int PreviousLeft = 760;
constexpr int EntriesLeft = 985;
constexpr int ExitsLeft = 1210;
constexpr int CurrentLeft = 1435;
constexpr int ClosedLeft = 1660; // when the month was closed
constexpr int MarkLeft = 1860;
constexpr int TableRight = 1900;
constexpr int Pad = 12;

constexpr int TableTop = 230;
constexpr int HeadingRow = 60;
constexpr int MonthRow = 55;
constexpr int TotalsTop = TableTop + HeadingRow + 12 * MonthRow;
constexpr int TableBottom = TotalsTop + HeadingRow;
constexpr int ChartTitleTop = TableBottom + 90;
constexpr int ChartTop = ChartTitleTop + 50;
constexpr int ChartHeight = 820;
// Below the chart, the year's totals by category.
constexpr int CategoriesTop = ChartTop + ChartHeight + 40;
constexpr int TitleHeight = CategoriesTop + YearCategories::kHeight;
constexpr int FooterHeight = 230;

LabelElement *text(Band *band, const QString &name, int left, int right, int top, int height,
                   const QString &caption, Qt::Alignment alignment = Qt::AlignLeft, qreal points = 9,
                   bool bold = false, const QColor &colour = Qt::black)
{
    const int textHeight = 45;
    LabelElement *label =
        band->addLabel(name, QRect(left + Pad, top + (height - textHeight) / 2, right - left - 2 * Pad, textHeight), caption);
    label->font = {QString(), points, bold, colour};
    label->alignment = alignment;
    return label;
}

QString amount(double value)
{
    return TFRLivroCaixa::formatAmount(value);
}

QString monthName(int month)
{
    QString name = QLocale().standaloneMonthName(month);
    return name.left(1).toUpper() + name.mid(1);
}

} // namespace

TFRResumoAnual::TFRResumoAnual(QWidget *owner) : ReportWindow(owner)
{
    setObjectName(QStringLiteral("FRResumoAnual"));
    QuickRep1->defaultFont = {QStringLiteral("Times New Roman"), 10, false, Qt::black};
    buildTitle();
    buildFooter();
    QuickRep1->onStart = [this] { QuickRep1BeforePrint(); };
}

TFRResumoAnual::~TFRResumoAnual() = default;

// ---- Layout

void TFRResumoAnual::buildTitle()
{
    Band *band = QuickRep1->addBand(Band::Kind::Title, QStringLiteral("QRBand1"), TitleHeight);
    const int width = QuickRep1->bandWidth();
    text(band, QStringLiteral("txtNomeDaIgreja"), 0, width, 0, 70, QString(), Qt::AlignHCenter, 14, true);
    text(band, QStringLiteral("txtCNPJ"), 0, width, 65, 50, QString(), Qt::AlignHCenter, 9);
    text(band, QStringLiteral("QRLabel1"), 0, width, 125, 70, QString(), Qt::AlignHCenter, 12, true);
    buildTable(band, TableTop);
    text(band, QStringLiteral("QRLabel2"), 0, width, ChartTitleTop, 50,
         QStringLiteral("Entradas, saídas e saldo atual por mês"), Qt::AlignLeft, 10, true);
    m_chart = std::make_unique<YearChart>(band, QRect(0, ChartTop, width, ChartHeight));
    m_categories = std::make_unique<YearCategories>(band, QRect(0, CategoriesTop, width, YearCategories::kHeight));
    band->beforePrint = [this](Band &) { QRBand1BeforePrint(); };
}

void TFRResumoAnual::buildTable(Band *band, int top)
{
    // Heading row, shaded; twelve month rows; the totals row.
    band->addShape(QStringLiteral("QRShape1"), QRect(MonthLeft, top, TableRight, HeadingRow))->background = HeadingFill;
    band->addShape(QStringLiteral("QRShape2"), QRect(MonthLeft, top, TableRight, TableBottom - top));
    band->addShape(QStringLiteral("QRShape3"), QRect(MonthLeft, TotalsTop, TableRight, HeadingRow));
    for (int x : {BookLeft, PreviousLeft, EntriesLeft, ExitsLeft, CurrentLeft, ClosedLeft, MarkLeft})
        band->addShape(QStringLiteral("QRBand1Regra"), QRect(x, top, 1, TableBottom - top));
    for (int i = 1; i < 12; ++i)
        band->addShape(QStringLiteral("QRBand1Linha"), QRect(MonthLeft, top + HeadingRow + i * MonthRow, TableRight, 1))
            ->pen = QColor(190, 190, 190);

    const struct { const char *name, *caption; int left, right; } headings[] = {
        {"QRLabel3", "Mês", MonthLeft, BookLeft},           {"QRLabel4", "Livro caixa", BookLeft, PreviousLeft},
        {"QRLabel5", "Saldo anterior", PreviousLeft, EntriesLeft}, {"QRLabel6", "Entradas", EntriesLeft, ExitsLeft},
        {"QRLabel7", "Saídas", ExitsLeft, CurrentLeft},     {"QRLabel8", "Saldo atual", CurrentLeft, ClosedLeft},
        {"QRLabel10", "Fechado em", ClosedLeft, MarkLeft},
    };
    for (const auto &h : headings)
        text(band, QString::fromLatin1(h.name), h.left, h.right, top, HeadingRow, QString::fromUtf8(h.caption),
             Qt::AlignHCenter, 9, true);

    const auto row = [band](int rowTop, int height, bool bold) {
        const auto cell = [&](const char *name, int left, int right, Qt::Alignment alignment, const QColor &colour) {
            return text(band, QString::fromLatin1(name), left, right, rowTop, height, QString(), alignment, 9, bold, colour);
        };
        return Row{cell("txtMes", MonthLeft, BookLeft, Qt::AlignLeft, Qt::black),
                   cell("txtLivro", BookLeft, PreviousLeft, Qt::AlignLeft, Qt::black),
                   cell("txtSaldoAnterior", PreviousLeft, EntriesLeft, Qt::AlignRight, Qt::black),
                   cell("txtEntradas", EntriesLeft, ExitsLeft, Qt::AlignRight, Blue),
                   cell("txtSaidas", ExitsLeft, CurrentLeft, Qt::AlignRight, Red),
                   cell("txtSaldoAtual", CurrentLeft, ClosedLeft, Qt::AlignRight, Qt::black),
                   cell("txtFechado", ClosedLeft, MarkLeft, Qt::AlignHCenter, Qt::black),
                   cell("txtMarca", MarkLeft - Pad, TableRight + Pad, Qt::AlignHCenter, Red)};
    };
    for (int i = 0; i < 12; ++i)
        m_rows[i] = row(top + HeadingRow + i * MonthRow, MonthRow, false);
    m_totals = row(TotalsTop, HeadingRow, true);
    for (LabelElement **cell : {&m_totals.month, &m_totals.book, &m_totals.previous, &m_totals.entries, &m_totals.exits,
                                &m_totals.current, &m_totals.closed, &m_totals.mark})
        (*cell)->name.replace(QStringLiteral("txt"), QStringLiteral("txtTotal"));
    m_totals.month->caption = QStringLiteral("Total do ano");
    m_totals.month->rect.setRight(PreviousLeft - Pad);
    m_totals.book->visible = false;
    m_totals.closed->visible = false;
    m_totals.mark->visible = false;
}

void TFRResumoAnual::buildFooter()
{
    Band *band = QuickRep1->addBand(Band::Kind::PageFooter, QStringLiteral("QRBand3"), FooterHeight);
    const int width = QuickRep1->bandWidth();
    text(band, QStringLiteral("txtNotaDesatualizados"), 0, width, 0, 50, kStaleNote, Qt::AlignLeft, 9, false, Red);
    LabelElement *books = text(band, QStringLiteral("txtNotaLivros"), 0, width, 50, 100, QString(), Qt::AlignLeft, 9);
    books->wordWrap = true;
    books->rect.setHeight(95);
    LabelElement *date = addGeneratedOn(band, 0, 300, 175);
    date->font.pointSize = 9;
    QuickRep1->findElement(QStringLiteral("QRLabel9"))->font.pointSize = 9;
    band->beforePrint = [this](Band &) { QRBand3BeforePrint(); };
}

// ---- Handlers

void TFRResumoAnual::QuickRep1BeforePrint()
{
    m_figures = CashYear::compute(m_year);
    m_closesMonths = ClosedMonths::available();
}

void TFRResumoAnual::QRBand1BeforePrint()
{
    const auto set = [this](const char *name, const QString &caption) {
        QuickRep1->element<LabelElement>(QString::fromLatin1(name))->caption = caption;
    };
    set("txtNomeDaIgreja", ChurchData::orBlank(ChurchData::value(ParameterCode::ChurchName), 40));
    set("txtCNPJ", QStringLiteral("CNPJ ") + ChurchData::orBlank(ChurchData::value(ParameterCode::Cnpj), 22));
    set("QRLabel1", QStringLiteral("Resumo Anual do Caixa %1").arg(m_year));
    for (int i = 0; i < 12; ++i)
        showMonth(m_rows[i], m_figures.months[i]);
    m_totals.previous->caption = amount(m_figures.opening);
    m_totals.entries->caption = amount(m_figures.entries());
    m_totals.exits->caption = amount(m_figures.exits());
    m_totals.current->caption = amount(m_figures.closing());
    m_chart->show(m_figures.months);
    showCategories();
}

// The months' books, as the table counts them.
void TFRResumoAnual::showCategories()
{
    if (!CashCategories::available()) {
        m_categories->hide();
        return;
    }
    QSet<int> books;
    for (const CashMonth &m : m_figures.months)
        if (m.hasBook())
            books.insert(m.bookCode);
    m_categories->show(CategoryTotals::ofYear(m_year, books));
}

void TFRResumoAnual::showMonth(Row &row, const CashMonth &month)
{
    row.month->caption = monthName(month.month);
    row.book->caption = month.hasBook() ? month.description : QStringLiteral("sem livro caixa");
    row.book->font.colour = month.hasBook() ? QColor(Qt::black) : Grey;
    row.previous->caption = month.hasBook() ? amount(month.previous) : QString();
    row.entries->caption = month.hasBook() ? amount(month.entries) : QString();
    row.exits->caption = month.hasBook() ? amount(month.exits) : QString();
    row.current->caption = month.hasBook() ? amount(month.current) : QString();
    row.closed->caption = month.closed() ? month.closedOn.toString(QStringLiteral("dd/MM/yyyy"))
                          : month.hasBook() && m_closesMonths ? QStringLiteral("aberto")
                                                              : QString();
    row.closed->font.colour = month.closed() ? QColor(Qt::black) : Grey;
    row.mark->caption = month.stale() ? QStringLiteral("*") : QString();
}

void TFRResumoAnual::QRBand3BeforePrint()
{
    QuickRep1->findElement(QStringLiteral("txtNotaDesatualizados"))->visible = m_figures.anyStale();
    QuickRep1->element<LabelElement>(QStringLiteral("txtNotaLivros"))->caption = duplicateBooksNote();
    stampToday(QuickRep1->element<LabelElement>(QStringLiteral("txtData")));
}

// The months with more than one book: only the first of each is counted,
// as the cash book report takes it for the month's balance.
QString TFRResumoAnual::duplicateBooksNote() const
{
    QStringList months;
    for (const CashMonth &m : m_figures.months)
        if (m.books > 1)
            months << QStringLiteral("%1 (%2 livros)").arg(monthName(m.month)).arg(m.books);
    if (months.isEmpty())
        return {};
    return QStringLiteral("Mais de um livro caixa no mesmo mês: %1. Só o primeiro de cada mês entra no resumo, "
                          "como no relatório do mês.")
        .arg(months.join(QStringLiteral(", ")));
}
