#include "URDizimistas.h"

#include "reports/base/ChurchPrint.h"
#include "dataset/LineDataset.h"
#include "URLivroCaixa.h"

#include "datamodule/CashCategories.h"
#include "datamodule/UDM.h"
#include "provider/QueryDataset.h"

#include <QSet>

namespace {

const QColor Shade(235, 235, 235);

// Columns, tenths of a millimetre from the band's left edge.
constexpr int NameLeft = 20;
constexpr int DateLeft = 60;
constexpr int CategoryLeft = 260;
constexpr int DocumentLeft = 760;
constexpr int HistoryLeft = 990;
constexpr int AmountLeft = 1530;
constexpr int PhonesLeft = 1000;
constexpr int Right = 1880;

constexpr int TitleHeight = 440;
constexpr int HeadingsTop = 380;
constexpr int LineHeight = 46;
constexpr int TextHeight = 40;

LabelElement *text(Band *band, const QString &name, int left, int right, int top, qreal points, bool bold,
                   Qt::Alignment alignment = Qt::AlignLeft, const QString &caption = {})
{
    return ChurchPrint::text(band, name, QRect(left, top, right - left, TextHeight + 10), points, bold, alignment,
                             caption);
}

QString dateText(const QDate &date)
{
    return date.toString(QStringLiteral("dd/MM/yyyy"));
}

QString count(int n, const char *one, const char *many)
{
    return QStringLiteral("%1 %2").arg(n).arg(QString::fromUtf8(n == 1 ? one : many));
}

QString phones(const QString &home, const QString &mobile)
{
    QStringList parts;
    if (!home.trimmed().isEmpty())
        parts << QStringLiteral("Tel. ") + home.trimmed();
    if (!mobile.trimmed().isEmpty())
        parts << QStringLiteral("Cel. ") + mobile.trimmed();
    return parts.join(QStringLiteral("   "));
}

} // namespace

TFRDizimistas::TFRDizimistas(QWidget *owner) : ReportWindow(owner)
{
    setObjectName(QStringLiteral("FRDizimistas"));
    QLinhas = new LineDataset(QStringLiteral("QLinhas"),
                              {{QStringLiteral("TIPO"), FieldType::Text, 10},
                               {QStringLiteral("DATA"), FieldType::Date},
                               {QStringLiteral("DESCRICAO"), FieldType::Text, 120},
                               {QStringLiteral("CATEGORIA"), FieldType::Text, 50},
                               {QStringLiteral("DOCUMENTO"), FieldType::Text, 20},
                               {QStringLiteral("VALOR"), FieldType::Money},
                               {QStringLiteral("TELEFONES"), FieldType::Text, 80}},
                              this);
    QuickRep1->dataset = QLinhas;
    buildTitle();
    buildDetail();
    buildFooter();
    largePrintColumns(8, {{DateLeft, 80}, {CategoryLeft, 340}, {DocumentLeft, 1000}, {HistoryLeft, 1380},
                          {AmountLeft, 2230}, {Right, 2740}});
    QuickRep1->onStart = [this] { QuickRep1BeforePrint(); };
}

void TFRDizimistas::setPeriod(const QDate &first, const QDate &last)
{
    m_first = first;
    m_last = last;
}

void TFRDizimistas::setCategory(const QVariant &code, const QString &name)
{
    m_category = code;
    m_categoryName = name;
}

// ---- Layout

