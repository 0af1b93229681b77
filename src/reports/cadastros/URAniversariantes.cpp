#include "URAniversariantes.h"

#include "datamodule/Birthdays.h"
#include "uikit/Today.h"
#include "provider/QueryDataset.h"

#include <QLocale>

const QStringList TFRAniversariantes::kSql = {
    QStringLiteral("SELECT MEMCODIGO, MEMNOME, MEMDATANASC, MEMTELEFONERES, MEMCELULAR"),
    QStringLiteral("FROM TMEMBRO"),
    QStringLiteral("WHERE EXTRACT(MONTH FROM MEMDATANASC) = :MES"),
    QStringLiteral("ORDER BY EXTRACT(DAY FROM MEMDATANASC), MEMNOME COLLATE WIN_PTBR")};

TFRAniversariantes::TFRAniversariantes(QWidget *owner) : ReportWindow(owner)
{
    setObjectName(QStringLiteral("FRAniversariantes"));
    QAniversariantes = addQuery(QStringLiteral("QAniversariantes"), kSql);
    QRBand1 = addListTitle(347, 21, QString(), QString(), 296,
                           {{"QRLabel4", QStringLiteral("Dia"), 13},
                            {"QRLabel5", QStringLiteral("Nome"), 130},
                            {"QRLabel6", QStringLiteral("Idade"), 1010},
                            {"QRLabel7", QStringLiteral("Telefone"), 1200},
                            {"QRLabel8", QStringLiteral("Celular"), 1550}});
    QRBand1->beforePrint = [this](Band &band) { QRBand1BeforePrint(band); };
    addDetail();
    largePrintColumns(8, {{130, 200}, {1010, 1500}, {1200, 1800}, {1550, 2300}});
    QRBand3 = QuickRep1->addBand(Band::Kind::PageFooter, QStringLiteral("QRBand3"), 444);
    txtData = addGeneratedOn(QRBand3, 1373, 1720, 296);
    QRBand3->beforePrint = [this](Band &band) { QRBand3BeforePrint(band); };
}

QString TFRAniversariantes::monthName(int month)
{
    const QString name = QLocale().standaloneMonthName(month, QLocale::LongFormat);
    return name.left(1).toUpper() + name.mid(1);
}

void TFRAniversariantes::previewMonth(int month, const QString &situation)
{
    QuickRep1->element<LabelElement>(QStringLiteral("QRLabel1"))->caption =
        QStringLiteral("Aniversariantes de %1").arg(monthName(month));
    QuickRep1->element<LabelElement>(QStringLiteral("QRLabel2"))->caption =
        QStringLiteral("Idade completada em %1").arg(Today::date().year());
    QAniversariantes->close();
    QVariantList values;
    QStringList sql = kSql;
    sql.insert(3, QStringLiteral("AND ") + Roll::memberCondition(situation, values, QStringLiteral(":SITUACAO")));
    QAniversariantes->setSql(sql);
    QAniversariantes->setParam(QStringLiteral("MES"), month);
    if (!values.isEmpty())
        QAniversariantes->setParam(QStringLiteral("SITUACAO"), values.first());
    QAniversariantes->open();
    preview();
}

// Day and age are worked out by the handler; the day and the age stand
// right-aligned in their columns.
void TFRAniversariantes::addDetail()
{
    QRBand2 = QuickRep1->addBand(Band::Kind::Detail, QStringLiteral("QRBand2"), 64);
    const auto sized = [](Element *element, Qt::Alignment alignment = Qt::AlignLeft) {
        element->font.pointSize = 8;
        element->autoSize = true;
        element->alignment = alignment;
        return element;
    };
    txtDia = QRBand2->addLabel(QStringLiteral("txtDia"), QRect(13, 10, 70, 10), QString());
    sized(txtDia, Qt::AlignRight);
    sized(QRBand2->addDataText(QStringLiteral("QRDBText1"), QRect(130, 10, 10, 10), QStringLiteral("MEMNOME")));
    txtIdade = QRBand2->addLabel(QStringLiteral("txtIdade"), QRect(1010, 10, 90, 10), QString());
    sized(txtIdade, Qt::AlignRight);
    sized(QRBand2->addDataText(QStringLiteral("QRDBText2"), QRect(1200, 10, 10, 10), QStringLiteral("MEMTELEFONERES")));
    sized(QRBand2->addDataText(QStringLiteral("QRDBText3"), QRect(1550, 10, 10, 10), QStringLiteral("MEMCELULAR")));
    QRBand2->beforePrint = [this](Band &band) { QRBand2BeforePrint(band); };
}

void TFRAniversariantes::QRBand1BeforePrint(Band &)
{
    m_nextRowIsWhite = false;
}

void TFRAniversariantes::QRBand2BeforePrint(Band &band)
{
    const QDate birth = QAniversariantes->fieldByName(QStringLiteral("MEMDATANASC"))->asDate();
    txtDia->caption = birth.toString(QStringLiteral("dd"));
    const int age = Birthdays::ageIn(birth, Today::date().year());
    txtIdade->caption = age < 0 ? QString() : QString::number(age);
    shadeRow(band, m_nextRowIsWhite);
}

void TFRAniversariantes::QRBand3BeforePrint(Band &)
{
    stampToday(txtData);
}
