#include "URHistorico.h"

#include "ChangeLogLines.h"

#include "dataset/LineDataset.h"
#include "reports/base/ChurchPrint.h"

#include <iterator>

namespace {

// The columns, tenths of a millimetre from the band's left edge, in the
// order of ChangeLogLines::titles().
constexpr int kLefts[] = {0, 262, 622, 822, 1000, 1130, 1352};
constexpr int kRight = 1900;
constexpr int kColumns = int(std::size(kLefts));
constexpr int kPad = 10;
constexpr qreal kPoints = 7;

constexpr int kLineHeight = 36;
constexpr int kTextHeight = 34;
constexpr int kHeadingsTop = 420;
constexpr int kHeaderHeight = kHeadingsTop + 60;

const QColor kShade(235, 235, 235);

int rightOf(int column)
{
    return column + 1 < kColumns ? kLefts[column + 1] : kRight;
}

QString columnName(int column)
{
    return QStringLiteral("C%1").arg(column);
}

const QString kShadeColumn = QStringLiteral("SOMBRA"); // "S" on the lines of every other change

FieldDefs lineColumns()
{
    FieldDefs columns;
    for (int c = 0; c < kColumns; ++c)
        columns.push_back({columnName(c), FieldType::Text, 8191});
    columns.push_back({kShadeColumn, FieldType::Text, 1});
    return columns;
}

} // namespace

TFRHistorico::TFRHistorico(QWidget *owner) : ReportWindow(owner)
{
    setObjectName(QStringLiteral("FRHistorico"));
    QLinhas = new LineDataset(QStringLiteral("QLinhas"), lineColumns(), this);
    QuickRep1->dataset = QLinhas;
    buildHeader();
    buildDetail();
    buildFooter();
    QuickRep1->onStart = [this] { QuickRep1BeforePrint(); };
}

void TFRHistorico::setEntries(const QList<ChangeLog::Entry> &entries, const ChangeLog::Filter &filter)
{
    m_entries = entries;
    m_filter = ChangeLogLines::describe(filter);
}

void TFRHistorico::buildHeader()
{
    Band *band = QuickRep1->addBand(Band::Kind::PageHeader, QStringLiteral("QRBand1"), kHeaderHeight);
    const int width = QuickRep1->bandWidth();
    const int below = ChurchPrint::addHeading(band, 0, width);
    ChurchPrint::text(band, QStringLiteral("QRLabel1"), QRect(0, below + 30, width, 60), 13, true, Qt::AlignHCenter,
                      QStringLiteral("Histórico de Alterações"));
    ChurchPrint::text(band, QStringLiteral("txtFiltro"), QRect(0, below + 100, width, 50), 9, false, Qt::AlignHCenter);
    band->addShape(QStringLiteral("QRShape1"), QRect(0, kHeadingsTop - 5, kRight, kLineHeight + 14))->background = kShade;
    const QStringList &titles = ChangeLogLines::titles();
    for (int c = 0; c < kColumns; ++c)
        ChurchPrint::text(band, QStringLiteral("QRLabel%1").arg(c + 2),
                          QRect(kLefts[c] + kPad, kHeadingsTop, rightOf(c) - kLefts[c] - 2 * kPad, kTextHeight + 6),
                          kPoints, true, Qt::AlignLeft, titles.at(c));
    band->beforePrint = [this](Band &) {
        ChurchPrint::fillHeading(QuickRep1);
        QuickRep1->element<LabelElement>(QStringLiteral("txtFiltro"))->caption = m_filter;
    };
}

// Every other change shaded, over all its lines.
void TFRHistorico::buildDetail()
{
    Band *band = QuickRep1->addBand(Band::Kind::Detail, QStringLiteral("QRBand2"), kLineHeight);
    band->beforePrint = [this](Band &b) {
        bool white = QLinhas->fieldByName(kShadeColumn)->asString().isEmpty();
        shadeRow(b, white);
    };
    for (int c = 0; c < kColumns; ++c) {
        DataTextElement *text = band->addDataText(
            QStringLiteral("txt%1").arg(columnName(c)),
            QRect(kLefts[c] + kPad, (kLineHeight - kTextHeight) / 2, rightOf(c) - kLefts[c] - 2 * kPad, kTextHeight),
            columnName(c));
        text->font.pointSize = kPoints;
    }
}

void TFRHistorico::buildFooter()
{
    Band *band = QuickRep1->addBand(Band::Kind::PageFooter, QStringLiteral("QRBand3"), 120);
    LabelElement *date = addGeneratedOn(band, 1373, 1720, 50);
    date->font.pointSize = 8;
    QuickRep1->findElement(QStringLiteral("QRLabel9"))->font.pointSize = 8;
    band->beforePrint = [date](Band &) { stampToday(date); };
}

// The details in lines that fit their column.
QStringList TFRHistorico::detailLines(const QString &details) const
{
    const QFont font = TextMeasure::layoutFont(QuickRep1->defaultFont.family, kPoints, false);
    QStringList lines;
    for (const TextMeasure::TextLine &line :
         TextMeasure::lines(font, details, kRight - kLefts[kColumns - 1] - 2 * kPad, Qt::TextWordWrap))
        lines << line.text;
    return lines.isEmpty() ? QStringList{QString()} : lines;
}

void TFRHistorico::QuickRep1BeforePrint()
{
    QLinhas->clear();
    bool shaded = false;
    for (const ChangeLog::Entry &entry : m_entries) {
        QVector<QVariant> line;
        for (const QVariant &cell : ChangeLogLines::cells(entry))
            line << cell.toString();
        const QStringList details = detailLines(line.takeLast().toString());
        const QString shade = shaded ? QStringLiteral("S") : QString();
        for (const QString &part : details) {
            QLinhas->append(line << part << shade);
            line = QVector<QVariant>(kColumns - 1); // the lines after the first: their details only
        }
        shaded = !shaded;
    }
    QLinhas->open();
}
