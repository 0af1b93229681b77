// The sign-in window and the change of credentials, driven as a user would.
#include "ProgramFixture.h"

#include "Program.h"
#include "datamodule/PasswordHash.h"
#include "datamodule/Session.h"
#include "datamodule/SignInAttempts.h"
#include "uikit/Messages.h"
#include "main/UMenu.h"
#include "signin/ULogin.h"
#include "signin/UTrocaSenha.h"

#include <QAccessible>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QToolButton>
#include <QtTest>

namespace {

// The sign-in window shown and active, as at start-up.
std::unique_ptr<TFLogin> shownLogin()
{
    auto login = std::make_unique<TFLogin>();
    login->show();
    QApplication::setActiveWindow(login.get());
    if (!QTest::qWaitForWindowActive(login.get()))
        qWarning("sign-in window not active");
    return login;
}

QString accessibleName(QWidget *w)
{
    return QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name);
}

// Fills the change-of-credentials window and presses a key in the repetition box.
void fillChange(TFTrocaSenha *w, const QString &login, const QString &password, const QString &newPassword,
                const QString &repeated)
{
    w->txtLogin->setFocus();
    w->txtLogin->clear();
    QTest::keyClicks(w->txtLogin, login);
    QTest::keyClick(w->txtLogin, Qt::Key_Return); // leaving the box copies the name
    QTest::keyClicks(w->txtSenha, password);
    QTest::keyClick(w->txtSenha, Qt::Key_Return);
    QTest::keyClick(w->txtNovoUsuario, Qt::Key_Return);
    QTest::keyClicks(w->txtNovaSenha, newPassword);
    QTest::keyClick(w->txtNovaSenha, Qt::Key_Return);
    QTest::keyClicks(w->txtRepitaSenha, repeated);
}

// The hash of master's password, as stored.
bool masterSignsInWith(const TestDatabase &db, const QString &password)
{
    return PasswordHash::matches(db.scalar("SELECT USUHASH FROM TUSUARIO WHERE USUCODIGO = 1").toString(), password);
}

const QString kWrongPair = QStringLiteral("Senha ou Login Incorretos !");

} // namespace

