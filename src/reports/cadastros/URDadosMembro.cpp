#include "URDadosMembro.h"

#include "reports/base/ChurchPrint.h"
#include "dataset/LineDataset.h"
#include "datamodule/UDM.h"
#include "dataset/Field.h"
#include "dataset/TableDataset.h"
#include "uikit/Pictures.h"
#include "uikit/Today.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace {

using ChurchPrint::text;

// The kinds of line, in column TIPO.
const QString kTableTitle = QStringLiteral("TITULO");
const QString kHeadings = QStringLiteral("CABECALHO");
const QString kRow = QStringLiteral("LINHA");
const QString kGap = QStringLiteral("VAZIO");
constexpr int kCells = 5; // the most columns a table has

const QColor TitleFill(230, 230, 230);
const QColor HeadingFill(245, 245, 245);

constexpr int TitleHeight = 760;
constexpr int PhotoSide = 300;
constexpr int RowPadding = 8;
constexpr int CellGap = 15;
constexpr int FooterHeight = 60;
constexpr int TallestCell = 2000; // a longer text is cut within a page
// Below a table's title, room for its headings and a first row of two
// lines; below the headings, for that row: neither ends a page alone.
constexpr int KeptBelowTitle = 220;
constexpr int KeptBelowHeadings = 110;

QString cellName(int c)
{
    return QStringLiteral("txtCelula%1").arg(c + 1);
}

} // namespace

TFRDadosMembro::TFRDadosMembro(QWidget *owner) : ReportWindow(owner)
{
    setObjectName(QStringLiteral("FRDadosMembro"));
    FieldDefs columns{{QStringLiteral("TIPO"), FieldType::Text, 10}, {QStringLiteral("TABELA"), FieldType::Integer}};
    for (int c = 0; c < kCells; ++c)
        columns.append({QStringLiteral("C%1").arg(c + 1), FieldType::Text, 8191});
    QLinhas = new LineDataset(QStringLiteral("QLinhas"), columns, this);
    QuickRep1->dataset = QLinhas;
    buildTitle();
    buildDetail();
    Band *footer = QuickRep1->addBand(Band::Kind::PageFooter, QStringLiteral("QRBand3"), FooterHeight);
    LabelElement *date = addGeneratedOn(footer, 0, 300, 10);
    date->font.pointSize = 8;
    QuickRep1->findElement(QStringLiteral("QRLabel9"))->font.pointSize = 8;
    footer->beforePrint = [date](Band &) { stampToday(date); };
    QuickRep1->onStart = [this] { QuickRep1BeforePrint(); };
}

void TFRDadosMembro::buildTitle()
{
    Band *band = QuickRep1->addBand(Band::Kind::Title, QStringLiteral("QRBand1"), TitleHeight);
    const int width = QuickRep1->bandWidth();
    const int below = ChurchPrint::addHeading(band, 0, width);
    text(band, QStringLiteral("QRLabel1"), QRect(0, below + 40, width, 65), 13, true, Qt::AlignHCenter, kTitle);
    const int textWidth = width - PhotoSide - 60;
    text(band, QStringLiteral("txtNome"), QRect(0, below + 160, textWidth, 55), 11, true);
    text(band, QStringLiteral("txtExplicacao"), QRect(0, below + 230, textWidth, 200), 9, false)->wordWrap = true;
    band->add<PictureElement>(QStringLiteral("imgFoto"), QRect(width - PhotoSide, below + 140, PhotoSide, PhotoSide));
    band->beforePrint = [this](Band &) { QRBand1BeforePrint(); };
}

void TFRDadosMembro::buildDetail()
{
    Band *band = QuickRep1->addBand(Band::Kind::Detail, QStringLiteral("QRBand2"), 50);
    for (int c = 0; c < kCells; ++c)
        text(band, cellName(c), QRect(0, RowPadding / 2, 100, 40), 8, false)->wordWrap = true;
    band->beforePrint = [this](Band &b) { QRBand2BeforePrint(b); };
}

