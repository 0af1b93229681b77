// The window "Cópia de Segurança" opened from the main window's menu, the
// copy made when the program ends after writes, and the reminder at sign-in,
// on the program as the start code builds it.
#include "ProgramFixture.h"

#include "Program.h"
#include "uikit/Messages.h"
#include "uikit/Today.h"
#include "backup/Backup.h"
#include "main/UCopiaSeguranca.h"
#include "main/UMenu.h"
#include "signin/ULogin.h"

#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QRegularExpression>
#include <QToolButton>
#include <QTreeWidget>
#include <QtTest>

namespace {

// The program started and signed in with the default pair.
struct Program
{
    ProgramFixture fx;
    Messages::Recorder messages;
    std::unique_ptr<TFLogin> login{createSignInWindow(&countEnd)};
    TFMenu *menu = nullptr;

    Program(const QString &setUp = {})
    {
        ends = 0;
        if (!setUp.isEmpty())
            fx.db.exec(setUp);
    }
    TFMenu *signIn()
    {
        login->show();
        login->btnEntrar->click();
        menu = login->findChild<TFMenu *>();
        return menu;
    }
    QString copiesFolder() const { return QDir(fx.db.folder()).filePath(QStringLiteral("Copias de Seguranca")); }
    QList<BackupCopy> copies() const { return BackupFolder::list(copiesFolder()); }
    void addMember(int code, const QString &name)
    {
        TableDataset *members = DM->TBMEMBRO;
        members->open();
        members->insert();
        DM->TBMEMBROMEMCODIGO->setAsInteger(code);
        DM->TBMEMBROMEMNOME->setAsString(name);
        members->applyUpdates(0);
    }

    static inline int ends = 0;
    static void countEnd() { ++ends; }
};

QStringList column(QTreeWidget *list, int c)
{
    QStringList values;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        values << list->topLevelItem(i)->text(c);
    return values;
}

} // namespace

