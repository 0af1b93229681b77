#include "URMembro.h"

#include "datamodule/Roll.h"

#include "provider/QueryDataset.h"

namespace {

// Which colour the next detail row takes, for the whole run of the program:
// the member list, unlike the other lists, never starts it afresh.
bool nextRowIsWhite = false;

} // namespace

const QStringList TFRMembro::kSql = {QStringLiteral("SELECT TMEMBRO.*"), QStringLiteral("FROM TMEMBRO"),
                                     QStringLiteral("ORDER BY TMEMBRO.MEMNOME")};

QStringList TFRMembro::sqlFor(const QString &situation, QVariantList &values)
{
    QStringList sql = kSql;
    sql.insert(2, QStringLiteral("WHERE ") + Roll::memberCondition(situation, values));
    return sql;
}

TFRMembro::TFRMembro(QWidget *owner) : ReportWindow(owner)
{
    setObjectName(QStringLiteral("FRMembro"));
    QMembro = addQuery(QStringLiteral("QMembro"), kSql);
    QRBand1 = addListTitle(325, 21, QStringLiteral("Relatório de Membros"), QStringLiteral("Lista de Membros: "), 286,
                           {{"QRLabel4", QStringLiteral("Nome"), 13},
                            {"QRLabel6", QStringLiteral("Telefone"), 503},
                            {"QRLabel7", QStringLiteral("Email"), 714},
                            {"QRLabel3", QStringLiteral("Endereço: "), 1132},
                            {"QRLabel8", QStringLiteral("Celular"), 1741}});
    addDetail();
    // The e-mail address has the widest column.
    largePrintColumns(7, {{503, 680}, {712, 1060}, {1132, 1860}, {1691, 2390}});
    QRBand3 = QuickRep1->addBand(Band::Kind::PageFooter, QStringLiteral("QRBand3"), 444);
    txtData = addGeneratedOn(QRBand3, 1373, 1720, 296);
    QRBand3->beforePrint = [this](Band &band) { QRBand3BeforePrint(band); };
}

void TFRMembro::addDetail()
{
    QRBand2 = QuickRep1->addBand(Band::Kind::Detail, QStringLiteral("QRBand2"), 64);
    const auto column = [this](const char *name, const char *field, int left) {
        DataTextElement *text = QRBand2->addDataText(QString::fromLatin1(name), QRect(left, 10, 200, 10),
                                                     QString::fromLatin1(field));
        text->font.pointSize = 7;
        text->autoSize = true;
        return text;
    };
    column("QRDBText1", "MEMNOME", 11);
    column("QRDBText4", "MEMTELEFONERES", 503);
    column("QRDBText5", "MEMEMAIL", 712);
    column("QRDBText6", "MEMENDERECO", 1132);
    column("QRDBText7", "MEMCELULAR", 1891 - 200)->alignment = Qt::AlignRight; // right edge at 189.1 mm
    QRBand2->beforePrint = [this](Band &band) { QRBand2BeforePrint(band); };
}

void TFRMembro::QRBand2BeforePrint(Band &band)
{
    shadeRow(band, nextRowIsWhite);
}

void TFRMembro::QRBand3BeforePrint(Band &)
{
    stampToday(txtData);
}