// Each table: its title, its headings, its rows (a line saying so when it
// has none) and a gap after it.
void TFRDadosMembro::QuickRep1BeforePrint()
{
    QList<std::pair<QString, QString>> captions;
    for (const Field *f : DM->TBMEMBRO->fields())
        captions.append({f->fieldName(), f->displayLabel()});
    m_holding = MemberData::collect(DM->SQLConnection1(), m_member, captions);
    QLinhas->clear();
    const auto line = [this](const QString &kind, int table, const QStringList &cells) {
        QVector<QVariant> values{kind, table};
        for (int c = 0; c < kCells; ++c)
            values << cells.value(c);
        QLinhas->append(values);
    };
    for (int i = 0; i < m_holding.tables.size(); ++i) {
        const MemberData::Table &t = m_holding.tables.at(i);
        line(kTableTitle, i, {t.title});
        line(kHeadings, i, t.headings);
        for (const QStringList &row : t.rows)
            line(kRow, i, row);
        if (t.rows.isEmpty())
            line(kRow, i, {QStringLiteral("(nada registrado)")});
        line(kGap, i, {});
    }
    QLinhas->open();
}

void TFRDadosMembro::QRBand1BeforePrint()
{
    ChurchPrint::fillHeading(QuickRep1);
    QuickRep1->element<LabelElement>(QStringLiteral("txtNome"))->caption =
        QStringLiteral("%1 (código %2)").arg(m_holding.name).arg(m_member);
    QuickRep1->element<LabelElement>(QStringLiteral("txtExplicacao"))->caption =
        QStringLiteral("Todos os dados que a igreja guarda sobre o titular, emitidos em %1 a seu pedido "
                       "(Lei nº 13.709/2018, Lei Geral de Proteção de Dados Pessoais, art. 18 e 19): o cadastro, o "
                       "histórico no rol, os documentos emitidos, as contribuições e movimentações por mês e o "
                       "histórico de alterações desses registros.")
            .arg(Today::date().toString(QStringLiteral("dd/MM/yyyy")));
    auto *photo = QuickRep1->element<PictureElement>(QStringLiteral("imgFoto"));
    photo->picture = Pictures::fittedInto(m_holding.photograph, QSize(photo->rect.width(), photo->rect.height()) / 2);
}

// The cells of the line at the widths of its table, as tall as the
// longest one wraps to.
void TFRDadosMembro::QRBand2BeforePrint(Band &band)
{
    const QString kind = QLinhas->fieldByName(QStringLiteral("TIPO"))->asString();
    const MemberData::Table &table = m_holding.tables.at(QLinhas->fieldByName(QStringLiteral("TABELA"))->asInteger());
    const int width = QuickRep1->bandWidth();
    const bool whole = kind == kTableTitle || kind == kGap || (kind == kRow && table.rows.isEmpty());
    const int shares = std::max(1, int(std::accumulate(table.shares.begin(), table.shares.end(), 0)));
    int left = 0, tallest = 0;
    for (int c = 0; c < kCells; ++c) {
        auto *cell = QuickRep1->element<LabelElement>(cellName(c));
        cell->visible = whole ? c == 0 : c < table.shares.size();
        if (!cell->visible)
            continue;
        const int cellWidth = whole ? width : width * table.shares.at(c) / shares;
        cell->rect = QRect(left + CellGap / 2, RowPadding / 2, cellWidth - CellGap, 40);
        left += cellWidth;
        cell->caption = QLinhas->fieldByName(QStringLiteral("C%1").arg(c + 1))->asString();
        cell->font.bold = kind != kRow;
        cell->font.pointSize = kind == kTableTitle ? 10 : 8;
        const QFont font = TextMeasure::layoutFont(QuickRep1->defaultFont.family, cell->font.pointSize, cell->font.bold);
        const auto lines = TextMeasure::lines(font, cell->caption, cell->rect.width(), Qt::TextWordWrap);
        const int height = int(std::ceil(TextMeasure::linesHeight(font, std::max<qsizetype>(1, lines.size()))));
        cell->rect.setHeight(std::min(height, TallestCell));
        tallest = std::max(tallest, cell->rect.height());
    }
    band.height = kind == kGap ? 40 : tallest + RowPadding;
    band.keepWithNext = kind == kTableTitle ? KeptBelowTitle : kind == kHeadings ? KeptBelowHeadings : 0;
    band.background = kind == kTableTitle ? TitleFill : kind == kHeadings ? HeadingFill : QColor(Qt::white);
}