void TFRDizimistas::buildTitle()
{
    Band *band = QuickRep1->addBand(Band::Kind::Title, QStringLiteral("QRBand1"), TitleHeight);
    const int width = QuickRep1->bandWidth();
    const int below = ChurchPrint::addHeading(band, 0, width);
    text(band, QStringLiteral("QRLabel1"), 0, width, below + 40, 13, true, Qt::AlignHCenter, QStringLiteral("Dizimistas"));
    text(band, QStringLiteral("QRLabel2"), 0, width, below + 110, 10, true, Qt::AlignHCenter);
    band->addShape(QStringLiteral("QRShape1"), QRect(0, HeadingsTop - 5, Right + 20, LineHeight + 10))->background = Shade;
    text(band, QStringLiteral("QRLabel3"), DateLeft, CategoryLeft, HeadingsTop, 8, true, Qt::AlignLeft, QStringLiteral("Data"));
    text(band, QStringLiteral("QRLabel4"), CategoryLeft, DocumentLeft, HeadingsTop, 8, true, Qt::AlignLeft,
         QStringLiteral("Categoria"));
    text(band, QStringLiteral("QRLabel5"), DocumentLeft, HistoryLeft, HeadingsTop, 8, true, Qt::AlignLeft,
         QStringLiteral("Documento"));
    text(band, QStringLiteral("QRLabel6"), HistoryLeft, AmountLeft, HeadingsTop, 8, true, Qt::AlignLeft,
         QStringLiteral("Histórico"));
    text(band, QStringLiteral("QRLabel7"), AmountLeft, Right, HeadingsTop, 8, true, Qt::AlignRight,
         QStringLiteral("Valor (R$)"));
    band->beforePrint = [this](Band &) { QRBand1BeforePrint(); };
}

void TFRDizimistas::buildDetail()
{
    Band *band = QuickRep1->addBand(Band::Kind::Detail, QStringLiteral("QRBand2"), LineHeight);
    const int top = (LineHeight - TextHeight) / 2;
    text(band, QStringLiteral("txtDataOferta"), DateLeft, CategoryLeft, top, 8, false);
    text(band, QStringLiteral("txtCategoria"), CategoryLeft, DocumentLeft - 20, top, 8, false);
    text(band, QStringLiteral("txtDocumento"), DocumentLeft, HistoryLeft - 20, top, 8, false);
    text(band, QStringLiteral("txtDescricao"), HistoryLeft, AmountLeft - 20, top, 8, false);
    text(band, QStringLiteral("txtTelefones"), PhonesLeft, Right, top, 8, false);
    text(band, QStringLiteral("txtValor"), AmountLeft, Right, top, 8, false, Qt::AlignRight);
    band->addShape(QStringLiteral("QRShape2"), QRect(AmountLeft + 100, 0, Right - AmountLeft - 100, 1)); // above a total
    band->beforePrint = [this](Band &b) { QRBand2BeforePrint(b); };
}

void TFRDizimistas::buildFooter()
{
    Band *band = QuickRep1->addBand(Band::Kind::PageFooter, QStringLiteral("QRBand3"), 120);
    LabelElement *date = addGeneratedOn(band, 1373, 1720, 50);
    date->font.pointSize = 8;
    QuickRep1->findElement(QStringLiteral("QRLabel9"))->font.pointSize = 8;
    band->beforePrint = [this](Band &) { QRBand3BeforePrint(); };
}

// ---- Lines

void TFRDizimistas::QuickRep1BeforePrint()
{
    QLinhas->clear();
    addMembersWithout(addGifts());
    QLinhas->open();
}

