// "Usuários": the accounts with their profiles, the temporary password of
// "Definir Senha", the last Administrador and the default account's first
// password, driven as an Administrador would.
#include "RegisterFixture.h"

#include "controls/DBComboBox.h"
#include "controls/DBEdit.h"
#include "controls/DBRadioGroup.h"
#include "datamodule/PasswordHash.h"
#include "main/UDefinirSenha.h"
#include "main/UUsuario.h"
#include "uikit/Messages.h"

#include <QLineEdit>
#include <QRadioButton>
#include <QToolButton>
#include <QtTest>

namespace {

const QString kLastAdministrator = "A conta \"master\" é a última conta ativa com o perfil Administrador: ela não "
                                   "pode ser %1. Dê antes o perfil Administrador a outra conta ativa.";

// The program signed in as master, whose first password was changed.
struct Office : SignedInProgram
{
    Office() { fx.db.exec("UPDATE TUSUARIO SET USUHASH = ? WHERE USUCODIGO = 1", {PasswordHash::make("Pastor 2026")}); }
    std::unique_ptr<TFUsuario> accounts() { return open<TFUsuario>(); }
    QVariantList stored(int code) const
    {
        return fx.db.rows("SELECT USULOGIN, USUPERFIL, USUATIVO FROM TUSUARIO WHERE USUCODIGO = ?", {code}).value(0);
    }
};

// "Definir Senha" answers with `password` while this lives.
struct PasswordAnswer
{
    explicit PasswordAnswer(const QString &password)
    {
        TFUsuario::askPassword = [password](QWidget *, const QString &) { return password; };
    }
    ~PasswordAnswer() { TFUsuario::askPassword = &TFUsuario::passwordDialog; }
};

// Chooses the item at `index` of a list with the keyboard, as a user does.
void choose(DBComboBox *list, int index)
{
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Home);
    for (int i = 0; i < index; ++i)
        QTest::keyClick(list, Qt::Key_Down);
}

} // namespace

