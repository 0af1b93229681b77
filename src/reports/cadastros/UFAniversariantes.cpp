#include "UFAniversariantes.h"

#include "URAniversariantes.h"

#include "uikit/FormKit.h"
#include "uikit/Today.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>

TFFAniversariantes *FFAniversariantes = nullptr;

TFFAniversariantes::TFFAniversariantes(QWidget *owner)
    : ReportFilter(owner, QStringLiteral("FFAniversariantes"), QStringLiteral("Filtro de Relatório de Aniversariantes"),
                   QSize(360, 260))
{
    cbMes = new QComboBox(this);
    cbMes->setObjectName(QStringLiteral("cbMes"));
    for (int m = 1; m <= 12; ++m)
        cbMes->addItem(TFRAniversariantes::monthName(m));
    cbMes->setCurrentIndex(Today::date().month() - 1);
    Label1 = FormKit::captionLabel(this, QStringLiteral("Label1"), QStringLiteral("MÊS"), cbMes, 0, true);
    btnGerar = addGenerateButton(QStringLiteral("btnGerar"), [this] { btnGerarClick(); });
    chkLetraGrande = addLargePrintChoice();

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 20, 24, 16);
    layout->addWidget(Label1);
    layout->addWidget(cbMes);
    layout->addSpacing(8);
    layout->addLayout(addSituationChoice());
    layout->addSpacing(8);
    layout->addWidget(chkLetraGrande);
    layout->addStretch();
    layout->addLayout(buttonRow(btnGerar));
}

int TFFAniversariantes::month() const
{
    return cbMes->currentIndex() + 1;
}

void TFFAniversariantes::btnGerarClick()
{
    auto *report = new TFRAniversariantes(this);
    report->setLargePrint(largePrint());
    report->previewMonth(month(), situation());
}
