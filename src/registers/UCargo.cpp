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
    return s;
}

} // namespace

TFCargo::TFCargo(QWidget *owner) : RecordForm(owner, setup())
{
    DBEdit1 = new DBEdit(DM->DSCARGO, QStringLiteral("CARCODIGO"), TabSheet1);
    DBEdit2 = new DBEdit(DM->DSCARGO, QStringLiteral("CARDESCRICAO"), TabSheet1);
    DBEdit3 = new DBEdit(DM->DSCARGO, QStringLiteral("CARSALARIO"), TabSheet1);
    const QStringList names{QStringLiteral("DBEdit1"), QStringLiteral("DBEdit2"), QStringLiteral("DBEdit3")};
    const QStringList captions{QStringLiteral("CÓDIGO"), QStringLiteral("DESCRIÇÃO"), QStringLiteral("SALÁRIO")};
    const QList<DBEdit *> boxes{DBEdit1, DBEdit2, DBEdit3};
    for (int i = 0; i < boxes.size(); ++i) {
        boxes[i]->setObjectName(names[i]);
        boxes[i]->setCharCase(DBEdit::CharCase::Upper);
        boxes[i]->setFixedWidth(i == 1 ? 360 : 160);
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
