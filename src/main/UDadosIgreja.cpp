#include "UDadosIgreja.h"

#include "datamodule/ChurchData.h"
#include "datamodule/TaxNumber.h"
#include "uikit/Appearance.h"
#include "uikit/ErrorGuard.h"
#include "uikit/FormKit.h"
#include "uikit/Messages.h"
#include "datamodule/UDM.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QShowEvent>
#include <QToolButton>

TFDadosIgreja *FDadosIgreja = nullptr;

using namespace ParameterCode;

TFDadosIgreja::TFDadosIgreja(QWidget *owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("FDadosIgreja"));
    setWindowTitle(QStringLiteral("Dados da Igreja"));
    FormKit::whiteBackground(this);
    setFixedSize(Appearance::scaled(QSize(560, 600)));
    buildControls();
    layOut();
}

QLineEdit *TFDadosIgreja::box(const char *name, int code)
{
    QLineEdit *edit = FormKit::textBox(this, QString::fromLatin1(name), false, DM->TBPARAMENTROSPARVALOR->size());
    FormKit::boxKeys(edit, nullptr, [this] { reject(); });
    m_boxes.insert(code, edit);
    return edit;
}

void TFDadosIgreja::buildControls()
{
    txtNome = box("txtNome", ChurchName);
    txtCNPJ = box("txtCNPJ", Cnpj);
    txtCNPJ->setPlaceholderText(QStringLiteral("00.000.000/0000-00"));
    txtEndereco = box("txtEndereco", Address);
    txtCidade = box("txtCidade", CityState);
    txtTesoureiro = box("txtTesoureiro", Treasurer);
    txtPastor = box("txtPastor", Pastor);
    txtSecretario = box("txtSecretario", Secretary);
    txtConselho1 = box("txtConselho1", FiscalCouncil1);
    txtConselho2 = box("txtConselho2", FiscalCouncil2);
    txtConselho3 = box("txtConselho3", FiscalCouncil3);
    const auto caption = [this](const char *name, const QString &text, QWidget *buddy) {
        return FormKit::captionLabel(this, QString::fromLatin1(name), text, buddy, 0, true);
    };
    Label1 = caption("Label1", QStringLiteral("NOME DA IGREJA"), txtNome);
    Label2 = caption("Label2", QStringLiteral("CNPJ"), txtCNPJ);
    Label3 = caption("Label3", QStringLiteral("ENDEREÇO"), txtEndereco);
    Label4 = caption("Label4", QStringLiteral("CIDADE / UF"), txtCidade);
    Label5 = caption("Label5", QStringLiteral("TESOUREIRO(A)"), txtTesoureiro);
    Label6 = caption("Label6", QStringLiteral("PASTOR(A) OU PRESIDENTE"), txtPastor);
    Label7 = caption("Label7", QStringLiteral("CONSELHO FISCAL"), txtConselho1);
    Label8 = caption("Label8", QStringLiteral("SECRETÁRIO(A)"), txtSecretario);
    // One caption for three boxes: each is announced with its place.
    txtConselho1->setAccessibleName(QStringLiteral("CONSELHO FISCAL, 1º MEMBRO"));
    txtConselho2->setAccessibleName(QStringLiteral("CONSELHO FISCAL, 2º MEMBRO"));
    txtConselho3->setAccessibleName(QStringLiteral("CONSELHO FISCAL, 3º MEMBRO"));

    const FormKit::SaveAndLeave buttons = FormKit::saveAndLeaveButtons(this, [this] { btnSalvarClick(); });
    btnSalvar = buttons.save;
    btnSair = buttons.leave; // btnSairClick closes without saving
}

void TFDadosIgreja::layOut()
{
    auto *grid = new QGridLayout;
    grid->setVerticalSpacing(2);
    grid->setColumnStretch(0, 2);
    grid->setColumnStretch(1, 3);
    int row = 0;
    const auto wide = [&](QLabel *label, QWidget *control) {
        grid->addWidget(label, row++, 0, 1, 2);
        grid->addWidget(control, row++, 0, 1, 2);
        grid->setRowMinimumHeight(row++, 8);
    };
    wide(Label1, txtNome);
    grid->addWidget(Label2, row, 0);
    grid->addWidget(Label4, row++, 1);
    grid->addWidget(txtCNPJ, row, 0);
    grid->addWidget(txtCidade, row++, 1);
    grid->setRowMinimumHeight(row++, 8);
    wide(Label3, txtEndereco);
    wide(Label5, txtTesoureiro);
    wide(Label6, txtPastor);
    wide(Label8, txtSecretario);
    grid->addWidget(Label7, row++, 0, 1, 2);
    for (QLineEdit *member : {txtConselho1, txtConselho2, txtConselho3})
        grid->addWidget(member, row++, 0, 1, 2);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 20, 24, 16);
    layout->addLayout(grid);
    layout->addStretch();
    layout->addLayout(FormKit::centredRow({btnSalvar, btnSair}));

    FormKit::tabChain({txtNome, txtCNPJ, txtCidade, txtEndereco, txtTesoureiro, txtPastor, txtSecretario,
                       txtConselho1, txtConselho2, txtConselho3});
}

void TFDadosIgreja::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    FormKit::centreOnScreen(this);
    runGuarded([this] { FormShow(); });
}

// Shows what is stored, whatever search the parameters window left on.
void TFDadosIgreja::FormShow()
{
    const QMap<int, QString> stored = ChurchData::values();
    for (auto it = m_boxes.constBegin(); it != m_boxes.constEnd(); ++it)
        it.value()->setText(stored.value(it.key()));
    m_shown = typed();
    txtNome->setFocus();
}

QMap<int, QString> TFDadosIgreja::typed() const
{
    QMap<int, QString> values;
    for (auto it = m_boxes.constBegin(); it != m_boxes.constEnd(); ++it)
        values.insert(it.key(), it.value()->text().trimmed());
    return values;
}

// Stores what was typed and closes, the CNPJ in its usual format; a CNPJ
// that is not one is stored only when the user says so. A refusal by the
// database keeps the window open with the typed data.
void TFDadosIgreja::btnSalvarClick()
{
    QMap<int, QString> values = typed();
    const QString cnpj = values.value(Cnpj);
    if (const QString doubt = TaxNumber::doubtOn(TaxNumber::Kind::Cnpj, cnpj);
        !doubt.isEmpty() && !Messages::question(doubt)) {
        txtCNPJ->setFocus();
        return;
    }
    values.insert(Cnpj, TaxNumber::formatted(TaxNumber::Kind::Cnpj, cnpj));
    ChurchData::store(values);
    m_shown = values;
    accept();
}

void TFDadosIgreja::reject()
{
    if (typed() != m_shown
        && !Messages::question(QStringLiteral("Os dados alterados não foram salvos. Deseja sair assim mesmo ?")))
        return;
    QDialog::reject();
}
