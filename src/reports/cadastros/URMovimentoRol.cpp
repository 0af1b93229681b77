#include "URMovimentoRol.h"

#include "reports/base/ChurchPrint.h"

#include "datamodule/ChurchData.h"
#include "datamodule/RollMovement.h"
#include "dataset/LineDataset.h"

namespace {

const QColor HeadingFill(230, 230, 230);
const QColor BalanceFill(255, 251, 240);

// Columns, tenths of a millimetre from the band's left edge.
constexpr int DescriptionLeft = 20;
constexpr int ItemIndent = 80;
constexpr int CountLeft = 1480;
constexpr int DateLeft = 1130;
constexpr int KindLeft = 1400;
constexpr int Right = 1880;

constexpr int TitleHeight = 400;
constexpr int HeadingsTop = 340;
constexpr int LineHeight = 46;
constexpr int TextHeight = 40;
constexpr int FooterHeight = 420;

const QList<Signature> kSigners = {{ParameterCode::Secretary, "Secretário(a)"},
                                   {ParameterCode::Pastor, "Pastor(a) ou presidente"}};

using ChurchPrint::text;

QRect cell(int left, int right, int top = (LineHeight - TextHeight) / 2)
{
    return QRect(left, top, right - left, TextHeight);
}

void addLine(LineDataset *lines, const QString &kind, const QString &description = {}, const QVariant &members = {},
             const QVariant &date = {}, const QString &detail = {})
{
    lines->append({kind, description, members, date, detail});
}

// A heading, a line per count, and their total when `total` is given.
void addCounts(LineDataset *lines, const QString &heading, const QList<RollMovement::Count> &counts,
               const QString &total = {})
{
    addLine(lines, TFRMovimentoRol::kHeading, heading);
    int sum = 0;
    for (const RollMovement::Count &c : counts) {
        addLine(lines, TFRMovimentoRol::kItem, c.description, c.members);
        sum += c.members;
    }
    if (!total.isEmpty())
        addLine(lines, TFRMovimentoRol::kTotal, total, sum);
}

// The names of a list under its heading, or the line saying there is none.
void addNames(LineDataset *lines, const QString &heading, const QString &kindCaption,
              const QList<RollMovement::Event> &events, const QString &none, const QString &unknownKind)
{
    addLine(lines, TFRMovimentoRol::kHeading, heading, events.size());
    if (events.isEmpty()) {
        addLine(lines, TFRMovimentoRol::kItem, none);
        return;
    }
    addLine(lines, TFRMovimentoRol::kColumns, QStringLiteral("Nome"), {}, {}, kindCaption);
    for (const RollMovement::Event &e : events)
        addLine(lines, TFRMovimentoRol::kName, e.name, {}, e.date,
                e.kind.trimmed().isEmpty() ? unknownKind : RollMovement::caption(e.kind.trimmed()));
}

// The figures of the first page: the sum of the year, then the roll at its end.
void addFigures(LineDataset *lines, const RollMovement::Year &y)
{
    const QString endOfYear = QDate(y.year, 12, 31).toString(QStringLiteral("dd/MM/yyyy"));
    addLine(lines, TFRMovimentoRol::kBalance,
            QStringLiteral("Membros no rol em %1").arg(ChurchPrint::longDate(QDate(y.year, 1, 1))), y.start);
    addLine(lines, {});
    addCounts(lines, QStringLiteral("(+) Admitidos em %1, por forma de admissão").arg(y.year), y.admittedBy,
              QStringLiteral("Total de admitidos"));
    addLine(lines, {});
    addCounts(lines, QStringLiteral("(−) Saídas em %1, por motivo").arg(y.year), y.leftBy,
              QStringLiteral("Total de saídas"));
    addLine(lines, {});
    addLine(lines, TFRMovimentoRol::kBalance,
            QStringLiteral("(=) Membros no rol em %1 (%2 + %3 − %4)")
                .arg(ChurchPrint::longDate(QDate(y.year, 12, 31)))
                .arg(y.start)
                .arg(y.admitted())
                .arg(y.left()),
            y.end);
    addLine(lines, {});
    addCounts(lines, QStringLiteral("Membros no rol em %1, por sexo").arg(endOfYear), y.bySex);
    addLine(lines, {});
    addCounts(lines, QStringLiteral("Membros no rol em %1, por idade nessa data").arg(endOfYear), y.byAge);
    addLine(lines, {});
    addCounts(lines, QStringLiteral("Situação atual de todos os membros cadastrados (no rol ou não)"), y.bySituation,
              QStringLiteral("Total de membros cadastrados"));
}

} // namespace

