#include "UUsuario.h"

#include "UDefinirSenha.h"
#include "controls/DBComboBox.h"
#include "controls/DBEdit.h"
#include "controls/DBGrid.h"
#include "controls/DBRadioGroup.h"
#include "datamodule/Accounts.h"
#include "datamodule/UDM.h"
#include "dataset/DbError.h"
#include "uikit/Appearance.h"
#include "uikit/Messages.h"

#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

TFUsuario *FUsuario = nullptr;

std::function<QString(QWidget *, const QString &)> TFUsuario::askPassword = &TFUsuario::passwordDialog;

namespace {

RecordFormSetup setup()
{
    RecordFormSetup s;
    s.objectName = QStringLiteral("FUsuario");
    s.caption = QStringLiteral("Usuários");
    s.source = DM->DSUSUARIO;
    s.codeColumn = QStringLiteral("USUCODIGO");
    s.openOnShow = {DM->TBUSUARIO};
    s.rereadOnNew = false; // the sign-in read the accounts; nobody else adds one meanwhile
    s.exportName = QStringLiteral("usuarios");
    s.size = QSize(640, 470);
    return s;
}

} // namespace

TFUsuario::TFUsuario(QWidget *owner) : RecordForm(owner, setup())
{
    DBEdit1 = fieldBox(QStringLiteral("DBEdit1"), QStringLiteral("USUCODIGO"), 80);
    DBEdit2 = fieldBox(QStringLiteral("DBEdit2"), QStringLiteral("USULOGIN"), 220);
    DBEdit3 = fieldBox(QStringLiteral("DBEdit3"), QStringLiteral("USUNOME"), 400);
    DBComboBox1 = new DBComboBox(DM->DSUSUARIO, QStringLiteral("USUPERFIL"), Profiles::names(), TabSheet1);
    DBComboBox1->setObjectName(QStringLiteral("DBComboBox1"));
    DBComboBox1->setFixedWidth(Appearance::scaled(220));
    DBRadioGroup1 = new DBRadioGroup(DM->DSUSUARIO, QStringLiteral("USUATIVO"), QStringLiteral("ATIVO"),
                                     {Accounts::kYes, Accounts::kNo}, TabSheet1);
    DBRadioGroup1->setObjectName(QStringLiteral("DBRadioGroup1"));
    DBRadioGroup1->setFixedWidth(Appearance::scaled(220));
    addFieldKeys(DBComboBox1, true);

    addLabeled(QStringLiteral("Label1"), QStringLiteral("CÓDIGO"), DBEdit1);
    addLabeled(QStringLiteral("Label2"), QStringLiteral("NOME DE USUÁRIO"), DBEdit2);
    addLabeled(QStringLiteral("Label3"), QStringLiteral("NOME COMPLETO"), DBEdit3);
    addLabeled(QStringLiteral("Label4"), QStringLiteral("PERFIL"), DBComboBox1);
    entryLayout()->addWidget(DBRadioGroup1, 0, Qt::AlignLeft);
    setCodeBox(DBEdit1);
    addEditable({DBEdit2, DBEdit3, DBComboBox1, DBRadioGroup1});
    setFirstField(DBEdit2);
    setTabChain(QList<QWidget *>{DBEdit1, DBEdit2, DBEdit3, DBComboBox1, DBRadioGroup1->button(0),
                                 DBRadioGroup1->button(1)});

    btnDefinirSenha = addButton(QStringLiteral("btnDefinirSenha"), QStringLiteral("Definir Senha"),
                                QStringLiteral("alterar"), CommandState::BrowseChanging,
                                [this] { btnDefinirSenhaClick(); });
    btnDefinirSenha->setToolTip(QStringLiteral("Dá à conta uma senha provisória, trocada por ela na próxima entrada"));

    DBGrid1->addColumn(QStringLiteral("USUCODIGO"), QStringLiteral("CÓDIGO"), 60);
    DBGrid1->addColumn(QStringLiteral("USULOGIN"), QStringLiteral("NOME DE USUÁRIO"), 140);
    DBGrid1->addColumn(QStringLiteral("USUNOME"), QStringLiteral("NOME COMPLETO"), 220);
    DBGrid1->addColumn(QStringLiteral("USUPERFIL"), QStringLiteral("PERFIL"), 110);
    DBGrid1->addColumn(QStringLiteral("USUATIVO"), QStringLiteral("ATIVO"), 60);
    finishLayout();
}

QString TFUsuario::passwordDialog(QWidget *parent, const QString &userName)
{
    TFDefinirSenha dialog(parent, userName);
    return dialog.exec() == QDialog::Accepted ? dialog.password() : QString();
}

// A second account while the default one still opens with the password
// printed on the sign-in window would leave that open door in an office.
void TFUsuario::btnNovoClick()
{
    if (Accounts::defaultPasswordInUse()) {
        Messages::information(QStringLiteral("Troque primeiro a senha inicial da conta master."));
        return;
    }
    RecordForm::btnNovoClick();
    if (table()->state() != Dataset::State::Insert)
        return;
    DM->TBUSUARIOUSUPERFIL->setAsString(Profiles::name(Profile::Consulta)); // the profile that may do least
    DM->TBUSUARIOUSUATIVO->setAsString(Accounts::kYes);
}

QString TFUsuario::saveRefusal() const
{
    if (const QString refusal = Accounts::userNameRefusal(DM->TBUSUARIOUSULOGIN->asString(),
                                                          DM->TBUSUARIOUSUCODIGO->asInteger());
        !refusal.isEmpty())
        return refusal;
    if (!Profiles::named(DM->TBUSUARIOUSUPERFIL->asString()))
        return QStringLiteral("Escolha o perfil da conta em PERFIL.");
    return Accounts::lastAdministratorRefusal(false);
}

void TFUsuario::btnSalvarClick()
{
    DM->DSUSUARIO->updateRecord(); // what the boxes hold, before it is checked
    if (const QString refusal = saveRefusal(); !refusal.isEmpty()) {
        Messages::information(refusal);
        return;
    }
    RecordForm::btnSalvarClick();
    if (!table()->editing() && DM->TBUSUARIOUSUHASH->isNull())
        Messages::information(QStringLiteral("Conta gravada. Ela ainda não tem senha: dê a ela uma senha provisória "
                                             "em \"Definir Senha\"."));
}

void TFUsuario::btnExcluirClick()
{
    if (const QString refusal = Accounts::lastAdministratorRefusal(true); !refusal.isEmpty()) {
        Messages::information(refusal);
        return;
    }
    RecordForm::btnExcluirClick();
}

// Stored at once; a refusal by the database leaves the account as it was.
void TFUsuario::btnDefinirSenhaClick()
{
    TableDataset *accounts = table();
    if (accounts->isEmpty())
        return;
    const QString userName = DM->TBUSUARIOUSULOGIN->asString();
    const QString password = askPassword(this, userName);
    if (password.isEmpty())
        return;
    accounts->edit();
    try {
        Accounts::putPassword(password, true);
        accounts->applyUpdates(0);
    } catch (const DbError &) {
        accounts->cancelUpdates();
        throw;
    }
    Messages::information(QStringLiteral("A senha provisória da conta \"%1\" foi definida. Na próxima entrada a conta "
                                         "escolhe uma senha só dela.")
                              .arg(userName));
}
