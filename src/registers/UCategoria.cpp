#include "UCategoria.h"

#include "uikit/Appearance.h"
#include "uikit/Messages.h"
#include "datamodule/UDM.h"
#include "controls/DBEdit.h"
#include "controls/DBGrid.h"
#include "controls/DBRadioGroup.h"

#include <QLineEdit>
#include <QVBoxLayout>

TFCategoria *FCategoria = nullptr;

namespace {

RecordFormSetup setup()
{
    RecordFormSetup s;
    s.objectName = QStringLiteral("FCategoria");
    s.caption = QStringLiteral("Cadastro de Categorias");
    s.source = DM->DSCATEGORIA;
    s.codeColumn = QStringLiteral("CATCODIGO");
    s.openOnShow = {DM->TBCATEGORIA};
    s.capitals = true;
    s.saveAndNew = true;
    s.exportName = QStringLiteral("categorias");
    return s;
}

} // namespace

TFCategoria::TFCategoria(QWidget *owner) : RecordForm(owner, setup())
{
    DBEdit1 = dataEdit(QStringLiteral("DBEdit1"), QStringLiteral("CATCODIGO"), 160);
    DBEdit2 = dataEdit(QStringLiteral("DBEdit2"), QStringLiteral("CATDESCRICAO"), 400);
    DBRadioGroup1 = new DBRadioGroup(DM->DSCATEGORIA, QStringLiteral("CATTIPO"), QStringLiteral("TIPO"),
                                     {QStringLiteral("ENTRADA"), QStringLiteral("SAIDA")}, TabSheet1);
    DBRadioGroup1->setObjectName(QStringLiteral("DBRadioGroup1"));
    DBRadioGroup1->setFixedWidth(Appearance::scaled(400));
    Edit1 = new QLineEdit(TabSheet1);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setFixedWidth(1);
    Edit1->setFrame(false);

    addLabeled(QStringLiteral("Label1"), QStringLiteral("CÓDIGO"), DBEdit1);
    addLabeled(QStringLiteral("Label2"), QStringLiteral("DESCRIÇÃO"), DBEdit2);
    entryLayout()->addWidget(DBRadioGroup1, 0, Qt::AlignLeft);
    entryLayout()->addWidget(Edit1, 0, Qt::AlignLeft);
    for (DBEdit *box : {DBEdit1, DBEdit2})
        addFieldKeys(box);
    setCodeBox(DBEdit1);
    addEditable(DBEdit2);
    addEditable(DBRadioGroup1);
    setFirstField(DBEdit2);
    setTabOrder(DBEdit1, DBEdit2);
    setTabOrder(DBEdit2, DBRadioGroup1);

    DBGrid1->addColumn(QStringLiteral("CATCODIGO"), QStringLiteral("CÓDIGO"), 70);
    DBGrid1->addColumn(QStringLiteral("CATDESCRICAO"), QStringLiteral("DESCRIÇÃO"), 360);
    DBGrid1->addColumn(QStringLiteral("CATTIPO"), QStringLiteral("TIPO"), 100);
    finishLayout();
}

// A category without its kind would be offered for no movement. Leaving the
// focused control hands its value to the row first.
void TFCategoria::btnSalvarClick()
{
    Edit1->setFocus();
    if (DM->TBCATEGORIACATTIPO->asString().isEmpty()) {
        Messages::information(QStringLiteral("Informe se a categoria é de ENTRADA ou de SAÍDA!"));
        DBRadioGroup1->setFocus();
        return;
    }
    RecordForm::btnSalvarClick();
}
