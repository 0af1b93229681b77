#include "ULogin.h"

#include "LauncherRepair.h"
#include "UTrocaSenha.h"
#include "uikit/Appearance.h"
#include "uikit/ErrorGuard.h"
#include "uikit/FormKit.h"
#include "uikit/Messages.h"
#include "Startup.h"
#include "datamodule/Session.h"
#include "datamodule/UDM.h"

#include <QAccessibleWidget>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QToolButton>

TFLogin *FLogin = nullptr;

namespace {

// A plain widget is announced as a "filler" by screen readers; the sign-in
// window is a window, announced with its title.
QAccessibleInterface *signInWindowAccessible(const QString &className, QObject *object)
{
    if (className == QLatin1String("TFLogin") && object && object->isWidgetType())
        return new QAccessibleWidget(static_cast<QWidget *>(object), QAccessible::Window);
    return nullptr;
}

QLabel *picture(QWidget *parent, const QString &name, const QString &path)
{
    auto *label = new QLabel(parent);
    label->setObjectName(name);
    label->setPixmap(QIcon(path).pixmap(120, 120));
    label->setAlignment(Qt::AlignCenter);
    return label;
}

} // namespace

TFLogin::TFLogin(QWidget *parent) : QWidget(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                                                       | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint
                                                       | Qt::WindowContextHelpButtonHint)
{
    static const bool accessible = [] {
        QAccessible::installFactory(signInWindowAccessible);
        return true;
    }();
    Q_UNUSED(accessible);
    FLogin = this;
    setObjectName(QStringLiteral("FLogin"));
    setWindowTitle(QStringLiteral("Autenticação no Sistema"));
    // FormCreate: the application folder, then the data module.
    startDataModule(this);
    buildControls();
    connectHandlers();
}

bool TFLogin::dataModuleReady() const
{
    return DM && DM->parent() == this;
}

void TFLogin::buildControls()
{
    FormKit::whiteBackground(this);
    setFixedSize(Appearance::scaled(QSize(590, 380)));

    Image1 = picture(this, QStringLiteral("Image1"), QStringLiteral(":/icons/login_cadeado.svg"));
    Image2 = picture(this, QStringLiteral("Image2"), QStringLiteral(":/icons/login_igreja.svg"));
    txtLogin = FormKit::textBox(this, QStringLiteral("txtLogin"));
    txtSenha = FormKit::textBox(this, QStringLiteral("txtSenha"), true);
    Label1 = FormKit::captionLabel(this, QStringLiteral("Label1"), QStringLiteral("NOME DE USUÁRIO"), txtLogin, 14, true);
    Label2 = FormKit::captionLabel(this, QStringLiteral("Label2"), QStringLiteral("SENHA"), txtSenha, 14, true);
    for (QLineEdit *box : {txtLogin, txtSenha}) {
        QFont f = box->font();
        f.setPointSizeF(12 * Appearance::factor());
        box->setFont(f);
    }

    btnTrocarSenha = new QToolButton(this);
    btnTrocarSenha->setObjectName(QStringLiteral("btnTrocarSenha"));
    btnTrocarSenha->setText(QStringLiteral("Trocar Nome de Usuário e/ou Senha"));
    btnTrocarSenha->setAutoRaise(true);
    btnTrocarSenha->setFocusPolicy(Qt::NoFocus);
    btnTrocarSenha->setCursor(Qt::PointingHandCursor);
    btnTrocarSenha->setStyleSheet(QStringLiteral("QToolButton { color: #1a4f9c; text-decoration: underline; border: none; }"));

    Label5 = FormKit::captionLabel(this, QStringLiteral("Label5"), QStringLiteral("Usuário Padrão:"), nullptr, 0, true);
    Label7 = FormKit::captionLabel(this, QStringLiteral("Label7"), Accounts::kDefaultUserName, nullptr);
    Label6 = FormKit::captionLabel(this, QStringLiteral("Label6"), QStringLiteral("Senha Padrão: "), nullptr, 0, true);
    Label8 = FormKit::captionLabel(this, QStringLiteral("Label8"), Accounts::kDefaultPassword, nullptr);

    btnEntrar = FormKit::pictureButton(this, QStringLiteral("btnEntrar"), QStringLiteral("Entrar"),
                                       QStringLiteral(":/icons/entrar.svg"), false);
    btnCancelar = FormKit::pictureButton(this, QStringLiteral("btnCancelar"), QStringLiteral("Cancelar"),
                                         QStringLiteral(":/icons/cancelar.svg"), false);
    for (QToolButton *b : {btnEntrar, btnCancelar}) {
        b->setMinimumSize(Appearance::scaled(QSize(110, 64)));
        b->setIconSize(Appearance::scaled(QSize(32, 32)));
    }

    auto *boxes = new QVBoxLayout;
    boxes->addWidget(Label1);
    boxes->addWidget(txtLogin);
    boxes->addSpacing(8);
    boxes->addWidget(Label2);
    boxes->addWidget(txtSenha);
    boxes->addWidget(btnTrocarSenha, 0, Qt::AlignLeft);
    auto *defaults = new QGridLayout;
    defaults->addWidget(Label5, 0, 0);
    defaults->addWidget(Label7, 0, 1);
    defaults->addWidget(Label6, 1, 0);
    defaults->addWidget(Label8, 1, 1);
    defaults->setColumnStretch(2, 1);
    boxes->addSpacing(6);
    boxes->addLayout(defaults);

    auto *middle = new QHBoxLayout;
    middle->addWidget(Image1);
    middle->addLayout(boxes, 1);
    middle->addWidget(Image2);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnEntrar);
    buttons->addSpacing(16);
    buttons->addWidget(btnCancelar);
    buttons->addStretch();

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 20, 20, 16);
    layout->addStretch();
    layout->addLayout(middle);
    layout->addStretch();
    layout->addLayout(buttons);

    setTabOrder(txtLogin, txtSenha);
    FormKit::centreOnScreen(this);
}

