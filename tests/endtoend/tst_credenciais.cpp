// The pastor takes over the default account: a new user name and password
// set before signing in, and then only the new pair opens the program.
#include "EndToEnd.h"

#include "datamodule/PasswordHash.h"
#include "signin/UTrocaSenha.h"

namespace {

// Types the current pair, leaving the name box (which copies the name into
// the new-name box), then the new name over the copy, as a user does.
void typeCurrentPairAndNewName(TFTrocaSenha *w, const QString &user, const QString &password, const QString &newUser)
{
    RunningProgram::typeOver(w->txtLogin, user);
    QTest::keyClick(w->txtLogin, Qt::Key_Return);
    QTest::keyClicks(w->txtSenha, password);
    QTest::keyClick(w->txtSenha, Qt::Key_Return);
    QCOMPARE(w->focusWidget(), w->txtNovoUsuario); // the window's focus, whether or not it is the active one
    QCOMPARE(w->txtNovoUsuario->text(), user);
    w->txtNovoUsuario->selectAll();
    QTest::keyClicks(w->txtNovoUsuario, newUser);
    QTest::keyClick(w->txtNovoUsuario, Qt::Key_Return);
}

} // namespace

class TestCredenciais : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        Q_INIT_RESOURCE(resources);
        setUpTestProgram();
    }

    void newPairSignsInOnceThePreFilledOldPairIsRefused()
    {
        RunningProgram p;
        QCOMPARE(p.login->txtLogin->text(), "master");
        QCOMPARE(p.login->txtSenha->text(), "ravlen");

        QStringList afterMistypedRepetition;
        bool closedBySuccess = false;
        drive<TFTrocaSenha>([&] { QTest::mouseClick(p.login->btnTrocarSenha, Qt::LeftButton); }, [&](TFTrocaSenha *w) {
            QCOMPARE(w->windowTitle(), "Trocar Nome de Usuário e/ou Senha");
            typeCurrentPairAndNewName(w, "master", "ravlen", "pastor");
            QTest::keyClicks(w->txtNovaSenha, "Culto2011");
            QTest::keyClick(w->txtNovaSenha, Qt::Key_Return);
            QTest::keyClicks(w->txtRepitaSenha, "culto2011");
            QTest::mouseClick(w->btnSalvar, Qt::LeftButton);
            afterMistypedRepetition = {w->txtLogin->text(), w->txtSenha->text(), w->txtNovoUsuario->text(),
                                       w->txtNovaSenha->text(), w->txtRepitaSenha->text()};
            QVERIFY(w->isVisible());

            typeCurrentPairAndNewName(w, "master", "ravlen", "pastor");
            QCOMPARE(w->focusWidget(), w->txtNovaSenha);
            QTest::keyClick(w->txtNovaSenha, Qt::Key_Return); // the new password was kept
            QTest::keyClicks(w->txtRepitaSenha, "Culto2011");
            QTest::keyClick(w->txtRepitaSenha, Qt::Key_Return); // Enter here saves
            closedBySuccess = !w->isVisible();
        });
        QCOMPARE(afterMistypedRepetition, (QStringList{"", "", "pastor", "Culto2011", ""}));
        QVERIFY(closedBySuccess);
        QCOMPARE(p.messages.texts(), (QStringList{"Nome de Usuário e/ou Senhas não conferem",
                                                  "Usuário e/ou Senha Alterado(s) com Sucesso !"}));
        QCOMPARE(p.fx.db.rows("SELECT USULOGIN, COALESCE(USUSENHA, '-') FROM TUSUARIO"), (QList<QVariantList>{{"pastor", "-"}}));
        QVERIFY(PasswordHash::matches(p.fx.db.scalar("SELECT USUHASH FROM TUSUARIO").toString(), "Culto2011"));

        // The sign-in window still holds the pair it filled in: refused.
        p.messages.clear();
        QCOMPARE(p.login->txtLogin->text(), "master");
        QTest::mouseClick(p.login->btnEntrar, Qt::LeftButton);
        QCOMPARE(p.messages.texts(), QStringList{"Senha ou Login Incorretos !"});
        QVERIFY(!p.mainWindow());
        QVERIFY(p.login->isVisible());

        TFMenu *menu = p.signIn("pastor", "Culto2011");
        QVERIFY(menu);
        QCOMPARE(menu->windowTitle(), "KELMARA");
        QVERIFY(p.login->isHidden());
        QCOMPARE(p.messages.shown.size(), 1);

        QTest::mouseClick(menu->SpeedButton4, Qt::LeftButton); // "Sair" ends the program
        QCOMPARE(RunningProgram::ends, 1);
    }
};

QTEST_MAIN(TestCredenciais)
#include "tst_credenciais.moc"