// The entries given by members in the period, member by member; the codes
// of the members who gave.
QSet<int> TFRDizimistas::addGifts()
{
    QueryDataset query(QStringLiteral("QDizimos"), DM->connectionName());
    query.setSql({QStringLiteral("SELECT TMOVIMETACOES.MOVMEMBRO, TMEMBRO.MEMNOME, TMOVIMETACOES.MOVDATA, "
                                 "TMOVIMETACOES.MOVVALOR, TMOVIMETACOES.MOVDOCUMENTO, TMOVIMETACOES.MOVDESCRICAO, "
                                 "TCATEGORIA.CATDESCRICAO"),
                  QStringLiteral("FROM TMOVIMETACOES"),
                  QStringLiteral("LEFT JOIN TMEMBRO ON TMEMBRO.MEMCODIGO = TMOVIMETACOES.MOVMEMBRO"),
                  QStringLiteral("LEFT JOIN TCATEGORIA ON TCATEGORIA.CATCODIGO = TMOVIMETACOES.MOVCATEGORIA"),
                  QStringLiteral("WHERE TMOVIMETACOES.MOVMEMBRO IS NOT NULL AND TMOVIMETACOES.MOVDEBITOCREDITO = :TIPO"),
                  QStringLiteral("AND TMOVIMETACOES.MOVDATA >= :DATA1 AND TMOVIMETACOES.MOVDATA <= :DATA2")});
    if (!m_category.isNull())
        query.addSql(QStringLiteral("AND TMOVIMETACOES.MOVCATEGORIA = :CATEGORIA"));
    // A member deleted since sorts by the name the report gives it.
    query.addSql(QStringLiteral("ORDER BY CAST(COALESCE(TMEMBRO.MEMNOME, 'MEMBRO ' || TMOVIMETACOES.MOVMEMBRO) AS "
                                "VARCHAR(80) CHARACTER SET WIN1252) COLLATE WIN_PTBR, TMOVIMETACOES.MOVMEMBRO, "
                                "TMOVIMETACOES.MOVDATA, TMOVIMETACOES.MOVCODIGO"));
    query.setParam(QStringLiteral("TIPO"), CashCategories::kEntry);
    query.setParam(QStringLiteral("DATA1"), m_first);
    query.setParam(QStringLiteral("DATA2"), m_last);
    if (!m_category.isNull())
        query.setParam(QStringLiteral("CATEGORIA"), m_category.toInt());
    query.open();

    QSet<int> givers;
    double grandTotal = 0;
    int gifts = 0;
    int member = -1;
    double memberTotal = 0;
    int memberGifts = 0;
    const auto closeMember = [&] {
        if (member >= 0)
            QLinhas->append({kMemberTotal, {}, QStringLiteral("Total do membro (%1)").arg(count(memberGifts, "contribuição", "contribuições")),
                             {}, {}, memberTotal});
    };
    for (query.first(); !query.eof(); query.next()) {
        const int code = query.fieldByName(QStringLiteral("MOVMEMBRO"))->asInteger();
        if (code != member) {
            closeMember();
            member = code;
            memberTotal = 0;
            memberGifts = 0;
            givers.insert(code);
            const QString name = query.fieldByName(QStringLiteral("MEMNOME"))->asString();
            QLinhas->append({kMember, {}, name.isEmpty() ? QStringLiteral("Membro %1 (não cadastrado)").arg(code) : name});
        }
        const double amount = query.fieldByName(QStringLiteral("MOVVALOR"))->asFloat();
        QLinhas->append({kGift, query.fieldByName(QStringLiteral("MOVDATA"))->value(),
                         query.fieldByName(QStringLiteral("MOVDESCRICAO"))->asString(),
                         query.fieldByName(QStringLiteral("CATDESCRICAO"))->asString(),
                         query.fieldByName(QStringLiteral("MOVDOCUMENTO"))->asString(), amount});
        memberTotal += amount;
        grandTotal += amount;
        ++memberGifts;
        ++gifts;
    }
    closeMember();
    QLinhas->append({});
    QLinhas->append({kGrandTotal, {},
                     QStringLiteral("Total geral: %1 de %2")
                         .arg(count(gifts, "contribuição", "contribuições"), count(int(givers.size()), "membro", "membros")),
                     {}, {}, grandTotal});
    return givers;
}

