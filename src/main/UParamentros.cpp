#include "UParamentros.h"

#include "datamodule/ParameterCodes.h"
#include "datamodule/UDM.h"
#include "controls/DBEdit.h"
#include "controls/DBGrid.h"
#include "controls/DBMemo.h"

TFParamentros *FParamentros = nullptr;

namespace {

RecordFormSetup setup()
{
    RecordFormSetup s;
    s.objectName = QStringLiteral("FParamentros");
    s.caption = QStringLiteral("Parâmetros do Sistema");
    s.source = DM->DSPARAMENTROS;
    s.codeColumn = QStringLiteral("PARCODIGO");
    s.openOnShow = {DM->TBPARAMENTROS};
    s.activateSourcesOnShow = false;
    s.rereadOnNew = false;
    s.codeEditable = true;
    s.navigator = false;
    s.searchColumn = QStringLiteral("PAROBSERVACOES");
    s.searchLabel = QStringLiteral("BUSCAR POR OBSERVAÇÃO / DESCRIÇÃO: ");
    s.searchBoxName = QStringLiteral("txtBusca");
    s.exportName = QStringLiteral("parametros");
    return s;
}

} // namespace

TFParamentros::TFParamentros(QWidget *owner) : RecordForm(owner, setup())
{
    DBEdit1 = dataEdit(QStringLiteral("DBEdit1"), QStringLiteral("PARCODIGO"), 120);
    DBEdit2 = dataEdit(QStringLiteral("DBEdit2"), QStringLiteral("PARVALOR"));
    DBMemo1 = new DBMemo(DM->DSPARAMENTROS, QStringLiteral("PAROBSERVACOES"), TabSheet1);
    DBMemo1->setObjectName(QStringLiteral("DBMemo1"));
    DBMemo1->setMaximumHeight(120);
    addLabeled(QStringLiteral("Label1"), QStringLiteral("CÓDIGO"), DBEdit1);
    addLabeled(QStringLiteral("Label2"), QStringLiteral("VALOR"), DBEdit2);
    // The label reads "OBSERVACÕES" while the grid's title reads "OBSERVAÇÕES", as the users know them.
    addLabeled(QStringLiteral("Label3"), QStringLiteral("OBSERVACÕES / DESCRIÇÃO"), DBMemo1);
    setCodeBox(DBEdit1);
    addEditable({DBEdit2, DBMemo1});
    setFirstField(DBEdit2);
    setTabChain({DBEdit1, DBEdit2, DBMemo1});

    DBGrid1->addColumn(QStringLiteral("PARCODIGO"), QStringLiteral("CÓDIGO"), 70);
    DBGrid1->addColumn(QStringLiteral("PARVALOR"), QStringLiteral("VALOR"), 250);
    DBGrid1->addColumn(QStringLiteral("PAROBSERVACOES"), QStringLiteral("OBSERVAÇÕES / DESCRIÇÃO"), 300);
    finishLayout();
}

void TFParamentros::btnNovoClick()
{
    RecordForm::btnNovoClick();
    TableDataset *parameters = DM->TBPARAMENTROS;
    if (parameters->state() != Dataset::State::Insert)
        return;
    const int column = DM->TBPARAMENTROSPARCODIGO->index();
    int code = 1;
    for (int i = 0; i < parameters->allRowCount(); ++i) {
        const QVariant held = parameters->allRowValue(i, column);
        if (!held.isNull() && !ParameterCode::isProgramCode(held.toInt()))
            code = qMax(code, held.toInt() + 1);
    }
    while (ParameterCode::isProgramCode(code))
        ++code;
    DM->TBPARAMENTROSPARCODIGO->setAsInteger(code);
}
