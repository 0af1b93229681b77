#include "URMembro2.h"

#include "datamodule/UDM.h"

#include <cmath>

// One line of the sheet: captions with their left edges and the columns
// printed just right of them, all at one top.
struct TFRMembro2::Line
{
    struct Item
    {
        int left;
        QString caption;
        const char *column;
    };
    int top;
    QList<Item> items;
};

namespace {

constexpr int kPhotoLeft = 1482, kPhotoTop = 230, kPhotoSide = 397, kFrame = 5;

} // namespace

TFRMembro2::TFRMembro2(QWidget *owner) : ReportWindow(owner)
{
    setObjectName(QStringLiteral("FRMembro2"));
    QRBand1 = QuickRep1->addBand(Band::Kind::Title, QStringLiteral("QRBand1"), 1193);
    LabelElement *title = QRBand1->addLabel(QStringLiteral("QRLabel1"), QRect(0, 21, QuickRep1->bandWidth(), 10),
                                            QStringLiteral("Ficha Cadastral"));
    title->font = {QString(), 12, true};
    title->alignment = Qt::AlignHCenter;
    title->autoSize = true;
    const QList<Line> lines = {
        {206, {{11, QStringLiteral("Nome: "), "MEMNOME"}}},
        {296, {{11, QStringLiteral("Endereço"), "MEMENDERECO"}}},
        {378, {{11, QStringLiteral("Cidade: "), "MEMCIDADE"},
               {614, QStringLiteral("UF: "), "MEMUF"},
               {878, QStringLiteral("País: "), "MEMPAISNACAO"}}},
        {458, {{11, QStringLiteral("Tel. Residencial: "), "MEMTELEFONERES"},
               {730, QStringLiteral("Tel. Trabalho: "), "MEMTELEFONETRAB"}}},
        {545, {{11, QStringLiteral("Celular: "), "MEMCELULAR"},
               {857, QStringLiteral("Email: "), "MEMEMAIL"}}},
        {627, {{11, QStringLiteral("Data de Nascimento: "), "MEMDATANASC"},
               {640, QStringLiteral("Data de Conversão: "), "MEMDATACONVERSAO"}}},
        {698, {{11, QStringLiteral("Sexo: "), "MEMSEXO"},
               {759, QStringLiteral("Estado Civil: "), "MEMESTADOCIVIL"}}},
        {778, {{13, QStringLiteral("Cônjuge: "), "MEMCONJUGE"}}},
        {868, {{13, QStringLiteral("Pai: "), "MEMNOMEPAI"}}},
        {952, {{13, QStringLiteral("Mãe: "), "MEMNOMEMAE"}}},
    };
    for (const Line &line : lines)
        addLine(line);
    addPhotograph();
}

// Labels are named QRLabel2 onwards and values QRDBText1 onwards, in the
// order they stand on the sheet (MEMNOME is QRDBText1). A value ends before
// the next caption of its line, or before the photograph's frame, so a long
// value is cut there instead of printing over them.
void TFRMembro2::addLine(const Line &line)
{
    const QFont font = TextMeasure::layoutFont(QuickRep1->defaultFont.family, 10, true);
    const int lineEnd = line.top < kPhotoTop + kPhotoSide + kFrame ? kPhotoLeft - kFrame : QuickRep1->bandWidth();
    for (int i = 0; i < line.items.size(); ++i) {
        const Line::Item &item = line.items.at(i);
        LabelElement *label = QRBand1->addLabel(QStringLiteral("QRLabel%1").arg(m_nextName++),
                                                QRect(item.left, line.top, 10, 10), item.caption);
        label->font = {QString(), 10, true};
        label->autoSize = true;
        int valueLeft = item.left + int(std::ceil(TextMeasure::width(font, item.caption)));
        if (!item.caption.endsWith(u' '))
            valueLeft += 10; // a caption without its own trailing space
        const int valueEnd = i + 1 < line.items.size() ? line.items.at(i + 1).left : lineEnd;
        const QString column = QString::fromLatin1(item.column);
        DataTextElement *value = QRBand1->addDataText(QStringLiteral("QRDBText%1").arg(m_nextValue++),
                                                      QRect(valueLeft, line.top, valueEnd - 10 - valueLeft, 45), column);
        value->dataset = DM->TBMEMBRO;
    }
}

// The photograph in its square, framed by four thin rectangles just outside it.
void TFRMembro2::addPhotograph()
{
    QRDBImage1 = QRBand1->add<DataImageElement>(QStringLiteral("QRDBImage1"),
                                                QRect(kPhotoLeft, kPhotoTop, kPhotoSide, kPhotoSide));
    QRDBImage1->column = QStringLiteral("MEMFOTO");
    QRDBImage1->dataset = DM->TBMEMBRO;
    const int outer = kPhotoSide + 2 * kFrame;
    const QList<QRect> frame = {
        QRect(kPhotoLeft - kFrame, kPhotoTop - kFrame, outer, kFrame),
        QRect(kPhotoLeft - kFrame, kPhotoTop + kPhotoSide, outer, kFrame),
        QRect(kPhotoLeft - kFrame, kPhotoTop - kFrame, kFrame, outer),
        QRect(kPhotoLeft + kPhotoSide, kPhotoTop - kFrame, kFrame, outer),
    };
    for (int i = 0; i < frame.size(); ++i)
        QRBand1->addShape(QStringLiteral("QRShape%1").arg(i + 1), frame.at(i))->background = Qt::black;
}
