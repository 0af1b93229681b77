#include "URFuncionario.h"

#include "datamodule/UDM.h"
#include "provider/QueryDataset.h"

#include <QLocale>
#include <QRegularExpression>

const QStringList TFRFuncionario::kSql = {QStringLiteral("SELECT  TFUNCIONARIO.*"), QStringLiteral("FROM  TFUNCIONARIO"),
                                          QStringLiteral("ORDER BY  TFUNCIONARIO.FUNNOME;")};

TFRFuncionario::TFRFuncionario(QWidget *owner) : ReportWindow(owner)
{
    setObjectName(QStringLiteral("FRFuncionario"));
    QFuncionario = addQuery(QStringLiteral("QFuncionario"), kSql);
    QuickRep1->onStart = [this] { QuickRep1BeforePrint(); };
    QRBand1 = addListTitle(347, 21, QStringLiteral("Relatório de Funcionários"), QStringLiteral("Lista de Funcionários"), 296,
                           {{"QRLabel4", QStringLiteral("Nome"), 13},
                            {"QRLabel5", QStringLiteral("Cargo"), 373},
                            {"QRLabel6", QStringLiteral("Salário"), 638},
                            {"QRLabel8", QStringLiteral("Telefone"), 847},
                            {"QRLabel7", QStringLiteral("Email"), 1037},
                            {"QRLabel3", QStringLiteral("Endereço: "), 1283}});
    QRBand1->beforePrint = [this](Band &band) { QRBand1BeforePrint(band); };
    addDetail();
    addFooter();
    // The e-mail address has the widest column.
    largePrintColumns(6, {{373, 520}, {635, 880}, {847, 1220}, {1037, 1600}, {1281, 2320}});
}

void TFRFuncionario::addDetail()
{
    QRBand3 = QuickRep1->addBand(Band::Kind::Detail, QStringLiteral("QRBand3"), 63);
    const auto small = [](Element *element) {
        element->font.pointSize = 6;
        element->autoSize = true;
    };
    const auto column = [&](const char *name, const char *field, int left) {
        small(QRBand3->addDataText(QString::fromLatin1(name), QRect(left, 10, 10, 10), QString::fromLatin1(field)));
    };
    const auto label = [&](const char *name, int left) {
        LabelElement *element = QRBand3->addLabel(QString::fromLatin1(name), QRect(left, 10, 10, 10), QString());
        small(element);
        return element;
    };
    column("QRDBText1", "FUNNOME", 13);
    txtCargo = label("txtCargo", 373);
    column("QRDBText3", "FUNSALARIO", 635);
    QRDBText4 = label("QRDBText4", 847); // the telephone, through its mask
    column("QRDBText5", "FUNEMAIL", 1037);
    column("QRDBText6", "FUNENDERECO", 1281);
    QRBand3->beforePrint = [this](Band &band) { QRBand3BeforePrint(band); };
}

void TFRFuncionario::addFooter()
{
    QRBand2 = QuickRep1->addBand(Band::Kind::PageFooter, QStringLiteral("QRBand2"), 466);
    LabelElement *caption = QRBand2->addLabel(QStringLiteral("QRLabel11"), QRect(13, 32, 10, 10),
                                              QStringLiteral("Total em Salários: "));
    caption->font = {QString(), 8, true};
    caption->autoSize = true;
    txtSalarios = QRBand2->addLabel(QStringLiteral("txtSalarios"), QRect(291, 29, 10, 10), QString());
    txtSalarios->autoSize = true;
    txtData = addGeneratedOn(QRBand2, 1371, 1714, 296);
    QRBand2->beforePrint = [this](Band &band) { QRBand2BeforePrint(band); };
}

// The total of all salaries of the query, worked out before the rows are
// walked for printing, so every page footer shows it and no row is skipped.
void TFRFuncionario::QuickRep1BeforePrint()
{
    m_salaries = 0;
    if (!QFuncionario->active())
        return;
    Field *salary = QFuncionario->fieldByName(QStringLiteral("FUNSALARIO"));
    for (QFuncionario->first(); !QFuncionario->eof(); QFuncionario->next())
        m_salaries += salary->asFloat();
}

void TFRFuncionario::QRBand1BeforePrint(Band &)
{
    m_nextRowIsWhite = false;
}

void TFRFuncionario::QRBand3BeforePrint(Band &band)
{
    DM->SQLCARGO->setActive(true);
    DM->TBCARGO->open();
    const QVariant position = QFuncionario->fieldByName(QStringLiteral("FUNCARGO"))->value();
    txtCargo->caption = lookUp(DM->TBCARGO, QStringLiteral("CARCODIGO"), position, QStringLiteral("CARDESCRICAO")).toString();
    QRDBText4->caption = telephoneText(QFuncionario->fieldByName(QStringLiteral("FUNTELEFONERES"))->asString());
    shadeRow(band, m_nextRowIsWhite);
}

void TFRFuncionario::QRBand2BeforePrint(Band &)
{
    txtSalarios->caption = salaryTotalText(m_salaries);
    stampToday(txtData);
}

QString TFRFuncionario::salaryTotalText(double total)
{
    const QLocale locale;
    QString digits = locale.toString(qAbs(total), 'f', 2);
    const QString zeroUnits = locale.zeroDigit() + locale.decimalPoint();
    if (digits.startsWith(zeroUnits))
        digits.remove(0, locale.zeroDigit().size());
    const bool negative = total < 0 && digits.contains(QRegularExpression(QStringLiteral("[1-9]")));
    return (negative ? QStringLiteral("-R$") : QStringLiteral("R$")) + digits;
}

// The mask keeps its literals with the digits: a number stored in that shape
// shows as it is; other numbers have their digits laid into the mask from the
// right, the optional area code padded with blanks on its left.
QString TFRFuncionario::telephoneText(const QString &stored)
{
    static const QRegularExpression shaped(QStringLiteral("^\\([ 0-9]{3}\\)[0-9]{4}-[0-9]{4}$"));
    if (stored.isEmpty() || shaped.match(stored).hasMatch())
        return stored;
    QString digits = stored;
    digits.remove(QRegularExpression(QStringLiteral("[^0-9]")));
    if (digits.size() < 8 || digits.size() > 11)
        return stored; // not a telephone number the mask can hold
    const QString line = digits.right(8);
    const QString area = digits.left(digits.size() - 8).rightJustified(3, u' ');
    return u'(' + area + u')' + line.left(4) + u'-' + line.mid(4);
}