class TestCopiaSeguranca : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { setUpTestProgram(); }
    void cleanup() { Backup::chooseFolderForRun({}); }

    // "Configurações" → "Cópia de Segurança" opens the window modally,
    // owned by the main window, on the folder beside the database.
    void menuOpensTheWindow()
    {
        Program p;
        TFMenu *menu = p.signIn();
        QVERIFY(menu);
        QCOMPARE(menu->Configuraes1->actions().last()->text(), QString("Cópia de Segurança"));
        QString checked;
        whenModalOpens([&](QWidget *modal) {
            auto *w = qobject_cast<TFCopiaSeguranca *>(modal);
            if (!w) {
                checked = "unexpected window " + modal->windowTitle();
                modal->close();
                return;
            }
            QStringList seen{w->windowTitle(), w->txtPasta->text(), w->Label2->text()};
            for (QToolButton *b : {w->btnFazerCopia, w->btnRestaurar, w->btnOutraPasta, w->btnSair})
                seen << b->text();
            seen << QString::number(w->lstCopias->topLevelItemCount()) << QString::number(w->btnRestaurar->isEnabled());
            checked = seen.join('|');
            if (w->parent() != menu || w->Label2->buddy() != w->lstCopias || w->Label1->buddy() != w->txtPasta)
                checked += "|owner or buddy wrong";
            w->btnSair->click();
        });
        menu->CopiadeSeguranca1->trigger();
        QCOMPARE(checked, QString("Cópia de Segurança|%1|CÓPIAS|Fazer Cópia|Restaurar|Outra Pasta...|Sair|0|0")
                              .arg(QDir::toNativeSeparators(p.copiesFolder())));
        QVERIFY(!FCopiaSeguranca);
    }

    // "Fazer Cópia" lists a checked copy; "Restaurar" brings it back after
    // two questions, the second of which may still say No; the main
    // window's list of today's events shows the restored agenda.
    void copyAndRestoreThroughTheWindow()
    {
        Today::setForTests(QDate(2026, 12, 7));
        Program p("INSERT INTO TEVENTO (EVECODIGO, EVEDESCRICAO, EVEDATA, EVEHORA, EVEMINUTOS) "
                  "VALUES (1, 'CULTO', '2026-12-07', 19, 30)");
        TFMenu *menu = p.signIn();
        p.messages.clear();
        p.addMember(1, "ANTES DA CÓPIA");
        QVERIFY(DM->dataWritten());
        TFCopiaSeguranca w(menu);
        w.show();
        w.btnFazerCopia->click();
        QCOMPARE(p.messages.shown.size(), 1);
        QVERIFY2(p.messages.shown[0].text.contains("feita e conferida") && p.messages.shown[0].text.contains("1 membro,"),
                 qPrintable(p.messages.texts().join('\n')));
        QCOMPARE(column(w.lstCopias, 2), QStringList{"Sim"});
        QCOMPARE(w.pbProgresso->value(), 100);
        QVERIFY(!DM->dataWritten());
        QVERIFY(w.btnRestaurar->isEnabled() && w.btnSair->isEnabled());

        p.addMember(2, "DEPOIS DA CÓPIA");
        DM->TBEVENTO->first();
        DM->TBEVENTO->del();
        DM->TBEVENTO->applyUpdates(0);
        menu->btnAbrirClick();
        QCOMPARE(menu->txtEventos->toPlainText(), QString("Hoje é 07/12/2026\n"));

        p.messages.clear();
        p.messages.answers = {true, false};
        w.btnRestaurar->click();
        QCOMPARE(p.messages.shown.size(), 2);
        QVERIFY2(p.messages.shown[0].text.contains(column(w.lstCopias, 0).first())
                     && p.messages.shown[0].text.contains("Ela guarda 1 membro, 0 movimentos, 0 livros e 0 fotografias"),
                 qPrintable(p.messages.shown[0].text));
        QVERIFY(p.messages.shown[1].text.contains("Substituir agora"));
        QCOMPARE(DM->TBMEMBRO->recordCount(), 2);
        QCOMPARE(QDir(p.fx.db.folder()).entryList({"LIVRO-antes-*"}), QStringList());

        p.messages.clear();
        p.messages.answers = {true, true};
        p.fx.db.disconnect();
        w.btnRestaurar->click();
        QCOMPARE(p.messages.shown.size(), 3);
        QCOMPARE(p.messages.shown[2].kind, Messages::Shown::Information);
        QVERIFY2(p.messages.shown[2].text.contains("LIVRO-antes-da-restauracao-"), qPrintable(p.messages.shown[2].text));
        QCOMPARE(walk(*DM->TBMEMBRO, "MEMNOME"), QStringList{"ANTES DA CÓPIA"});
        QCOMPARE(QDir(p.fx.db.folder()).entryList({"LIVRO-antes-da-restauracao-*.GDB"}).size(), 1);
        QCOMPARE(menu->txtEventos->toPlainText(), QString("Hoje é 07/12/2026\n\n* CULTO às 19:30"));
        QVERIFY(!DM->dataWritten());
    }

    // Photographs stored larger than the program stores them: "Reduzir
    // Fotografias" says how many and how much, makes a tagged copy, reduces
    // them while "Cancelar" stands in its place, and on a Yes restores a new
    // copy in the place of the database, which is then smaller.
    void reducePhotographsAndShrinkTheFile()
    {
        Program p;
        qint64 large = 0;
        for (int code = 1; code <= 3; ++code) {
            const QByteArray photo = noisyPicture(QSize(1600 + code, 1200), "JPG");
            large += photo.size();
            p.fx.db.exec("INSERT INTO TMEMBRO (MEMCODIGO, MEMNOME, MEMFOTO) VALUES (?, 'M', ?)", {code, photo});
        }
        p.fx.db.exec("INSERT INTO TMEMBRO (MEMCODIGO, MEMNOME, MEMFOTO) VALUES (4, 'PEQUENA', ?)",
                     {noisyPicture(QSize(300, 200), "JPG", 85)});
        TFMenu *menu = p.signIn();
        TFCopiaSeguranca w(menu);
        w.show();
        QTRY_VERIFY(!w.surveying()); // on a worker: the window answers meanwhile
        QVERIFY(!w.btnReduzirFotos->isHidden() && w.btnCancelar->isHidden());
        p.fx.db.disconnect();
        const qint64 before = QFileInfo(p.fx.db.path()).size();
        p.messages.clear();
        p.messages.answers = {true, true};
        QStringList whileReducing;
        QTimer watch;
        connect(&watch, &QTimer::timeout, [&] {
            if (w.lblProgresso->text().startsWith("Reduzindo") && whileReducing.isEmpty())
                whileReducing << QString::number(w.btnReduzirFotos->isHidden()) << QString::number(w.btnCancelar->isHidden())
                              << QString::number(w.btnCancelar->isEnabled()) << QString::number(w.btnSair->isEnabled());
        });
        watch.start(0);
        w.btnReduzirFotos->click();
        watch.stop();
        QCOMPARE(whileReducing, (QStringList{"1", "0", "1", "0"}));
        QCOMPARE(p.messages.shown.size(), 3);
        QVERIFY2(QRegularExpression("^Há 3 fotografias guardadas maiores .* elas ocupam \\d+,\\d MB\\..*\"antes-da-reducao\"")
                     .match(p.messages.shown[0].text.simplified())
                     .hasMatch(),
                 qPrintable(p.messages.shown[0].text));
        QVERIFY2(p.messages.shown[1].text.startsWith("3 fotografias foram reduzidas: ocupavam")
                     && p.messages.shown[1].text.contains("só diminui"),
                 qPrintable(p.messages.shown[1].text));
        QVERIFY2(p.messages.shown[2].text.contains("o arquivo passou de"), qPrintable(p.messages.shown[2].text));
        QStringList tags;
        for (const BackupCopy &copy : p.copies())
            tags << copy.tag;
        tags.sort(); // both may be of the same second
        QCOMPARE(tags, (QStringList{"", "antes-da-reducao"}));
        QVERIFY2(QFileInfo(p.fx.db.path()).size() < before - large / 2,
                 qPrintable(QString("%1 -> %2").arg(before).arg(QFileInfo(p.fx.db.path()).size())));
        QCOMPARE(QDir(p.fx.db.folder()).entryList({"LIVRO-antes-da-restauracao-*.GDB"}).size(), 1);
        QTRY_VERIFY(!w.surveying());
        QVERIFY(w.btnReduzirFotos->isHidden() && w.btnCancelar->isHidden() && w.btnSair->isEnabled());
        // The log names who reduced them, and only that each photograph changed.
        QCOMPARE(p.fx.db.rows("SELECT ALTREGISTRO, ALTCONTA, CAST(ALTDETALHES AS VARCHAR(200)) FROM TALTERACOES "
                              "WHERE ALTTABELA = 'TMEMBRO' AND ALTOPERACAO = 'ALTERAÇÃO' ORDER BY ALTREGISTRO"),
                 (QList<QVariantList>{{1, "master", "MEMFOTO: fotografia alterada"},
                                      {2, "master", "MEMFOTO: fotografia alterada"},
                                      {3, "master", "MEMFOTO: fotografia alterada"}}));
        DM->TBMEMBRO->open(); // as the members' window would, after the restore
        QCOMPARE(walk(*DM->TBMEMBRO, "MEMNOME"), (QStringList{"M", "M", "M", "PEQUENA"}));
    }

    // While a copy runs the window shows its progress and cannot be closed.
    void busyWindowStaysOpen()
    {
        Program p("EXECUTE BLOCK AS DECLARE i INTEGER = 1; BEGIN WHILE (i <= 3000) DO BEGIN "
                  "INSERT INTO TMEMBRO (MEMCODIGO, MEMNOME, MEMFOTO) VALUES (:i, 'M' || :i, LPAD('', 3000, 'F')); "
                  "i = i + 1; END END");
        TFMenu *menu = p.signIn();
        TFCopiaSeguranca w(menu);
        w.show();
        QStringList whileBusy;
        QTimer::singleShot(0, &w, [&] {
            whileBusy << QString::number(w.busy()) << QString::number(w.btnSair->isEnabled())
                      << QString::number(w.btnRestaurar->isEnabled());
            w.close();
            whileBusy << QString::number(w.isVisible());
        });
        w.btnFazerCopia->click();
        QCOMPARE(whileBusy, (QStringList{"1", "0", "0", "1"}));
        QVERIFY(w.isVisible());
        QCOMPARE(p.copies().size(), 1);
        w.close();
        QVERIFY(!w.isVisible());
    }

    // "Outra Pasta..." takes the copies to another folder for the rest of
    // the run; one that cannot be written is refused with a message.
    void anotherFolder()
    {
        Program p;
        TFMenu *menu = p.signIn();
        QTemporaryDir stick;
        TFCopiaSeguranca w(menu);
        w.show();
        w.chooseFolder(stick.path());
        w.btnFazerCopia->click();
        QCOMPARE(BackupFolder::list(stick.path()).size(), 1);
        QCOMPARE(Backup::folderForRun(DM->databasePath()), stick.path());
        QVERIFY(p.copies().isEmpty());

        p.messages.clear();
        QFile file(stick.filePath("arquivo"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        w.chooseFolder(stick.filePath("arquivo"));
        w.btnFazerCopia->click();
        QCOMPARE(p.messages.shown.size(), 1);
        QCOMPARE(p.messages.shown[0].kind, Messages::Shown::Error);
        QVERIFY(p.messages.shown[0].text.contains("Não é possível gravar na pasta"));
        QCOMPARE(w.lstCopias->topLevelItemCount(), 0);
        QVERIFY(w.btnFazerCopia->isEnabled());
    }

    // Closing the main window makes a checked copy only when data was
    // written in the run; a failed exit copy is said and the program ends.
    void exitCopyOnlyAfterWrites()
    {
        {
            Program p;
            p.signIn()->close();
            QCOMPARE(Program::ends, 1);
            QVERIFY(p.copies().isEmpty());
        }
        {
            Program p;
            TFMenu *menu = p.signIn();
            p.addMember(1, "PEDRO");
            menu->close();
            QCOMPARE(Program::ends, 1);
            const QList<BackupCopy> copies = p.copies();
            QCOMPARE(copies.size(), 1);
            QCOMPARE(copies[0].status, BackupCopy::Status::Checked);
            QCOMPARE(copies[0].counts->members(), 1);
            QVERIFY(p.messages.shown.isEmpty());
        }
        {
            Program p;
            TFMenu *menu = p.signIn();
            p.addMember(1, "PEDRO");
            QTemporaryDir dir;
            QFile file(dir.filePath("arquivo"));
            QVERIFY(file.open(QIODevice::WriteOnly));
            Backup::chooseFolderForRun(dir.filePath("arquivo"));
            menu->close();
            QCOMPARE(Program::ends, 1);
            QCOMPARE(p.messages.shown.size(), 1);
            QVERIFY(p.messages.shown[0].text.contains("da saída não foi feita"));
        }
    }

    // At sign-in, a database that holds data and has no copy of the last
    // week is reminded once; the answer Yes opens the window.
    void reminderAtSignIn()
    {
        {
            Program empty;
            empty.signIn();
            QVERIFY(empty.messages.shown.isEmpty());
        }
        const QString member = "INSERT INTO TMEMBRO (MEMCODIGO, MEMNOME) VALUES (1, 'PEDRO')";
        {
            Program p(member);
            QString opened;
            p.messages.answers = {true};
            whenModalOpens([&](QWidget *modal) {
                opened = modal->windowTitle();
                modal->close();
            });
            p.signIn();
            QCOMPARE(p.messages.shown.size(), 1);
            QCOMPARE(p.messages.shown[0].kind, Messages::Shown::Question);
            QVERIFY(p.messages.shown[0].text.contains("ainda não tem nenhuma cópia de segurança"));
            QCOMPARE(opened, QString("Cópia de Segurança"));
        }
        {
            Program p(member);
            Backup::makeCheckedCopy(p.fx.db.path(), p.copiesFolder(), {}, {});
            p.signIn();
            QVERIFY(p.messages.shown.isEmpty());
        }
    }
};

QTEST_MAIN(TestCopiaSeguranca)
#include "tst_copiaseguranca.moc"
