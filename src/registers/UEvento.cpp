#include "UEvento.h"

#include "uikit/Appearance.h"
#include "uikit/FormKit.h"
#include "reports/cadastros/UFEvento.h"
#include "datamodule/UDM.h"
#include "controls/DBEdit.h"
#include "controls/DBGrid.h"
#include "controls/DBLookupComboBox.h"
#include "controls/DBNavigator.h"
#include "controls/DBMemo.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

TFEvento *FEvento = nullptr;

namespace {

RecordFormSetup setup()
{
    RecordFormSetup s;
    s.objectName = QStringLiteral("FEvento");
    s.caption = QStringLiteral("Cadastro de Eventos");
    s.source = DM->DSEVENTO;
    s.codeColumn = QStringLiteral("EVECODIGO");
    s.openOnShow = {DM->TBEVENTO, DM->TBFUNCIONARIO};
    s.searchColumn = QStringLiteral("EVEDESCRICAO");
    s.searchLabel = QStringLiteral("BUSCA DE EVENTO POR DESCRIÇÃO: ");
    s.reportCaption = QStringLiteral("Gerar Relatório");
    s.saveAndNew = true;
    s.size = QSize(728, 531);
    s.exportName = QStringLiteral("eventos");
    return s;
}

} // namespace

TFEvento::TFEvento(QWidget *owner) : RecordForm(owner, setup())
{
    QWidget *page = TabSheet1;
    DBEdit1 = fieldBox(QStringLiteral("DBEdit1"), QStringLiteral("EVECODIGO"), 80);
    DBMemo1 = new DBMemo(DM->DSEVENTO, QStringLiteral("EVEDESCRICAO"), page);
    DBMemo1->setObjectName(QStringLiteral("DBMemo1"));
    DBMemo1->setFixedHeight(Appearance::scaled(110));
    DBEdit3 = fieldBox(QStringLiteral("DBEdit3"), QStringLiteral("EVEDATA"), 100);
    DBEdit4 = fieldBox(QStringLiteral("DBEdit4"), QStringLiteral("EVEHORA"), 40);
    DBEdit5 = fieldBox(QStringLiteral("DBEdit5"), QStringLiteral("EVEMINUTOS"), 40);
    DBEdit5->setAccessibleName(QStringLiteral("MINUTOS"));
    DBEdit6 = fieldBox(QStringLiteral("DBEdit6"), QStringLiteral("EVEFUNCIONARIO"), 70);
    DBLookupComboBox1 = new DBLookupComboBox(page);
    DBLookupComboBox1->setObjectName(QStringLiteral("DBLookupComboBox1"));
    DBLookupComboBox1->setAccessibleName(QStringLiteral("NOME DO FUNCIONÁRIO"));
    DBLookupComboBox1->setListSource(DM->DSFUNCIONARIO, QStringLiteral("FUNCODIGO"), QStringLiteral("FUNNOME"));
    DBLookupComboBox1->setDataField(DM->DSEVENTO, QStringLiteral("EVEFUNCIONARIO"));

    addLabeled(QStringLiteral("Label1"), QStringLiteral("CÓDIGO"), DBEdit1);
    addLabeled(QStringLiteral("Label2"), QStringLiteral("DESCRIÇÃO"), DBMemo1);
    addLabeled(QStringLiteral("Label3"), QStringLiteral("DATA"), DBEdit3);
    auto *time = new QHBoxLayout;
    time->addWidget(DBEdit4);
    time->addWidget(FormKit::captionLabel(page, QStringLiteral("Label5"), QStringLiteral(" : "), nullptr, 0, true));
    time->addWidget(DBEdit5);
    time->addStretch();
    addLabeled(QStringLiteral("Label4"), QStringLiteral("HORÁRIO"), time, DBEdit4);
    auto *employee = new QHBoxLayout;
    employee->addWidget(DBEdit6);
    employee->addWidget(DBLookupComboBox1, 1);
    addLabeled(QStringLiteral("Label6"), QStringLiteral("FUNCIONÁRIO"), employee, DBEdit6);

    setCodeBox(DBEdit1);
    addEditable({DBMemo1, DBEdit3, DBEdit4, DBEdit5, DBEdit6, DBLookupComboBox1});
    setFirstField(DBMemo1);
    addFieldKeys(DBMemo1, true); // Enter and the arrows keep their meaning there
    addFieldKeys(DBLookupComboBox1, true);
    setTabChain({DBEdit1, DBMemo1, DBEdit3, DBEdit4, DBEdit5, DBEdit6, DBLookupComboBox1, DBNavigator1});

    DBGrid1->addColumn(QStringLiteral("EVEDESCRICAO"), QStringLiteral("EVEDESCRICAO"), 427);
    DBGrid1->addColumn(QStringLiteral("EVEDATA"), QStringLiteral("EVEDATA"), 85);
    DBGrid1->addColumn(QStringLiteral("EVEHORA"), QStringLiteral("EVEHORA"), 65);
    DBGrid1->addColumn(QStringLiteral("EVEMINUTOS"), QStringLiteral("EVEMINUTOS"), 85);
    finishLayout();
}

void TFEvento::btnRelatorioClick()
{
    FormKit::openModal(FFEvento, this);
}