void TFLogin::connectHandlers()
{
    connectGuarded(btnEntrar, &QToolButton::clicked, this, [this] { btnEntrarClick(); });
    connectGuarded(btnCancelar, &QToolButton::clicked, this, [this] { btnCancelarClick(); });
    connectGuarded(btnTrocarSenha, &QToolButton::clicked, this, [this] { btnTrocarSenhaClick(); });

    // txtLoginKeyDown, txtSenhaKeyDown
    FormKit::boxKeys(txtLogin, nullptr, [this] { btnCancelarClick(); });
    FormKit::boxKeys(txtSenha, [this] { btnEntrarClick(); }, [this] { btnCancelarClick(); });
}

void TFLogin::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous())
        runGuarded([this] { FormShow(); });
}

// The default account's pair is shown while its first password still signs
// in, and filled in while it is the only account besides: one person at
// one computer signs in with Enter, an office with several accounts types.
void TFLogin::FormShow()
{
    const bool firstPassword = Accounts::defaultPasswordInUse();
    for (QLabel *label : {Label5, Label6, Label7, Label8})
        label->setVisible(firstPassword);
    if (firstPassword && Accounts::onlyDefaultAccount()) {
        txtLogin->setText(Accounts::kDefaultUserName);
        txtSenha->setText(Accounts::kDefaultPassword);
    }
}

void TFLogin::btnEntrarClick()
{
    runGuarded([] { LauncherRepair::run(LauncherRepair::Form::Plain); });
    DM->SQLUSUARIO->setActive(true);
    const Accounts::SignIn result = Accounts::check(txtLogin->text(), txtSenha->text());
    if (result.outcome != Accounts::SignIn::Outcome::Accepted) {
        Messages::information(Accounts::refusalOf(result, txtLogin->text()));
        return;
    }
    Account account = result.account;
    if (account.temporaryPassword) {
        if (!changeTemporaryPassword())
            return;
        account = Accounts::byCode(account.code).value_or(account); // its name may have changed too
    }
    Session::start(account);
    hide();
    emit signedIn();
}

// A temporary password is changed before the account goes in: "Trocar
// Senha" with the pair just typed filled in.
bool TFLogin::changeTemporaryPassword()
{
    Messages::information(QStringLiteral("A senha desta conta é provisória. Escolha agora uma senha só sua."));
    FTrocaSenha = new TFTrocaSenha(this);
    FTrocaSenha->fillCurrentPair(txtLogin->text(), txtSenha->text());
    const bool changed = FTrocaSenha->exec() == QDialog::Accepted;
    txtSenha->clear();
    return changed;
}

void TFLogin::btnCancelarClick()
{
    close();
}

void TFLogin::btnTrocarSenhaClick()
{
    FTrocaSenha = new TFTrocaSenha(this);
    FTrocaSenha->exec();
}

// FormClose
void TFLogin::closeEvent(QCloseEvent *event)
{
    runGuarded([] { LauncherRepair::run(LauncherRepair::Form::ServerMarker); });
    event->accept();
    emit closed();
}
