#include "UFEvento.h"

#include "UREvento.h"

#include "uikit/ErrorGuard.h"
#include "uikit/FormKit.h"
#include "uikit/Messages.h"
#include "datamodule/UDM.h"
#include "controls/DBLookupComboBox.h"
#include "dataset/Field.h"
#include "provider/QueryDataset.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QShowEvent>
#include <QToolButton>
#include <QVBoxLayout>

TFFEvento *FFEvento = nullptr;

TFFEvento::TFFEvento(QWidget *owner)
    : ReportFilter(owner, QStringLiteral("FFEvento"), QStringLiteral("Filtro de Relatório de Eventos"), QSize(452, 311))
{
    RGFuncionario = addChoices(QStringLiteral("RGFuncionario"), QStringLiteral("Relatório por "),
                               {QStringLiteral("Funcionário"), QStringLiteral("Período"),
                                QStringLiteral("Funcionário e Período")}, 3);
    m_choices->button(ByPeriod)->setChecked(true);
    txtDataInicial = addDateBox(QStringLiteral("txtDataInicial")); // txtDataInicialKeyDown
    txtDataFinal = addDateBox(QStringLiteral("txtDataFinal"));
    DBLookupComboBox1 = addRowList(DM->DSFUNCIONARIO, QStringLiteral("FUNCODIGO"), QStringLiteral("FUNNOME"));
    Label1 = FormKit::captionLabel(this, QStringLiteral("Label1"), QStringLiteral("PERÍODO DE: "), txtDataInicial, 0, true);
    Label2 = FormKit::captionLabel(this, QStringLiteral("Label2"), QStringLiteral(" A "), txtDataFinal, 0, true);
    Label3 = FormKit::captionLabel(this, QStringLiteral("Label3"), QStringLiteral("FUNCIONÁRIO: "), DBLookupComboBox1, 0, true);
    btnRelatorio = addGenerateButton(QStringLiteral("btnRelatorio"), [this] { btnRelatorioClick(); });
    chkLetraGrande = addLargePrintChoice();
    layOut();
}

void TFFEvento::layOut()
{
    auto *period = new QHBoxLayout;
    period->addWidget(Label1);
    period->addWidget(txtDataInicial);
    period->addWidget(Label2);
    period->addWidget(txtDataFinal);
    period->addStretch();
    auto *employee = new QHBoxLayout;
    employee->addWidget(Label3);
    employee->addWidget(DBLookupComboBox1, 1);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 12, 16, 12);
    layout->addWidget(RGFuncionario);
    layout->addSpacing(8);
    layout->addLayout(period);
    layout->addSpacing(8);
    layout->addLayout(employee);
    layout->addSpacing(8);
    layout->addWidget(chkLetraGrande);
    layout->addStretch();
    layout->addLayout(buttonRow(btnRelatorio));
    FormKit::tabChain({txtDataInicial, txtDataFinal, DBLookupComboBox1, m_choices->button(ByPeriod)});
}

void TFFEvento::showEvent(QShowEvent *event)
{
    ReportFilter::showEvent(event);
    if (!event->spontaneous())
        runGuarded([this] { FormShow(); });
}

void TFFEvento::FormShow()
{
    DM->SQLFUNCIONARIO->setActive(true);
    DM->TBFUNCIONARIO->open();
    txtDataInicial->setFocus();
}

// The query's values are checked before the report is made: a date that is
// no date stops with the conversion error, and a choice by employee with no
// employee picked asks for one instead of listing whichever employee the
// shared table happens to stand on.
void TFFEvento::btnRelatorioClick()
{
    const int chosen = choice();
    if (chosen != ByPeriod && DBLookupComboBox1->keyValue().isNull()) {
        Messages::information(QStringLiteral("Escolha o funcionário."));
        return;
    }
    auto *report = new TFREvento(this);
    report->setLargePrint(largePrint());
    filterQuery(report->QEventos, chosen);
    report->QEventos->open();
    report->preview();
}

void TFFEvento::filterQuery(QueryDataset *query, int chosen) const
{
    query->close();
    query->clearSql();
    query->addSql(QStringLiteral("SELECT TEVENTO.* FROM TEVENTO"));
    if (chosen == ByEmployee) {
        query->addSql(QStringLiteral("WHERE TEVENTO.EVEFUNCIONARIO = :FUNCIONARIO"));
    } else {
        query->addSql(QStringLiteral("WHERE TEVENTO.EVEDATA >= :DATA1"));
        query->addSql(QStringLiteral("AND TEVENTO.EVEDATA <= :DATA2"));
        query->setParam(QStringLiteral("DATA1"), dateIn(txtDataInicial));
        query->setParam(QStringLiteral("DATA2"), dateIn(txtDataFinal));
        if (chosen == ByEmployeeAndPeriod)
            query->addSql(QStringLiteral("AND TEVENTO.EVEFUNCIONARIO = :FUNCIONARIO"));
    }
    if (chosen != ByPeriod)
        query->setParam(QStringLiteral("FUNCIONARIO"), DBLookupComboBox1->keyValue().toInt());
    query->addSql(QStringLiteral("ORDER BY TEVENTO.EVEDATA"));
}
