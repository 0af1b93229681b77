#include "UDefinirSenha.h"

#include "datamodule/Accounts.h"
#include "uikit/ErrorGuard.h"
#include "uikit/FormKit.h"
#include "uikit/Messages.h"

#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

TFDefinirSenha::TFDefinirSenha(QWidget *owner, const QString &userName)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_userName(userName)
{
    setObjectName(QStringLiteral("FDefinirSenha"));
    setWindowTitle(QStringLiteral("Definir Senha"));
    FormKit::whiteBackground(this);
    setFixedSize(400, 300);

    txtNovaSenha = FormKit::textBox(this, QStringLiteral("txtNovaSenha"), true);
    txtRepitaSenha = FormKit::textBox(this, QStringLiteral("txtRepitaSenha"), true);
    Label1 = FormKit::captionLabel(this, QStringLiteral("Label1"),
                                   QStringLiteral("Senha provisória da conta \"%1\": na próxima entrada a conta "
                                                  "escolhe uma senha só dela.")
                                       .arg(userName),
                                   nullptr);
    Label1->setWordWrap(true);
    Label2 = FormKit::captionLabel(this, QStringLiteral("Label2"), QStringLiteral("NOVA SENHA"), txtNovaSenha, 11, true);
    Label3 = FormKit::captionLabel(this, QStringLiteral("Label3"), QStringLiteral("REPITA A SENHA"), txtRepitaSenha, 11, true);
    const FormKit::SaveCancel buttons = FormKit::saveCancelButtons(this);
    btnSalvar = buttons.save;
    btnCancelar = buttons.cancel;

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 20, 24, 16);
    layout->addWidget(Label1);
    layout->addSpacing(10);
    for (QWidget *w : std::initializer_list<QWidget *>{Label2, txtNovaSenha, Label3, txtRepitaSenha})
        layout->addWidget(w);
    layout->addStretch();
    layout->addLayout(FormKit::centredRow({btnSalvar, btnCancelar}));
    FormKit::tabChain({txtNovaSenha, txtRepitaSenha});

    connectGuarded(btnSalvar, &QToolButton::clicked, this, [this] { btnSalvarClick(); });
    connectGuarded(btnCancelar, &QToolButton::clicked, this, [this] { reject(); });
    FormKit::boxKeys(txtNovaSenha, nullptr, [this] { reject(); });
    FormKit::boxKeys(txtRepitaSenha, [this] { btnSalvarClick(); }, [this] { reject(); });
}

QString TFDefinirSenha::password() const
{
    return txtNovaSenha->text();
}

void TFDefinirSenha::btnSalvarClick()
{
    QString refusal = Accounts::passwordRefusal(m_userName, txtNovaSenha->text());
    if (refusal.isEmpty() && txtRepitaSenha->text() != txtNovaSenha->text())
        refusal = QStringLiteral("A senha e a repetição não são iguais. Digite as duas de novo.");
    if (!refusal.isEmpty()) {
        txtRepitaSenha->clear();
        Messages::information(refusal);
        txtNovaSenha->setFocus();
        return;
    }
    accept();
}