class TestSignIn : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { setUpTestProgram(); }
    void init()
    {
        SignInAttempts::forgetAll();
        SignInAttempts::setClockForTests({});
    }

    void defaultAccountIsFilledInAndEnterSignsIn()
    {
        ProgramFixture fx;
        Messages::Recorder recorder;
        auto login = shownLogin();
        QVERIFY(login->dataModuleReady());
        QCOMPARE(login->windowTitle(), QString("Autenticação no Sistema"));
        QCOMPARE(login->txtLogin->text(), QString("master"));
        QCOMPARE(login->txtSenha->text(), QString("ravlen"));
        QCOMPARE(login->txtSenha->echoMode(), QLineEdit::Password);
        QCOMPARE(accessibleName(login->txtLogin), QString("NOME DE USUÁRIO"));
        QCOMPARE(accessibleName(login->txtSenha), QString("SENHA"));
        QAccessibleInterface *window = QAccessible::queryAccessibleInterface(login.get());
        QCOMPARE(window->role(), QAccessible::Window); // not a "filler"
        QCOMPARE(window->text(QAccessible::Name), QString("Autenticação no Sistema"));
        for (QToolButton *b : {login->btnEntrar, login->btnCancelar, login->btnTrocarSenha})
            QCOMPARE(b->focusPolicy(), Qt::NoFocus);

        QSignalSpy signedIn(login.get(), &TFLogin::signedIn);
        login->txtSenha->setFocus();
        QVERIFY(login->Label5->isVisible() && login->Label8->isVisible());
        QTest::keyClick(login->txtSenha, Qt::Key_Return);
        QCOMPARE(signedIn.count(), 1);
        QVERIFY(login->isHidden());
        QVERIFY(recorder.shown.isEmpty());
        QCOMPARE(Session::caption(), QString("master (Administrador)"));
    }

    // The default pair is filled in only while it is the one account and
    // keeps its first password; its two labels show while that password does.
    void defaultPairFollowsTheAccounts_data()
    {
        QTest::addColumn<bool>("secondAccount");
        QTest::addColumn<bool>("firstPasswordChanged");
        QTest::addColumn<bool>("filledIn");
        QTest::addColumn<bool>("labels");
        QTest::newRow("one account, first password") << false << false << true << true;
        QTest::newRow("several accounts, first password") << true << false << false << true;
        QTest::newRow("one account, its own password") << false << true << false << false;
        QTest::newRow("several accounts, own passwords") << true << true << false << false;
    }

    void defaultPairFollowsTheAccounts()
    {
        QFETCH(bool, secondAccount);
        QFETCH(bool, firstPasswordChanged);
        QFETCH(bool, filledIn);
        QFETCH(bool, labels);
        ProgramFixture fx;
        if (secondAccount)
            addAccount(fx.db, {2, "maria", "Tesouro 2026", "Tesouraria"});
        if (firstPasswordChanged)
            fx.db.exec("UPDATE TUSUARIO SET USUHASH = ? WHERE USUCODIGO = 1", {PasswordHash::make("Outra senha 9")});
        auto login = shownLogin();
        QCOMPARE(login->txtLogin->text(), filledIn ? QString("master") : QString());
        QCOMPARE(login->txtSenha->text(), filledIn ? QString("ravlen") : QString());
        for (QLabel *label : {login->Label5, login->Label6, login->Label7, login->Label8})
            QCOMPARE(label->isVisible(), labels);
    }

    // Five wrong passwords in a row for an account make it wait thirty
    // seconds: the right one is refused meanwhile, in the sign-in and in the
    // change of password alike; other names are not held up.
    void fiveWrongPasswordsMakeTheAccountWait()
    {
        ProgramFixture fx;
        Messages::Recorder recorder;
        const QDateTime start(QDate(2026, 12, 7), QTime(9, 0), Qt::UTC);
        SignInAttempts::setClockForTests(start);
        auto login = shownLogin();
        QSignalSpy signedIn(login.get(), &TFLogin::signedIn);
        const auto tryPair = [&](const QString &user, const QString &password) {
            login->txtLogin->setText(user);
            login->txtSenha->setText(password);
            login->btnEntrar->click();
            return recorder.texts().last();
        };
        for (int i = 0; i < 5; ++i)
            QCOMPARE(tryPair("master", "errada"), kWrongPair);
        const QString waiting = "Foram digitadas 5 senhas erradas seguidas para o nome de usuário \"master\". "
                                "Aguarde 30 segundos e tente de novo.";
        QCOMPARE(tryPair("master", "ravlen"), waiting);
        QCOMPARE(tryPair("outro", "qualquer"), kWrongPair);
        whenModalOpens([](QWidget *modal) {
            auto *w = static_cast<TFTrocaSenha *>(modal);
            fillChange(w, "master", "ravlen", "Nova senha 1", "Nova senha 1");
            w->btnSalvar->click();
            w->close();
        });
        login->btnTrocarSenha->click();
        QCOMPARE(recorder.texts().last(), waiting);
        QVERIFY(masterSignsInWith(fx.db, "ravlen"));
        SignInAttempts::setClockForTests(start.addSecs(29));
        QVERIFY(tryPair("master", "ravlen").contains("Aguarde 1 segundo e"));
        SignInAttempts::setClockForTests(start.addSecs(30));
        tryPair("master", "ravlen");
        QCOMPARE(signedIn.count(), 1);
    }

    // What a hand or another tool put in the hash column is a wrong password.
    void aHashAlteredByHandIsAWrongPassword_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::newRow("empty") << "";
        QTest::newRow("plain text") << "ravlen";
        QTest::newRow("cut short") << PasswordHash::make("ravlen").chopped(20);
        QTest::newRow("absurd cost") << "$argon2id$v=19$m=4000000000,t=3,p=1$c2FsdHNhbHRzYWx0$aGFzaGhhc2hoYXNoaGFzaGhhc2g";
        QTest::newRow("another algorithm") << "$6$salt$abcdefghijklmnopqrstuv";
    }

    void aHashAlteredByHandIsAWrongPassword()
    {
        QFETCH(QString, stored);
        ProgramFixture fx;
        fx.db.exec("UPDATE TUSUARIO SET USUHASH = ? WHERE USUCODIGO = 1", {stored});
        Messages::Recorder recorder;
        auto login = shownLogin();
        QSignalSpy signedIn(login.get(), &TFLogin::signedIn);
        login->txtLogin->setText("master");
        login->txtSenha->setText("ravlen");
        login->btnEntrar->click();
        QCOMPARE(signedIn.count(), 0);
        QCOMPARE(recorder.texts(), QStringList{kWrongPair});
    }

    // An inactive account is refused with its reason; a temporary password
    // is changed in "Trocar Senha" before the account goes in with its profile.
    void inactiveAndTemporaryAccounts()
    {
        ProgramFixture fx;
        addAccount(fx.db, {2, "pedro", "Provisoria 1", "Consulta", "NÃO"});
        addAccount(fx.db, {3, "maria", "Provisoria 2", "Tesouraria", "SIM", true});
        Messages::Recorder recorder;
        auto login = shownLogin();
        QSignalSpy signedIn(login.get(), &TFLogin::signedIn);
        login->txtLogin->setText("pedro");
        login->txtSenha->setText("Provisoria 1");
        login->btnEntrar->click();
        QCOMPARE(recorder.texts().last(), QString("A conta \"pedro\" está desativada e não entra no programa. Peça a "
                                                  "um administrador que a ative em Configurações > Usuários."));

        QStringList filled;
        const auto change = [&](bool save) {
            whenModalOpens([&filled, save](QWidget *modal) {
                auto *w = static_cast<TFTrocaSenha *>(modal);
                filled = {w->txtLogin->text(), w->txtSenha->text(), w->txtNovoUsuario->text()};
                if (save) {
                    QTest::keyClicks(w->txtNovaSenha, "Minha senha 3");
                    QTest::keyClicks(w->txtRepitaSenha, "Minha senha 3");
                    w->btnSalvar->click();
                }
                w->close();
            });
            login->txtLogin->setText("maria");
            login->txtSenha->setText("Provisoria 2");
            login->btnEntrar->click();
        };
        change(false);
        QCOMPARE(filled, (QStringList{"maria", "Provisoria 2", "maria"}));
        QCOMPARE(signedIn.count(), 0);
        change(true);
        QCOMPARE(signedIn.count(), 1);
        QCOMPARE(Session::caption(), QString("maria (Tesouraria)"));
        QCOMPARE(fx.db.scalar("SELECT USUTROCARSENHA FROM TUSUARIO WHERE USUCODIGO = 3").toInt(), 0);
        QVERIFY(PasswordHash::matches(fx.db.scalar("SELECT USUHASH FROM TUSUARIO WHERE USUCODIGO = 3").toString(),
                                      "Minha senha 3"));
        QVERIFY(recorder.texts().contains("A senha desta conta é provisória. Escolha agora uma senha só sua."));
    }

    void comparisonIsExact_data()
    {
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("password");
        QTest::newRow("capital M") << "Master" << "ravlen";
        QTest::newRow("trailing blank in password") << "master" << "ravlen ";
        QTest::newRow("leading blank in name") << " master" << "ravlen";
        QTest::newRow("password too long") << "master" << "ravlenravle";
        QTest::newRow("empty") << "" << "";
    }

    void comparisonIsExact()
    {
        QFETCH(QString, user);
        QFETCH(QString, password);
        ProgramFixture fx;
        Messages::Recorder recorder;
        auto login = shownLogin();
        QSignalSpy signedIn(login.get(), &TFLogin::signedIn);
        login->txtLogin->setText(user);
        login->txtSenha->setText(password);
        login->btnEntrar->click();
        QCOMPARE(recorder.texts(), QStringList{kWrongPair});
        QCOMPARE(recorder.shown[0].caption, QString("KELMARA"));
        QCOMPARE(signedIn.count(), 0);
        QVERIFY(login->isVisible());
        QCOMPARE(login->txtLogin->text(), user);
        QCOMPARE(login->txtSenha->text(), password);
    }

    void keysMoveTheFocusAndDriveTheButtons()
    {
        ProgramFixture fx;
        Messages::Recorder recorder;
        auto login = shownLogin();
        login->txtLogin->setFocus();
        QTest::keyClick(login->txtLogin, Qt::Key_Down);
        QVERIFY(login->txtSenha->hasFocus());
        QTest::keyClick(login->txtSenha, Qt::Key_Up);
        QVERIFY(login->txtLogin->hasFocus());
        QTest::keyClick(login->txtLogin, Qt::Key_Up); // wraps to the last box
        QVERIFY(login->txtSenha->hasFocus());
        QTest::keyClick(login->txtSenha, Qt::Key_Tab);
        QVERIFY(login->txtLogin->hasFocus()); // the buttons are not in the focus order

        login->txtSenha->setText("errada");
        QTest::keyClick(login->txtSenha, Qt::Key_Down); // signs in, here refused
        QCOMPARE(recorder.texts(), QStringList{"Senha ou Login Incorretos !"});

        QSignalSpy closed(login.get(), &TFLogin::closed);
        QTest::keyClick(login->txtLogin, Qt::Key_Escape);
        QCOMPARE(closed.count(), 1);
        QVERIFY(!login->isVisible());
    }

    void signInOpensTheMainWindowOwnedBySignIn()
    {
        ProgramFixture fx;
        static int ended = 0;
        ended = 0;
        std::unique_ptr<TFLogin> login(createSignInWindow([] { ++ended; }));
        login->show();
        login->btnEntrar->click();
        QVERIFY(FMenu && FMenu->parent() == login.get());
        QVERIFY(FMenu->isVisible());
        QCOMPARE(FMenu->windowTitle(), QString("KELMARA"));
        FMenu->close();
        QCOMPARE(ended, 1);
        QPointer<TDM> dm = DM;
        login.reset(); // every window and DM go with the sign-in window
        QVERIFY(dm.isNull());
    }

    void changeOfPasswordThenOnlyTheNewPairSignsIn()
    {
        ProgramFixture fx;
        Messages::Recorder recorder;
        auto login = shownLogin();
        whenModalOpens([](QWidget *modal) {
            auto *w = qobject_cast<TFTrocaSenha *>(modal);
            QVERIFY(w);
            QCOMPARE(w->windowTitle(), QString("Trocar Nome de Usuário e/ou Senha"));
            QCOMPARE(accessibleName(w->txtNovoUsuario), QString("NOVO NOME DE USUÁRIO"));
            fillChange(w, "master", "ravlen", "Nova senha 1", "Nova senha 1");
            QCOMPARE(w->txtNovoUsuario->text(), QString("master")); // copied on leaving the name box
            QTest::keyClick(w->txtRepitaSenha, Qt::Key_Return);
        });
        login->btnTrocarSenha->click();
        QCOMPARE(recorder.texts(), QStringList{"Usuário e/ou Senha Alterado(s) com Sucesso !"});
        QCOMPARE(fx.db.rows("SELECT USULOGIN, COALESCE(USUSENHA, '-') FROM TUSUARIO"),
                 (QList<QVariantList>{{"master", "-"}}));
        QVERIFY(masterSignsInWith(fx.db, "Nova senha 1"));

        QSignalSpy signedIn(login.get(), &TFLogin::signedIn);
        login->btnEntrar->click(); // the boxes still hold the old pair
        QCOMPARE(signedIn.count(), 0);
        QCOMPARE(recorder.texts().last(), QString("Senha ou Login Incorretos !"));
        login->txtSenha->setText("Nova senha 1");
        login->btnEntrar->click();
        QCOMPARE(signedIn.count(), 1);
    }

    void refusedChangesEmptyThreeBoxes_data()
    {
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("newPassword");
        QTest::addColumn<QString>("repeated");
        QTest::newRow("repetition differs in case") << "ravlen" << "Nova senha" << "nova senha";
        QTest::newRow("wrong current password") << "ravlem" << "nova senha" << "nova senha";
    }

    void refusedChangesEmptyThreeBoxes()
    {
        QFETCH(QString, password);
        QFETCH(QString, newPassword);
        QFETCH(QString, repeated);
        ProgramFixture fx;
        Messages::Recorder recorder;
        auto login = shownLogin();
        bool checked = false;
        whenModalOpens([&](QWidget *modal) {
            auto *w = static_cast<TFTrocaSenha *>(modal);
            fillChange(w, "master", password, newPassword, repeated);
            w->btnSalvar->click();
            QVERIFY(w->isVisible());
            QVERIFY(w->txtLogin->text().isEmpty() && w->txtSenha->text().isEmpty() && w->txtRepitaSenha->text().isEmpty());
            QCOMPARE(w->txtNovoUsuario->text(), QString("master"));
            QCOMPARE(w->txtNovaSenha->text(), newPassword);
            checked = true;
            QTest::keyClick(w->txtNovaSenha, Qt::Key_Escape);
        });
        login->btnTrocarSenha->click();
        QVERIFY(checked);
        QCOMPARE(recorder.texts(), QStringList{"Nome de Usuário e/ou Senhas não conferem"});
        QVERIFY(masterSignsInWith(fx.db, "ravlen"));
    }

    // A new password of at least eight characters, not the user name; a new
    // name no other account has. Each refusal says why and stores nothing.
    void newPairsTheRulesRefuse_data()
    {
        QTest::addColumn<QString>("newName");
        QTest::addColumn<QString>("newPassword");
        QTest::addColumn<QString>("message");
        QTest::newRow("empty") << "master" << "" << "A nova senha precisa ter pelo menos 8 caracteres.";
        QTest::newRow("seven characters") << "master" << "1234567" << "A nova senha precisa ter pelo menos 8 caracteres.";
        QTest::newRow("the new name") << "pastorjoao" << "PastorJoao" << "A nova senha não pode ser o nome de usuário.";
        QTest::newRow("another account's name") << "MARIA" << "Nova senha 1"
                                               << "Já existe outra conta com o nome de usuário \"maria\". Escolha outro nome.";
        QTest::newRow("no name") << "" << "Nova senha 1" << "Digite o nome de usuário da conta.";
    }

    void newPairsTheRulesRefuse()
    {
        QFETCH(QString, newName);
        QFETCH(QString, newPassword);
        QFETCH(QString, message);
        ProgramFixture fx;
        addAccount(fx.db, {2, "maria", "Tesouro 2026"});
        Messages::Recorder recorder;
        auto login = shownLogin();
        whenModalOpens([&](QWidget *modal) {
            auto *w = static_cast<TFTrocaSenha *>(modal);
            fillChange(w, "master", "ravlen", newPassword, newPassword);
            w->txtNovoUsuario->setText(newName);
            w->btnSalvar->click();
            QVERIFY(w->isVisible());
            w->close();
        });
        login->btnTrocarSenha->click();
        QCOMPARE(recorder.texts(), QStringList{message});
        QCOMPARE(fx.db.scalar("SELECT USULOGIN FROM TUSUARIO WHERE USUCODIGO = 1").toString(), QString("master"));
        QVERIFY(masterSignsInWith(fx.db, "ravlen"));
    }

    // No 10-character limit: a password is stored as its hash.
    void newNameBoxHoldsWhatTheColumnHolds()
    {
        ProgramFixture fx;
        auto login = shownLogin();
        TFTrocaSenha w(login.get());
        QCOMPARE(w.txtNovoUsuario->maxLength(), 20);
        QVERIFY(w.txtNovaSenha->maxLength() > 100 && w.txtRepitaSenha->maxLength() > 100);
    }
};

QTEST_MAIN(TestSignIn)
#include "tst_signin.moc"