// Every stored member of the chosen situação who gave nothing in the
// period, by name.
void TFRDizimistas::addMembersWithout(const QSet<int> &givers)
{
    QueryDataset members(QStringLiteral("QMembros"), DM->connectionName());
    QVariantList values;
    const QString condition = Roll::memberCondition(m_situation, values);
    members.setSql({QStringLiteral("SELECT MEMCODIGO, MEMNOME, MEMTELEFONERES, MEMCELULAR FROM TMEMBRO"),
                    QStringLiteral("WHERE ") + condition, QStringLiteral("ORDER BY MEMNOME COLLATE WIN_PTBR")});
    for (int i = 0; i < values.size(); ++i)
        members.setParam(i, values[i]);
    members.open();
    QList<QVector<QVariant>> without;
    for (members.first(); !members.eof(); members.next()) {
        if (givers.contains(members.fieldByName(QStringLiteral("MEMCODIGO"))->asInteger()))
            continue;
        without.append({kWithout, {}, members.fieldByName(QStringLiteral("MEMNOME"))->asString(), {}, {}, {},
                        phones(members.fieldByName(QStringLiteral("MEMTELEFONERES"))->asString(),
                               members.fieldByName(QStringLiteral("MEMCELULAR"))->asString())});
    }
    QLinhas->append({});
    QLinhas->append({kHeading, {},
                     QStringLiteral("Membros sem contribuição no período (%1)").arg(without.size())});
    for (const QVector<QVariant> &line : without)
        QLinhas->append(line);
}

// ---- Handlers

void TFRDizimistas::QRBand1BeforePrint()
{
    ChurchPrint::fillHeading(QuickRep1);
    QuickRep1->element<LabelElement>(QStringLiteral("QRLabel2"))->caption =
        QStringLiteral("Período de %1 a %2 - %3").arg(dateText(m_first), dateText(m_last), m_categoryName);
}

// Each kind of line its place and look: the member's name across the line,
// the gifts in their columns, totals bold under a rule, the members without
// a gift with their telephones.
void TFRDizimistas::QRBand2BeforePrint(Band &band)
{
    const QString kind = QLinhas->fieldByName(QStringLiteral("TIPO"))->asString();
    const auto label = [this](const char *name) { return QuickRep1->element<LabelElement>(QString::fromLatin1(name)); };
    const auto column = [this](const char *name) { return QLinhas->fieldByName(QString::fromLatin1(name)); };
    LabelElement *description = label("txtDescricao");
    LabelElement *value = label("txtValor");
    const bool gift = kind == kGift;
    label("txtDataOferta")->caption = gift ? dateText(column("DATA")->asDate()) : QString();
    label("txtCategoria")->caption = gift ? column("CATEGORIA")->asString() : QString();
    label("txtDocumento")->caption = gift ? column("DOCUMENTO")->asString() : QString();
    label("txtTelefones")->caption = kind == kWithout ? column("TELEFONES")->asString() : QString();
    description->caption = column("DESCRICAO")->asString();
    value->caption = column("VALOR")->isNull() ? QString() : TFRLivroCaixa::formatAmount(column("VALOR")->asFloat());

    const bool wide = kind == kMember || kind == kHeading || kind == kGrandTotal;
    const int left = gift || kind == kMemberTotal ? HistoryLeft : kind == kWithout ? DateLeft : NameLeft;
    const int right = kind == kWithout ? PhonesLeft - 20 : wide && kind != kGrandTotal ? Right : AmountLeft - 20;
    description->rect.setLeft(left);
    description->rect.setRight(right);
    description->alignment = kind == kMemberTotal || kind == kGrandTotal ? Qt::AlignRight : Qt::AlignLeft;
    for (LabelElement *l : {description, value}) {
        l->font.bold = !gift && kind != kWithout;
        l->font.pointSize = kind == kHeading || kind == kGrandTotal ? 10 : 8;
    }
    band.background = kind == kHeading || kind == kGrandTotal ? Shade : QColor(Qt::white);
    // A heading with its first lines, a member with the first gift.
    band.keepWithNext = kind == kHeading ? 2 * LineHeight : kind == kMember ? LineHeight : 0;
    QuickRep1->findElement(QStringLiteral("QRShape2"))->visible = kind == kMemberTotal;
}

void TFRDizimistas::QRBand3BeforePrint()
{
    stampToday(QuickRep1->element<LabelElement>(QStringLiteral("txtData")));
}
