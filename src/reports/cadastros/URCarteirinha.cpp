#include "URCarteirinha.h"

#include "datamodule/Roll.h"

#include "datamodule/ChurchData.h"
#include "uikit/Pictures.h"
#include "uikit/Today.h"
#include "datamodule/UDM.h"
#include "provider/QueryDataset.h"
#include "dataset/TableDataset.h"

#include <QLocale>
#include <cmath>

// The rows the report walks: one per row of cards on the page. It has no
// fields; the detail handler finds the members of its row by the index.
class CardRows : public Dataset
{
public:
    explicit CardRows(QObject *parent) : Dataset(parent) {}

    void setCount(int rows)
    {
        m_count = rows;
        setState(State::Browse);
        resetNavigation();
        emit rowsReset();
    }
    int recordCount() const override { return m_count; }
    QVariant fieldValue(int) const override { return {}; }
    void setFieldValue(int, const QVariant &) override {}

private:
    int m_count = 0;
};

namespace {

const QColor kStrip(31, 58, 104);      // the church's strip across the top
const QColor kCaption(90, 90, 90);     // the small captions above the values
const QColor kCardEdge(176, 176, 176); // the card's outline
constexpr int kStripHeight = 120;
constexpr int kChurchLeft = 30, kChurchWidth = 796;
constexpr int kTextLeft = 330, kTextWidth = 496, kSecondColumn = 590;
constexpr int kMarkBand = 100; // the page header and footer, holding the marks of the vertical cuts
constexpr int kMarkGap = 20, kMarkLength = 60, kSideMarkLength = 130;

} // namespace

const QRect TFRCarteirinha::kPhotoFrame(40, 150, 250, 333); // 25 by 33.3 mm, a 3 by 4 portrait

TFRCarteirinha::TFRCarteirinha(QWidget *owner) : ReportWindow(owner), m_rows(new CardRows(this))
{
    setObjectName(QStringLiteral("FRCarteirinha"));
    Report &r = *QuickRep1;
    r.leftMargin = r.rightMargin = (r.pageWidth - kCardsPerRow * kCardWidth) / 2;
    r.topMargin = r.bottomMargin = (r.pageHeight - kRowsPerPage * kCardHeight - 2 * kMarkBand) / 2;
    QFoto = addQuery(QStringLiteral("QFoto"), {QStringLiteral("SELECT MEMFOTO FROM TMEMBRO WHERE MEMCODIGO = :CODIGO")});
    r.dataset = m_rows;
    r.rowsBetweenEvents = 1; // every row reads and decodes two photographs
    r.onStart = [this] { QuickRep1BeforePrint(); };
    QRBand1 = r.addBand(Band::Kind::PageHeader, QStringLiteral("QRBand1"), kMarkBand);
    QRBand2 = r.addBand(Band::Kind::Detail, QStringLiteral("QRBand2"), kCardHeight);
    QRBand3 = r.addBand(Band::Kind::PageFooter, QStringLiteral("QRBand3"), kMarkBand);
    for (int side = 0; side < kCardsPerRow; ++side)
        addCard(side);
    addCuttingMarks();
    QRBand2->beforePrint = [this](Band &band) { QRBand2BeforePrint(band); };
}

// The elements of one card, named after what they show and the card's
// place in the row ("txtNome1" on the left, "txtNome2" on the right).
void TFRCarteirinha::addCard(int side)
{
    Card &card = m_cards[side];
    const int x = side * kCardWidth;
    const QString place = QString::number(side + 1);
    const auto named = [&place](const char *name) { return QString::fromLatin1(name) + place; };
    const auto label = [&](const char *name, const QRect &rect, const QString &caption, qreal points, bool bold,
                           const QColor &colour) {
        LabelElement *l = QRBand2->addLabel(named(name), rect.translated(x, 0), caption);
        l->font = {QString(), points, bold, colour};
        card.elements << l;
        return l;
    };
    const auto shape = [&](const char *name, const QRect &rect, const QColor &pen, const QColor &fill) {
        ShapeElement *s = QRBand2->addShape(named(name), rect.translated(x, 0));
        s->pen = pen;
        s->background = fill;
        card.elements << s;
    };
    shape("shpCartao", QRect(0, 0, kCardWidth, kCardHeight), kCardEdge, Qt::transparent);
    shape("shpFaixa", QRect(0, 0, kCardWidth, kStripHeight), Qt::transparent, kStrip);
    card.church = label("txtIgreja", QRect(kChurchLeft, 0, kChurchWidth, kStripHeight), {}, 9, true, Qt::white);
    card.church->alignment = Qt::AlignHCenter;
    card.church->wordWrap = true;
    label("lblTitulo", QRect(kTextLeft, 140, kTextWidth, 40), QStringLiteral("CARTEIRA DE MEMBRO"), 7, true, kStrip);
    label("lblNome", QRect(kTextLeft, 195, kTextWidth, 30), QStringLiteral("NOME"), 6, true, kCaption);
    card.name = label("txtNome", QRect(kTextLeft, 220, kTextWidth, 80), {}, 9, true, Qt::black);
    card.name->wordWrap = true;
    label("lblCodigo", QRect(kTextLeft, 320, 240, 30), QStringLiteral("MEMBRO Nº"), 6, true, kCaption);
    card.code = label("txtCodigo", QRect(kTextLeft, 345, 240, 40), {}, 9, false, Qt::black);
    label("lblConversao", QRect(kSecondColumn, 320, 236, 30), QStringLiteral("CONVERSÃO"), 6, true, kCaption);
    card.conversion = label("txtConversao", QRect(kSecondColumn, 345, 236, 40), {}, 9, false, Qt::black);
    label("lblEmissao", QRect(kTextLeft, 410, kTextWidth, 30), QStringLiteral("EMITIDA EM"), 6, true, kCaption);
    card.printed = label("txtEmissao", QRect(kTextLeft, 435, kTextWidth, 40), {}, 9, false, Qt::black);
    card.photo = QRBand2->add<PictureElement>(named("imgFoto"), kPhotoFrame.translated(x, 0));
    card.elements << card.photo;
    shape("shpMoldura", kPhotoFrame, Qt::black, Qt::transparent); // over the photograph, or empty
}

