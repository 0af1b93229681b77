#include "UTrocaSenha.h"

#include "uikit/ErrorGuard.h"
#include "uikit/FormKit.h"
#include "uikit/Messages.h"
#include "datamodule/Accounts.h"
#include "datamodule/UDM.h"
#include "dataset/DbError.h"

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
    setFixedSize(400, 385);

    // A password is stored as its hash, of any length; a user name as typed.
    const int userWidth = DM->TBUSUARIOUSULOGIN->size();
    txtLogin = FormKit::textBox(this, QStringLiteral("txtLogin"));
    txtSenha = FormKit::textBox(this, QStringLiteral("txtSenha"), true);
    txtNovoUsuario = FormKit::textBox(this, QStringLiteral("txtNovoUsuario"), false, userWidth);
    txtNovaSenha = FormKit::textBox(this, QStringLiteral("txtNovaSenha"), true);
    txtRepitaSenha = FormKit::textBox(this, QStringLiteral("txtRepitaSenha"), true);
    const auto caption = [this](const char *name, const QString &text, QWidget *box) {
        return FormKit::captionLabel(this, QString::fromLatin1(name), text, box, 11, true);
    };
    Label1 = caption("Label1", QStringLiteral("NOME DE USUÁRIO"), txtLogin);
    Label2 = caption("Label2", QStringLiteral("SENHA"), txtSenha);
    Label4 = caption("Label4", QStringLiteral("NOVO NOME DE USUÁRIO"), txtNovoUsuario);
    Label5 = caption("Label5", QStringLiteral("NOVA SENHA"), txtNovaSenha);
    Label3 = caption("Label3", QStringLiteral("REPITA A SENHA"), txtRepitaSenha);

    const FormKit::SaveCancel buttons = FormKit::saveCancelButtons(this);
    btnSalvar = buttons.save;
    btnCancelar = buttons.cancel;

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

void TFTrocaSenha::fillCurrentPair(const QString &userName, const QString &password)
{
    txtLogin->setText(userName);
    txtSenha->setText(password);
    txtNovoUsuario->setText(userName);
    txtNovaSenha->setFocus();
}

void TFTrocaSenha::refuse()
{
    txtLogin->clear();
    txtSenha->clear();
    txtRepitaSenha->clear();
    Messages::information(QStringLiteral("Nome de Usuário e/ou Senhas não conferem"));
}

// Why the new pair may not be stored for the account `code`, and the box to
// type it again in; empty when it may.
std::pair<QString, QLineEdit *> TFTrocaSenha::newPairRefusal(int code) const
{
    const QString newName = txtNovoUsuario->text();
    if (const QString refusal = Accounts::userNameRefusal(newName, code); !refusal.isEmpty())
        return {refusal, txtNovoUsuario};
    QString refusal = Accounts::passwordRefusal(newName, txtNovaSenha->text());
    if (refusal.isEmpty())
        refusal = Accounts::passwordRefusal(txtLogin->text(), txtNovaSenha->text());
    return {refusal, txtNovaSenha};
}

void TFTrocaSenha::btnSalvarClick()
{
    if (!Accounts::profilesAvailable()) {
        Messages::information(QStringLiteral("O banco de dados ainda não foi atualizado para guardar as senhas "
                                             "protegidas; a senha poderá ser trocada depois da atualização, que é "
                                             "tentada de novo quando o programa for aberto."));
        return;
    }
    if (txtRepitaSenha->text() != txtNovaSenha->text()) {
        refuse();
        return;
    }
    const Accounts::SignIn current = Accounts::check(txtLogin->text(), txtSenha->text());
    if (current.outcome == Accounts::SignIn::Outcome::Waiting) {
        Messages::information(Accounts::refusalOf(current, txtLogin->text()));
        return;
    }
    if (current.outcome != Accounts::SignIn::Outcome::Accepted) {
        refuse();
        return;
    }
    if (const auto [refusal, box] = newPairRefusal(current.account.code); !refusal.isEmpty()) {
        Messages::information(refusal);
        box->setFocus();
        return;
    }
    store(current.account.code);
    Messages::information(QStringLiteral("Usuário e/ou Senha Alterado(s) com Sucesso !"));
    accept();
}

// Refused by the database: memory goes back to what is stored, so the old
// pair still signs in; the window stays open for another try.
void TFTrocaSenha::store(int code)
{
    TableDataset *accounts = DM->TBUSUARIO;
    accounts->locate(QStringLiteral("USUCODIGO"), {code});
    accounts->edit();
    try {
        DM->TBUSUARIOUSULOGIN->setAsString(txtNovoUsuario->text());
        Accounts::putPassword(txtNovaSenha->text(), false);
        accounts->applyUpdates(0);
    } catch (const DbError &) {
        accounts->cancelUpdates();
        throw;
    }
}

void TFTrocaSenha::btnCancelarClick()
{
    DM->TBUSUARIO->cancel();
    reject();
}
