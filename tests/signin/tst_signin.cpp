// The sign-in window and the change of credentials, driven as a user would.
#include "ProgramFixture.h"

#include "Program.h"
#include "uikit/Messages.h"
#include "main/UMenu.h"
#include "signin/ULogin.h"
#include "signin/UTrocaSenha.h"

#include <QAccessible>
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
    QTest::keyClicks(w->txtLogin, login);
    QTest::keyClick(w->txtLogin, Qt::Key_Return); // leaving the box copies the name
    QTest::keyClicks(w->txtSenha, password);
    QTest::keyClick(w->txtSenha, Qt::Key_Return);
    QTest::keyClick(w->txtNovoUsuario, Qt::Key_Return);
    QTest::keyClicks(w->txtNovaSenha, newPassword);
    QTest::keyClick(w->txtNovaSenha, Qt::Key_Return);
    QTest::keyClicks(w->txtRepitaSenha, repeated);
}

} // namespace

class TestSignIn : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { setUpTestProgram(); }

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
        QTest::keyClick(login->txtSenha, Qt::Key_Return);
        QCOMPARE(signedIn.count(), 1);
        QVERIFY(login->isHidden());
        QVERIFY(recorder.shown.isEmpty());
    }

    void comparisonIsExactAndTriesAreUnlimited_data()
    {
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("password");
        QTest::newRow("capital M") << "Master" << "ravlen";
        QTest::newRow("trailing blank in password") << "master" << "ravlen ";
        QTest::newRow("leading blank in name") << " master" << "ravlen";
        QTest::newRow("password too long") << "master" << "ravlenravle";
        QTest::newRow("empty") << "" << "";
    }

    void comparisonIsExactAndTriesAreUnlimited()
    {
        QFETCH(QString, user);
        QFETCH(QString, password);
        ProgramFixture fx;
        Messages::Recorder recorder;
        auto login = shownLogin();
        QSignalSpy signedIn(login.get(), &TFLogin::signedIn);
        for (int attempt = 0; attempt < 3; ++attempt) {
            login->txtLogin->setText(user);
            login->txtSenha->setText(password);
            login->btnEntrar->click();
        }
        QCOMPARE(recorder.texts(), QStringList(3, "Senha ou Login Incorretos !"));
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
            fillChange(w, "master", "ravlen", "nova1", "nova1");
            QCOMPARE(w->txtNovoUsuario->text(), QString("master")); // copied on leaving the name box
            QTest::keyClick(w->txtRepitaSenha, Qt::Key_Return);
        });
        login->btnTrocarSenha->click();
        QCOMPARE(recorder.texts(), QStringList{"Usuário e/ou Senha Alterado(s) com Sucesso !"});
        QCOMPARE(fx.db.rows("SELECT USULOGIN, USUSENHA FROM TUSUARIO"),
                 (QList<QVariantList>{{"master", "nova1"}}));

        QSignalSpy signedIn(login.get(), &TFLogin::signedIn);
        login->btnEntrar->click(); // the boxes still hold the old pair
        QCOMPARE(signedIn.count(), 0);
        QCOMPARE(recorder.texts().last(), QString("Senha ou Login Incorretos !"));
        login->txtSenha->setText("nova1");
        login->btnEntrar->click();
        QCOMPARE(signedIn.count(), 1);
    }

    void refusedChangesEmptyThreeBoxes_data()
    {
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("newPassword");
        QTest::addColumn<QString>("repeated");
        QTest::newRow("repetition differs in case") << "ravlen" << "Nova" << "nova";
        QTest::newRow("wrong current password") << "ravlem" << "nova" << "nova";
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
        QCOMPARE(fx.db.scalar("SELECT USUSENHA FROM TUSUARIO").toString(), QString("ravlen"));
    }

    void emptyNewPasswordIsAcceptedAndTheBoxesOpenEmptyNextTime()
    {
        ProgramFixture fx;
        Messages::Recorder recorder;
        {
            auto login = shownLogin();
            whenModalOpens([](QWidget *modal) {
                auto *w = static_cast<TFTrocaSenha *>(modal);
                fillChange(w, "master", "ravlen", "", "");
                QTest::keyClick(w->txtRepitaSenha, Qt::Key_Down);
            });
            login->btnTrocarSenha->click();
            QVERIFY(fx.db.scalar("SELECT USUSENHA FROM TUSUARIO").isNull());
            login->txtSenha->clear();
            QSignalSpy signedIn(login.get(), &TFLogin::signedIn);
            login->btnEntrar->click();
            QCOMPARE(signedIn.count(), 1);
        }
        auto again = shownLogin(); // the default account is gone: nothing filled in
        QVERIFY(again->txtLogin->text().isEmpty());
        QVERIFY(again->txtSenha->text().isEmpty());
    }

    void newNameAndPasswordBoxesHoldWhatTheColumnsHold()
    {
        ProgramFixture fx;
        auto login = shownLogin();
        TFTrocaSenha w(login.get());
        QCOMPARE(w.txtNovoUsuario->maxLength(), 20);
        QCOMPARE(w.txtNovaSenha->maxLength(), 10);
        QCOMPARE(w.txtRepitaSenha->maxLength(), 10);
    }
};

QTEST_MAIN(TestSignIn)
#include "tst_signin.moc"