TFRMovimentoRol::TFRMovimentoRol(QWidget *owner) : ReportWindow(owner)
{
    setObjectName(QStringLiteral("FRMovimentoRol"));
    QLinhas = new LineDataset(QStringLiteral("QLinhas"),
                              {{QStringLiteral("TIPO"), FieldType::Text, 10},
                               {QStringLiteral("DESCRICAO"), FieldType::Text, 100},
                               {QStringLiteral("QUANTIDADE"), FieldType::Integer},
                               {QStringLiteral("DATA"), FieldType::Date},
                               {QStringLiteral("DETALHE"), FieldType::Text, 30}},
                              this);
    QuickRep1->dataset = QLinhas;
    buildTitle();
    buildDetail();
    buildFooter();
    QuickRep1->onStart = [this] { QuickRep1BeforePrint(); };
}

// ---- Layout

void TFRMovimentoRol::buildTitle()
{
    Band *band = QuickRep1->addBand(Band::Kind::Title, QStringLiteral("QRBand1"), TitleHeight);
    const int width = QuickRep1->bandWidth();
    const int below = ChurchPrint::addHeading(band, 0, width);
    text(band, QStringLiteral("QRLabel1"), QRect(0, below + 40, width, 65), 13, true, Qt::AlignHCenter, kTitle);
    text(band, QStringLiteral("txtAno"), QRect(0, below + 110, width, 50), 10, true, Qt::AlignHCenter);
    band->addShape(QStringLiteral("QRShape1"), QRect(0, HeadingsTop - 6, Right + 20, LineHeight + 6))->background =
        HeadingFill;
    text(band, QStringLiteral("QRLabel2"), cell(DescriptionLeft, CountLeft, HeadingsTop), 9, true, Qt::AlignLeft,
         QStringLiteral("Descrição"));
    text(band, QStringLiteral("QRLabel3"), cell(CountLeft, Right, HeadingsTop), 9, true, Qt::AlignRight,
         QStringLiteral("Membros"));
    band->beforePrint = [this](Band &) { QRBand1BeforePrint(); };
}

void TFRMovimentoRol::buildDetail()
{
    Band *band = QuickRep1->addBand(Band::Kind::Detail, QStringLiteral("QRBand2"), LineHeight);
    text(band, QStringLiteral("txtDescricao"), cell(DescriptionLeft, CountLeft), 9, false);
    text(band, QStringLiteral("txtQuantidade"), cell(CountLeft, Right), 9, false, Qt::AlignRight);
    text(band, QStringLiteral("txtDia"), cell(DateLeft, KindLeft - 40), 9, false);
    text(band, QStringLiteral("txtForma"), cell(KindLeft, Right), 9, false);
    band->addShape(QStringLiteral("QRShape2"), QRect(CountLeft, 0, Right - CountLeft, 1)); // above a total
    band->beforePrint = [this](Band &b) { QRBand2BeforePrint(b); };
}

// Where and when and the lines to sign on, below the figures of the first page.
void TFRMovimentoRol::buildFooter()
{
    Band *band = QuickRep1->addBand(Band::Kind::PageFooter, QStringLiteral("QRBand3"), FooterHeight);
    const int width = QuickRep1->bandWidth();
    text(band, QStringLiteral("txtLocalData"), QRect(0, 20, width, 50), 10, false, Qt::AlignRight);
    ChurchPrint::addSignatures(band, 230, kSigners, 9);
    LabelElement *date = addGeneratedOn(band, 0, 300, FooterHeight - 45);
    date->font.pointSize = 8;
    QuickRep1->findElement(QStringLiteral("QRLabel9"))->font.pointSize = 8;
    band->beforePrint = [this](Band &) { QRBand3BeforePrint(); };
}

// ---- Handlers