class TestUsuarios : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        Q_INIT_RESOURCE(resources);
        setUpTestProgram();
    }

    // The last active Administrador is neither deactivated, given another
    // profile nor deleted; another active one (an inactive one does not
    // count) lets it be.
    void theLastAdministratorStaysOne_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QString>("otherAdministrator"); // its ATIVO, empty for none
        QTest::addColumn<QString>("refusal");
        QTest::newRow("deactivated, alone") << "deactivate" << "" << kLastAdministrator.arg("desativada nem receber outro perfil");
        QTest::newRow("other profile, alone") << "profile" << "" << kLastAdministrator.arg("desativada nem receber outro perfil");
        QTest::newRow("deleted, alone") << "delete" << "" << kLastAdministrator.arg("excluída");
        QTest::newRow("deleted, the other inactive") << "delete" << "NÃO" << kLastAdministrator.arg("excluída");
        QTest::newRow("deactivated, another one active") << "deactivate" << "SIM" << "";
        QTest::newRow("deleted, another one active") << "delete" << "SIM" << "";
    }

    void theLastAdministratorStaysOne()
    {
        QFETCH(QString, change);
        QFETCH(QString, otherAdministrator);
        QFETCH(QString, refusal);
        Office p;
        if (!otherAdministrator.isEmpty())
            addAccount(p.fx.db, {2, "pastor", "Outra senha 1", "Administrador", otherAdministrator});
        Messages::Recorder recorder;
        recorder.defaultAnswer = true;
        auto w = p.accounts();
        QVERIFY(DM->TBUSUARIO->locate("USUCODIGO", {1}));
        const QVariantList before = p.stored(1);
        if (change == "delete") {
            w->btnExcluir->click();
        } else {
            w->btnAlterar->click();
            if (change == "deactivate")
                w->DBRadioGroup1->button(1)->click();
            else
                choose(w->DBComboBox1, 3);
            w->btnSalvar->click();
        }
        const QStringList shown = recorder.texts().filter("Administrador");
        QCOMPARE(shown, refusal.isEmpty() ? QStringList() : QStringList{refusal});
        if (refusal.isEmpty())
            QVERIFY(p.stored(1) != before);
        else
            QCOMPARE(p.stored(1), before);
    }

    // No second account while master opens with the password the sign-in
    // window prints; then a new account may do least until given more, its
    // name is its own, and "Definir Senha" gives it a temporary password.
    void aNewAccountAndItsTemporaryPassword()
    {
        SignedInProgram p;
        Messages::Recorder recorder;
        auto w = p.open<TFUsuario>();
        w->btnNovo->click();
        QCOMPARE(recorder.texts(), QStringList{"Troque primeiro a senha inicial da conta master."});
        QVERIFY(!DM->TBUSUARIO->editing());
        recorder.clear();

        p.fx.db.exec("UPDATE TUSUARIO SET USUHASH = ? WHERE USUCODIGO = 1", {PasswordHash::make("Pastor 2026")});
        DM->TBUSUARIO->close(); // read again, as at the next start
        DM->TBUSUARIO->open();
        w->btnNovo->click();
        QCOMPARE(DM->TBUSUARIOUSUPERFIL->asString(), QString("Consulta"));
        QCOMPARE(DM->TBUSUARIOUSUATIVO->asString(), QString("SIM"));
        w->DBEdit2->setText("MASTER");
        w->btnSalvar->click();
        QCOMPARE(recorder.texts().value(0),
                 QString("Já existe outra conta com o nome de usuário \"master\". Escolha outro nome."));
        QVERIFY(DM->TBUSUARIO->editing());
        w->DBEdit2->setText("maria");
        w->DBEdit3->setText("Maria da Silva");
        choose(w->DBComboBox1, 2);
        w->btnSalvar->click();
        QCOMPARE(p.fx.db.rows("SELECT USULOGIN, USUNOME, USUPERFIL, USUATIVO FROM TUSUARIO WHERE USUCODIGO = 2"),
                 (QList<QVariantList>{{"maria", "Maria da Silva", "Tesouraria", "SIM"}}));
        QVERIFY(recorder.texts().last().startsWith("Conta gravada. Ela ainda não tem senha"));

        const PasswordAnswer answer("Provisoria 1");
        w->btnDefinirSenha->click();
        const QVariantList stored =
            p.fx.db.rows("SELECT USUHASH, USUTROCARSENHA, USUSENHA FROM TUSUARIO WHERE USUCODIGO = 2").value(0);
        QVERIFY(PasswordHash::matches(stored.value(0).toString(), "Provisoria 1"));
        QCOMPARE(stored.value(1).toInt(), 1);
        QVERIFY(stored.value(2).isNull());
    }

    // The dialog keeps the rules of every new password and wants it twice alike.
    void definirSenhaRefusesWhatCannotBeAPassword_data()
    {
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("repeated");
        QTest::addColumn<QString>("message");
        QTest::newRow("short") << "curta" << "curta" << "A nova senha precisa ter pelo menos 8 caracteres.";
        QTest::newRow("the user name") << "Joana123" << "Joana123" << "A nova senha não pode ser o nome de usuário.";
        QTest::newRow("repetition differs") << "Provisoria 1" << "Provisoria 2"
                                            << "A senha e a repetição não são iguais. Digite as duas de novo.";
        QTest::newRow("good") << "Provisoria 1" << "Provisoria 1" << "";
    }

    void definirSenhaRefusesWhatCannotBeAPassword()
    {
        QFETCH(QString, password);
        QFETCH(QString, repeated);
        QFETCH(QString, message);
        Messages::Recorder recorder;
        TFDefinirSenha dialog(nullptr, "joana123");
        dialog.show();
        dialog.txtNovaSenha->setText(password);
        dialog.txtRepitaSenha->setText(repeated);
        dialog.btnSalvar->click();
        QCOMPARE(recorder.texts(), message.isEmpty() ? QStringList() : QStringList{message});
        QCOMPARE(dialog.result() == QDialog::Accepted, message.isEmpty());
    }
};

QTEST_MAIN(TestUsuarios)
#include "tst_usuarios.moc"
