#include "UCargo.h"

#include "data/UDM.h"
#include "data/controls/DBEdit.h"
#include "data/controls/DBGrid.h"

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
    DBEdit1 = dataEdit(QStringLiteral("DBEdit1"), QStringLiteral("CARCODIGO"), 160);
    DBEdit2 = dataEdit(QStringLiteral("DBEdit2"), QStringLiteral("CARDESCRICAO"), 360);
    DBEdit3 = dataEdit(QStringLiteral("DBEdit3"), QStringLiteral("CARSALARIO"), 160);
    const QStringList captions{QStringLiteral("CÓDIGO"), QStringLiteral("DESCRIÇÃO"), QStringLiteral("SALÁRIO")};
    const QList<DBEdit *> boxes{DBEdit1, DBEdit2, DBEdit3};
    for (int i = 0; i < boxes.size(); ++i) {
        addLabeled(QStringLiteral("Label%1").arg(i + 1), captions[i], boxes[i]);
        addFieldKeys(boxes[i]);
    }
    setCodeBox(DBEdit1);
    addEditable(DBEdit2);
    addEditable(DBEdit3);
    setFirstField(DBEdit2);
    setTabOrder(DBEdit1, DBEdit2);
    setTabOrder(DBEdit2, DBEdit3);

    DBGrid1->addColumn(QStringLiteral("CARCODIGO"), QStringLiteral("CÓDIGO"), 70);
    DBGrid1->addColumn(QStringLiteral("CARDESCRICAO"), QStringLiteral("DESCRIÇÃO"), 300);
    DBGrid1->addColumn(QStringLiteral("CARSALARIO"), QStringLiteral("SALÁRIO"), 120);
    finishLayout();
}