// The figures, then a line as high as what is left of the first page (its
// lines all of one height; the break's QUANTIDADE holds its height), so that
// the names start the second.
void TFRMovimentoRol::QuickRep1BeforePrint()
{
    const RollMovement::Year y = RollMovement::read(m_year);
    m_page = 0;
    QLinhas->clear();
    addFigures(QLinhas, y);
    const int figures = QLinhas->recordCount();
    const int firstPageLines = (QuickRep1->pageHeight - QuickRep1->topMargin - QuickRep1->bottomMargin
                                - TitleHeight - FooterHeight) / LineHeight;
    if (figures < firstPageLines)
        addLine(QLinhas, kPageBreak, {}, (firstPageLines - figures) * LineHeight);
    addNames(QLinhas, QStringLiteral("Admitidos em %1").arg(m_year), QStringLiteral("Forma de admissão"),
             y.admittedList, QStringLiteral("Nenhum membro admitido no ano."), QStringLiteral("Não informada"));
    addLine(QLinhas, {});
    addNames(QLinhas, QStringLiteral("Saídas em %1").arg(m_year), QStringLiteral("Motivo da saída"), y.leftList,
             QStringLiteral("Nenhuma saída no ano."), QStringLiteral("Não informado"));
    QLinhas->open();
}

void TFRMovimentoRol::QRBand1BeforePrint()
{
    ChurchPrint::fillHeading(QuickRep1);
    QuickRep1->element<LabelElement>(QStringLiteral("txtAno"))->caption =
        QStringLiteral("Ano de %1 (de 1º de janeiro a 31 de dezembro)").arg(m_year);
}

// Each kind of line its look: headings shaded, totals and the members on
// the roll bold, counts indented, names with their date and form or reason.
void TFRMovimentoRol::QRBand2BeforePrint(Band &band)
{
    const QString kind = QLinhas->fieldByName(QStringLiteral("TIPO"))->asString();
    Field *members = QLinhas->fieldByName(QStringLiteral("QUANTIDADE"));
    Field *date = QLinhas->fieldByName(QStringLiteral("DATA"));
    auto *description = QuickRep1->element<LabelElement>(QStringLiteral("txtDescricao"));
    auto *count = QuickRep1->element<LabelElement>(QStringLiteral("txtQuantidade"));
    auto *day = QuickRep1->element<LabelElement>(QStringLiteral("txtDia"));
    auto *form = QuickRep1->element<LabelElement>(QStringLiteral("txtForma"));
    const bool listed = kind == kName || kind == kColumns;
    description->caption = QLinhas->fieldByName(QStringLiteral("DESCRICAO"))->asString();
    count->caption = members->isNull() || listed || kind == kPageBreak ? QString() : members->asString();
    day->caption = kind == kColumns ? QStringLiteral("Data") : date->asString();
    form->caption = QLinhas->fieldByName(QStringLiteral("DETALHE"))->asString();
    const bool plain = kind == kItem || kind == kName;
    description->rect = cell(plain || kind == kColumns ? ItemIndent : DescriptionLeft, listed ? DateLeft - 40 : CountLeft);
    for (LabelElement *label : {description, count, day, form}) {
        label->font.bold = !plain;
        label->font.pointSize = kind == kBalance || kind == kHeading ? 10 : 9;
    }
    band.height = kind == kPageBreak ? members->asInteger() : LineHeight;
    // A heading with its first lines, the columns' titles with the first name.
    band.keepWithNext = kind == kHeading ? 2 * LineHeight : kind == kColumns ? LineHeight : 0;
    band.background = kind == kHeading ? HeadingFill : kind == kBalance ? BalanceFill : QColor(Qt::white);
    QuickRep1->findElement(QStringLiteral("QRShape2"))->visible = kind == kTotal;
}

// The place, date and signatures on the first page, the form sent on.
void TFRMovimentoRol::QRBand3BeforePrint()
{
    const bool formPage = ++m_page == 1;
    for (const auto &element : QuickRep1->band(QStringLiteral("QRBand3"))->elements())
        if (element->name != QLatin1String("QRLabel9") && element->name != QLatin1String("txtData"))
            element->visible = formPage;
    const QString city = ChurchData::value(ParameterCode::CityState).trimmed();
    QuickRep1->element<LabelElement>(QStringLiteral("txtLocalData"))->caption =
        QStringLiteral("%1, ____ de ____________________ de ________.")
            .arg(city.isEmpty() ? QStringLiteral("______________________") : city);
    ChurchPrint::fillSignatures(QuickRep1, kSigners);
    stampToday(QuickRep1->element<LabelElement>(QStringLiteral("txtData")));
}
