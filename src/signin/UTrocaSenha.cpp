#include "UTrocaSenha.h"

#include "uikit/Appearance.h"
#include "uikit/ErrorGuard.h"
#include "uikit/FormKit.h"
#include "uikit/Messages.h"
#include "datamodule/UDM.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QShowEvent>
#include <QToolButton>

TFTrocaSenha *FTrocaSenha = nullptr;

TFTrocaSenha::TFTrocaSenha(QWidget *owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("FTrocaSenha"));
    setWindowTitle(QStringLiteral("Trocar Nome de Usuário e/ou Senha"));
    buildControls();
    connectHandlers();
}

void TFTrocaSenha::buildControls()
{
    FormKit::whiteBackground(this);
    setFixedSize(Appearance::scaled(QSize(400, 385)));

    const int userWidth = DM->TBUSUARIOUSULOGIN->size();
    const int passwordWidth = DM->TBUSUARIOUSUSENHA->size();
    txtLogin = FormKit::textBox(this, QStringLiteral("txtLogin"));
    txtSenha = FormKit::textBox(this, QStringLiteral("txtSenha"), true);
    txtNovoUsuario = FormKit::textBox(this, QStringLiteral("txtNovoUsuario"), false, userWidth);
    txtNovaSenha = FormKit::textBox(this, QStringLiteral("txtNovaSenha"), true, passwordWidth);
    txtRepitaSenha = FormKit::textBox(this, QStringLiteral("txtRepitaSenha"), true, passwordWidth);
    const auto caption = [this](const char *name, const QString &text, QWidget *box) {
        return FormKit::captionLabel(this, QString::fromLatin1(name), text, box, 11, true);
    };
    Label1 = caption("Label1", QStringLiteral("NOME DE USUÁRIO"), txtLogin);
    Label2 = caption("Label2", QStringLiteral("SENHA"), txtSenha);
    Label4 = caption("Label4", QStringLiteral("NOVO NOME DE USUÁRIO"), txtNovoUsuario);
    Label5 = caption("Label5", QStringLiteral("NOVA SENHA"), txtNovaSenha);
    Label3 = caption("Label3", QStringLiteral("REPITA A SENHA"), txtRepitaSenha);

    btnSalvar = FormKit::pictureButton(this, QStringLiteral("btnSalvar"), QStringLiteral("Salvar"),
                                       QStringLiteral(":/icons/salvar.svg"), false);
    btnCancelar = FormKit::pictureButton(this, QStringLiteral("btnCancelar"), QStringLiteral("Cancelar"),
                                         QStringLiteral(":/icons/cancelar.svg"), false);
    for (QToolButton *b : {btnSalvar, btnCancelar})
        b->setMinimumSize(Appearance::scaled(QSize(100, 60)));

    auto *grid = new QGridLayout;
    grid->addWidget(Label1, 0, 0, 1, 2);
    grid->addWidget(txtLogin, 1, 0, 1, 2);
    grid->addWidget(Label2, 2, 0, 1, 2);
    grid->addWidget(txtSenha, 3, 0, 1, 2);
    grid->addWidget(Label4, 4, 0, 1, 2);
    grid->addWidget(txtNovoUsuario, 5, 0, 1, 2);
    grid->addWidget(Label5, 6, 0);
    grid->addWidget(Label3, 6, 1);
    grid->addWidget(txtNovaSenha, 7, 0);
    grid->addWidget(txtRepitaSenha, 7, 1);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 20, 24, 16);
    layout->addLayout(grid);
    layout->addStretch();
    layout->addLayout(FormKit::centredRow({btnSalvar, btnCancelar}));

    FormKit::tabChain({txtLogin, txtSenha, txtNovoUsuario, txtNovaSenha, txtRepitaSenha});
}

void TFTrocaSenha::connectHandlers()
{
    connectGuarded(btnSalvar, &QToolButton::clicked, this, [this] { btnSalvarClick(); });
    connectGuarded(btnCancelar, &QToolButton::clicked, this, [this] { btnCancelarClick(); });
    FormKit::onExit(txtLogin, [this] { txtLoginExit(); });

    // txtLoginKeyDown, shared by the first four boxes, and txtRepitaSenhaKeyDown
    for (QLineEdit *box : {txtLogin, txtSenha, txtNovoUsuario, txtNovaSenha})
        FormKit::boxKeys(box, nullptr, [this] { btnCancelarClick(); });
    FormKit::boxKeys(txtRepitaSenha, [this] { btnSalvarClick(); }, [this] { btnCancelarClick(); });
}

void TFTrocaSenha::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        runGuarded([this] { FormShow(); });
}

void TFTrocaSenha::FormShow()
{
    DM->SQLUSUARIO->setActive(true);
    DM->TBUSUARIO->open();
}

void TFTrocaSenha::txtLoginExit()
{
    txtNovoUsuario->setText(txtLogin->text());
}

void TFTrocaSenha::refuse()
{
    txtLogin->clear();
    txtSenha->clear();
    txtRepitaSenha->clear();
    Messages::information(QStringLiteral("Nome de Usuário e/ou Senhas não conferem"));
}

void TFTrocaSenha::btnSalvarClick()
{
    TableDataset *accounts = DM->TBUSUARIO;
    if (txtRepitaSenha->text() != txtNovaSenha->text()
        || !accounts->locate(QStringLiteral("USULOGIN;USUSENHA"), {txtLogin->text(), txtSenha->text()})) {
        refuse();
        return;
    }
    accounts->edit();
    DM->TBUSUARIOUSULOGIN->setAsString(txtNovoUsuario->text());
    DM->TBUSUARIOUSUSENHA->setAsString(txtNovaSenha->text());
    accounts->post();
    try {
        accounts->applyUpdates(0);
    } catch (...) {
        // Refused by the database: memory goes back to what is stored, so
        // the old pair still signs in; the window stays open for another try.
        accounts->cancelUpdates();
        throw;
    }
    Messages::information(QStringLiteral("Usuário e/ou Senha Alterado(s) com Sucesso !"));
    accept();
}

void TFTrocaSenha::btnCancelarClick()
{
    DM->TBUSUARIO->cancel();
    reject();
}