// Short rules in the margins on the lines to cut along: beside every row
// for the horizontal cuts, above and below the cards for the vertical ones.
void TFRCarteirinha::addCuttingMarks()
{
    int number = 1;
    const auto mark = [&number](Band *band, const QRect &rect) {
        band->addShape(QStringLiteral("shpCorte%1").arg(number++), rect);
    };
    const int rowWidth = kCardsPerRow * kCardWidth;
    for (int y : {0, kCardHeight}) {
        mark(QRBand2, QRect(-kMarkGap - kSideMarkLength, y, kSideMarkLength, 1));
        mark(QRBand2, QRect(rowWidth + kMarkGap, y, kSideMarkLength, 1));
    }
    for (int side = 0; side <= kCardsPerRow; ++side) {
        mark(QRBand1, QRect(side * kCardWidth, kMarkBand - kMarkGap - kMarkLength, 1, kMarkLength));
        mark(QRBand3, QRect(side * kCardWidth, kMarkGap, 1, kMarkLength));
    }
}

void TFRCarteirinha::setMembers(bool everyListed)
{
    TableDataset *members = DM->TBMEMBRO;
    const int code = DM->TBMEMBROMEMCODIGO->index();
    const int name = DM->TBMEMBROMEMNOME->index();
    const int conversion = DM->TBMEMBROMEMDATACONVERSAO->index();
    const int situation = DM->TBMEMBROMEMSITUACAO->index(); // cards are for active members only
    const int from = everyListed ? 0 : members->currentIndex();
    const int to = everyListed ? members->recordCount() : from + 1;
    m_members.clear();
    for (int row = qMax(0, from); row < to; ++row)
        if (Roll::listed(members->valueAt(row, situation), Roll::kActive))
            m_members.append({members->valueAt(row, code), members->valueAt(row, name).toString(),
                          members->valueAt(row, conversion).toDate()});
    m_rows->setCount(int(m_members.size() + kCardsPerRow - 1) / kCardsPerRow);
}

// The church's name, read for every run, centred in its strip on one line
// or two.
void TFRCarteirinha::QuickRep1BeforePrint()
{
    m_church = ChurchData::value(ParameterCode::ChurchName);
    m_printed = QLocale().toString(Today::date(), QLocale::ShortFormat);
    const QFont font = TextMeasure::layoutFont(QuickRep1->defaultFont.family, 9, true);
    const int lines = TextMeasure::width(font, m_church) <= kChurchWidth ? 1 : 2;
    const int height = int(std::ceil(TextMeasure::linesHeight(font, lines)));
    for (Card &card : m_cards) {
        card.church->rect.moveTop((kStripHeight - height) / 2);
        card.church->rect.setHeight(height);
    }
}

// A row's cards: the members at this row's place in the list; the right
// card of an odd last row stays blank.
void TFRCarteirinha::QRBand2BeforePrint(Band &)
{
    const int first = m_rows->currentIndex() * kCardsPerRow;
    for (int side = 0; side < kCardsPerRow; ++side)
        fillCard(m_cards[side], first + side < m_members.size() ? &m_members[first + side] : nullptr);
}

void TFRCarteirinha::fillCard(Card &card, const Member *member)
{
    for (Element *element : card.elements)
        element->visible = member != nullptr;
    card.photo->picture = QImage(); // the last card's photograph goes at once
    if (!member)
        return;
    card.church->caption = m_church;
    card.name->caption = member->name;
    card.code->caption = member->code.toString();
    card.conversion->caption =
        member->conversion.isValid() ? QLocale().toString(member->conversion, QLocale::ShortFormat) : QString();
    card.printed->caption = m_printed;
    card.photo->picture = photographOf(member->code);
}

QImage TFRCarteirinha::photographOf(const QVariant &code)
{
    QFoto->close();
    QFoto->setParam(QStringLiteral("CODIGO"), code);
    QFoto->open();
    const QByteArray bytes = QFoto->isEmpty() ? QByteArray() : QFoto->fieldByName(QStringLiteral("MEMFOTO"))->asBytes();
    QFoto->close();
    return pictureForPrint(bytes, kPhotoFrame.size());
}

QImage TFRCarteirinha::pictureForPrint(const QByteArray &bytes, const QSize &frame)
{
    const QSize limit(qMax(1, frame.width() * kPhotoDpi / 254), qMax(1, frame.height() * kPhotoDpi / 254));
    const QImage image = Pictures::fittedInto(bytes, limit);
    if (image.isNull())
        return {};
    return image.hasAlphaChannel() ? image : image.convertToFormat(QImage::Format_RGB888); // three bytes a pixel
}
