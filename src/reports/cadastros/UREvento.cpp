#include "UREvento.h"

#include "datamodule/UDM.h"
#include "provider/QueryDataset.h"

TFREvento::TFREvento(QWidget *owner) : ReportWindow(owner)
{
    setObjectName(QStringLiteral("FREvento"));
    QEventos = addQuery(QStringLiteral("QEventos"), {QStringLiteral("SELECT TEVENTO.* FROM TEVENTO")});
    QRBand1 = addListTitle(347, 21, QStringLiteral("Relatório de Eventos"), QStringLiteral("Lista de Eventos"), 296,
                           {{"QRLabel4", QStringLiteral("Descrição"), 13},
                            {"QRLabel5", QStringLiteral("Funcionário"), 947},
                            {"QRLabel6", QStringLiteral("Data"), 1521},
                            {"QRLabel8", QStringLiteral("Horário"), 1744}});
    QRBand1->beforePrint = [this](Band &band) { QRBand1BeforePrint(band); };
    addDetail();
    largePrintColumns(8, {{947, 1250}, {1495, 2050}, {1638, 2360}, {1775, 2565}, {1804, 2640}});
    QRBand2 = QuickRep1->addBand(Band::Kind::PageFooter, QStringLiteral("QRBand2"), 466);
    txtData = addGeneratedOn(QRBand2, 1371, 1714, 296);
    QRBand2->beforePrint = [this](Band &band) { QRBand2BeforePrint(band); };
}

void TFREvento::addDetail()
{
    QRBand3 = QuickRep1->addBand(Band::Kind::Detail, QStringLiteral("QRBand3"), 63);
    const auto sized = [](Element *element) {
        element->font.pointSize = 8;
        element->autoSize = true;
        return element;
    };
    const auto column = [&](const char *name, const char *field, int left) {
        return sized(QRBand3->addDataText(QString::fromLatin1(name), QRect(left, 10, 10, 10), QString::fromLatin1(field)));
    };
    column("QRDBText1", "EVEDESCRICAO", 13);
    txtFuncionario = QRBand3->addLabel(QStringLiteral("txtFuncionario"), QRect(947, 10, 10, 10), QString());
    sized(txtFuncionario);
    column("QRDBText3", "EVEDATA", 1495);
    // The hour ends next to the colon: right-aligned in a box of fixed width.
    DataTextElement *hour = QRBand3->addDataText(QStringLiteral("QRDBText4"), QRect(1638, 10, 135, 40),
                                                 QStringLiteral("EVEHORA"));
    hour->font.pointSize = 8;
    hour->alignment = Qt::AlignRight;
    sized(QRBand3->addLabel(QStringLiteral("QRLabel3"), QRect(1775, 10, 10, 10), QStringLiteral(" : ")));
    column("QRDBText5", "EVEMINUTOS", 1804);
    QRBand3->beforePrint = [this](Band &band) { QRBand3BeforePrint(band); };
}

void TFREvento::QRBand1BeforePrint(Band &)
{
    m_nextRowIsWhite = false;
}

void TFREvento::QRBand3BeforePrint(Band &band)
{
    txtFuncionario->caption.clear();
    DM->SQLFUNCIONARIO->setActive(true);
    DM->TBFUNCIONARIO->open();
    const QVariant employee = QEventos->fieldByName(QStringLiteral("EVEFUNCIONARIO"))->value();
    txtFuncionario->caption =
        lookUp(DM->TBFUNCIONARIO, QStringLiteral("FUNCODIGO"), employee, QStringLiteral("FUNNOME")).toString();
    shadeRow(band, m_nextRowIsWhite);
}

void TFREvento::QRBand2BeforePrint(Band &)
{
    stampToday(txtData);
}
