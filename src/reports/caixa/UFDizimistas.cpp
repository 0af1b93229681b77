#include "UFDizimistas.h"

#include "URDizimistas.h"

#include "datamodule/CashCategories.h"
#include "uikit/ErrorGuard.h"
#include "uikit/FormKit.h"
#include "uikit/Messages.h"
#include "uikit/Today.h"
#include "datamodule/UDM.h"
#include "dataset/TableDataset.h"
#include "dataset/TableProvider.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QShowEvent>
#include <QToolButton>
#include <QVBoxLayout>

TFFDizimistas *FFDizimistas = nullptr;

namespace {

const QString kDateFormat = QStringLiteral("dd/MM/yyyy");

} // namespace

TFFDizimistas::TFFDizimistas(QWidget *owner)
    : ReportFilter(owner, QStringLiteral("FFDizimistas"), QStringLiteral("Filtro de Relatório de Dizimistas"),
                   QSize(452, 310))
{
    txtDataInicial = addDateBox(QStringLiteral("txtDataInicial"));
    txtDataFinal = addDateBox(QStringLiteral("txtDataFinal"));
    cmbCategoria = new QComboBox(this);
    cmbCategoria->setObjectName(QStringLiteral("cmbCategoria"));
    Label1 = FormKit::captionLabel(this, QStringLiteral("Label1"), QStringLiteral("PERÍODO DE: "), txtDataInicial, 0, true);
    Label2 = FormKit::captionLabel(this, QStringLiteral("Label2"), QStringLiteral(" A "), txtDataFinal, 0, true);
    Label3 = FormKit::captionLabel(this, QStringLiteral("Label3"), QStringLiteral("CATEGORIA: "), cmbCategoria, 0, true);
    btnGerar = addGenerateButton(QStringLiteral("btnGerar"), [this] { btnGerarClick(); });
    chkLetraGrande = addLargePrintChoice();
    // This year so far, as a treasurer asks most often.
    const QDate today = Today::date();
    txtDataInicial->setText(QDate(today.year(), 1, 1).toString(kDateFormat));
    txtDataFinal->setText(today.toString(kDateFormat));
    layOut();
}

void TFFDizimistas::layOut()
{
    auto *grid = new QGridLayout;
    grid->addWidget(Label1, 0, 0);
    auto *period = new QHBoxLayout;
    period->addWidget(txtDataInicial);
    period->addWidget(Label2);
    period->addWidget(txtDataFinal);
    period->addStretch();
    grid->addLayout(period, 0, 1);
    grid->addWidget(Label3, 1, 0);
    grid->addWidget(cmbCategoria, 1, 1);
    grid->addLayout(addSituationChoice(), 2, 1);
    grid->addWidget(chkLetraGrande, 3, 1);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 18, 16, 12);
    layout->addLayout(grid);
    layout->addStretch();
    layout->addLayout(buttonRow(btnGerar));
    setTabOrder(txtDataInicial, txtDataFinal);
    setTabOrder(txtDataFinal, cmbCategoria);
}

void TFFDizimistas::showEvent(QShowEvent *event)
{
    ReportFilter::showEvent(event);
    if (!event->spontaneous())
        runGuarded([this] { FormShow(); });
}

void TFFDizimistas::FormShow()
{
    listCategories();
    txtDataInicial->setFocus();
}

// Every stored category of entries, whatever list the movements window
// left on the shared table; "DÍZIMOS" chosen when there is one.
void TFFDizimistas::listCategories()
{
    cmbCategoria->clear();
    cmbCategoria->addItem(QStringLiteral("TODAS AS ENTRADAS"));
    TableDataset *categories = DM->TBCATEGORIA;
    categories->provider()->openSource();
    categories->open();
    const int code = DM->TBCATEGORIACATCODIGO->index();
    const int description = DM->TBCATEGORIACATDESCRICAO->index();
    const int kind = DM->TBCATEGORIACATTIPO->index();
    for (int i = 0; i < categories->allRowCount(); ++i) {
        if (categories->allRowValue(i, kind).toString() != CashCategories::kEntry)
            continue;
        const QString name = categories->allRowValue(i, description).toString();
        cmbCategoria->addItem(name, categories->allRowValue(i, code));
        if (name == QStringLiteral("DÍZIMOS"))
            cmbCategoria->setCurrentIndex(cmbCategoria->count() - 1);
    }
}

void TFFDizimistas::btnGerarClick()
{
    const QDate first = dateIn(txtDataInicial);
    const QDate last = dateIn(txtDataFinal);
    if (last < first) {
        Messages::information(QStringLiteral("A data final do período é anterior à inicial."));
        return;
    }
    auto *report = new TFRDizimistas(this);
    report->setLargePrint(largePrint());
    report->setPeriod(first, last);
    report->setCategory(cmbCategoria->currentData(), cmbCategoria->currentText());
    report->setSituation(situation());
    report->preview();
}
