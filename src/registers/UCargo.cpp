#include "UCargo.h"

#include "datamodule/UDM.h"
#include "controls/DBEdit.h"
#include "controls/DBGrid.h"

TFCargo *FCargo = nullptr;

namespace {

RecordFormSetup setup()
{
    RecordFormSetup s;
    s.objectName = QStringLiteral("FCargo");
    s.caption = QStringLiteral("Cadastro de Cargos");
    s.source = DM->DSCARGO;
    s.codeColumn = QStringLiteral("CARCODIGO");
    s.openOnShow = {DM->TBCARGO};
    s.capitals = true;
    s.exportName = QStringLiteral("cargos");
    return s;
}

} // namespace

TFCargo::TFCargo(QWidget *owner) : RecordForm(owner, setup())
{
    DBEdit1 = fieldBox(QStringLiteral("DBEdit1"), QStringLiteral("CARCODIGO"), 160);
    DBEdit2 = fieldBox(QStringLiteral("DBEdit2"), QStringLiteral("CARDESCRICAO"), 360);
    DBEdit3 = fieldBox(QStringLiteral("DBEdit3"), QStringLiteral("CARSALARIO"), 160);
    addLabeled(QStringLiteral("Label1"), QStringLiteral("CÓDIGO"), DBEdit1);
    addLabeled(QStringLiteral("Label2"), QStringLiteral("DESCRIÇÃO"), DBEdit2);
    addLabeled(QStringLiteral("Label3"), QStringLiteral("SALÁRIO"), DBEdit3);
    setCodeBox(DBEdit1);
    addEditable({DBEdit2, DBEdit3});
    setFirstField(DBEdit2);
    setTabChain({DBEdit1, DBEdit2, DBEdit3});

    DBGrid1->addColumn(QStringLiteral("CARCODIGO"), QStringLiteral("CÓDIGO"), 70);
    DBGrid1->addColumn(QStringLiteral("CARDESCRICAO"), QStringLiteral("DESCRIÇÃO"), 300);
    DBGrid1->addColumn(QStringLiteral("CARSALARIO"), QStringLiteral("SALÁRIO"), 120);
    finishLayout();
}
