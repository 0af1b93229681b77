#include "UFMembro.h"

#include "URMembro.h"
#include "URMembro2.h"

#include "uikit/FormKit.h"
#include "datamodule/UDM.h"
#include "controls/DBLookupComboBox.h"
#include "provider/QueryDataset.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>

TFFMembro *FFMembro = nullptr;

TFFMembro::TFFMembro(QWidget *owner)
    : ReportFilter(owner, QStringLiteral("FFMembro"), QStringLiteral("Filtro de Relatório de Membros"), QSize(411, 340))
{
    RGMembros = addChoices(QStringLiteral("RGMembros"), QStringLiteral("TIPO DE RELATÓRIO"),
                           {QStringLiteral("LISTA DE MEMBROS DA IGREJA"), QStringLiteral("FICHA CADASTRAL DE MEMBRO")}, 1);
    DBLookupComboBox1 = addRowList(DM->DSMEMBRO, QStringLiteral("MEMCODIGO"), QStringLiteral("MEMNOME"));
    Label1 = FormKit::captionLabel(this, QStringLiteral("Label1"), QStringLiteral("MEMBRO"), DBLookupComboBox1, 0, true);
    btnGerar = addGenerateButton(QStringLiteral("btnGerar"), [this] { btnGerarClick(); });
    chkLetraGrande = addLargePrintChoice();

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 12, 16, 12);
    layout->addWidget(RGMembros);
    layout->addSpacing(8);
    layout->addWidget(Label1);
    layout->addWidget(DBLookupComboBox1);
    layout->addSpacing(8);
    layout->addLayout(addSituationChoice());
    layout->addSpacing(8);
    layout->addWidget(chkLetraGrande);
    layout->addStretch();
    layout->addLayout(buttonRow(btnGerar));
}

void TFFMembro::btnGerarClick()
{
    switch (choice()) {
    case 0: {
        auto *report = new TFRMembro(this);
        report->setLargePrint(largePrint());
        QVariantList values;
        const QStringList sql = TFRMembro::sqlFor(situation(), values);
        report->previewWith(report->QMembro, sql, values);
        break;
    }
    case 1:
        (new TFRMembro2(this))->preview();
        break;
    default:
        break; // no report chosen
    }
}
