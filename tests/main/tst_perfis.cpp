// Who may do what: the profiles applied to every command of the main window
// (shown or hidden with its toolbar button), to every register it opens
// (read-only or changing) and to the tables under them, which refuse a
// change whatever way it comes.
#include "RegisterFixture.h"

#include "controls/DBEdit.h"
#include "datamodule/Schema.h"
#include "datamodule/Session.h"
#include "main/UCopiaSeguranca.h"
#include "recordform/RecordForm.h"
#include "registers/UMembro.h"
#include "uikit/Messages.h"

#include <QAction>
#include <QLabel>
#include <QToolButton>
#include <QtTest>

namespace {

// What each profile finds of each command of the main window, in the order
// Administrador, Secretaria, Tesouraria, Consulta: "-" hidden, "r" opens
// its window read-only, "c" changes.
const QMap<QString, QString> kExpected = {
    {"Membros1", "ccrr"},         {"Evento1", "ccrr"},           {"Aniversariantes1", "ccrr"},
    {"Funcionrios1", "c-cr"},     {"Cargos1", "c-cr"},           {"Categorias1", "c-cr"},
    {"CadastrodoLivroCaixadoMs1", "c-cr"}, {"MovimentaesdoLivroCaixa1", "c-cr"},
    {"RelatriodeLivroCaixa1", "c-cr"}, {"ResumoAnualdoCaixa1", "c-cr"}, {"LivroCaixaAnual1", "c-cr"},
    {"Dizimistas1", "c-cr"},      {"Parametros", "c---"},        {"DadosdaIgreja1", "c---"},
    {"Usuarios1", "c---"},        {"CopiadeSeguranca1", "cccc"}, {"HistoricodeAlteracoes1", "r--r"},
    {"ModelosdeDocumentos1", "cc--"}, {"MovimentodoRol1", "ccrr"},
    {"Aparencia1", "cccc"},
    {"Sair1", "cccc"},
};

// What is wrong with a register opened by a profile that `changes` it or not.
QStringList problemsOf(RecordForm *form, bool changes)
{
    QStringList problems;
    const auto expect = [&](bool ok, const QString &what) {
        if (!ok)
            problems << form->objectName() + ": " + what;
    };
    expect(form->table()->readOnly() != changes, "read-only table");
    for (QToolButton *b : {form->btnNovo, form->btnAlterar, form->btnExcluir})
        expect(form->command(b)->isEnabled() == changes, b->objectName());
    for (QToolButton *b : {form->btnConsultar, form->btnSair, form->btnExportar})
        expect(form->command(b)->isEnabled(), b->objectName());
    for (const char *always : {"Novo1", "Deletar1"}) // cash movements' keys of either state
        if (auto *key = form->findChild<QAction *>(always))
            expect(key->isEnabled() == changes, always);
    if (!form->command(form->btnAlterar)->shortcut().isEmpty()) {
        QTest::keyClick(form, Qt::Key_F2);
        expect(form->table()->editing() == changes, "F2");
        form->table()->cancel();
    }
    return problems;
}

} // namespace

class TestPerfis : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        Q_INIT_RESOURCE(resources);
        setUpTestProgram();
    }

    void everyCommandAsItsProfileSays_data()
    {
        QTest::addColumn<int>("profile");
        for (int p = 0; p < 4; ++p)
            QTest::newRow(qPrintable(Profiles::name(Profile(p)))) << p;
    }

    // Each command shown or hidden (the hidden ones disabled too, so not even
    // a trigger runs them); each shown register opened by its command in the
    // profile's mode; the restore only for an Administrador.
    void everyCommandAsItsProfileSays()
    {
        QFETCH(int, profile);
        SignedInProgram p{Profile(profile)};
        p.fx.db.exec("INSERT INTO TMEMBRO (MEMCODIGO, MEMNOME) VALUES (1, 'ANA')");
        Messages::Recorder recorder;
        p.menu->show();
        QCOMPARE(p.menu->lblUsuario->text(), QString("master (%1)").arg(Profiles::name(Profile(profile))));
        QStringList problems;
        for (const MenuCommand &command : p.menu->commands()) {
            const QString name = command.action->objectName();
            QVERIFY2(kExpected.contains(name), qPrintable(name + " has no line in the table of this test"));
            const QChar expected = kExpected[name].at(profile);
            const bool shown = expected != u'-';
            if (command.action->isVisible() != shown || command.action->isEnabled() != shown
                || (command.button && command.button->isVisibleTo(p.menu) != shown))
                problems << name + ": shown";
            if (!shown || command.window.isEmpty())
                continue;
            whenModalOpens([&](QWidget *modal) {
                if (auto *form = qobject_cast<RecordForm *>(modal))
                    problems << problemsOf(form, expected == u'c');
                if (auto *copies = qobject_cast<TFCopiaSeguranca *>(modal); copies && copies->btnRestaurar->isVisible() != (profile == 0))
                    problems << "Restaurar";
                modal->close();
            });
            command.action->trigger();
        }
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join('\n')));
        QVERIFY2(recorder.shown.isEmpty(), qPrintable(recorder.texts().join('\n')));
    }

    // Only what the profile changes may be stored: the members table of the
    // treasury refuses every change from code, and its register's keys and a
    // box's F5 store nothing; the cash book stays the treasury's to change.
    void aReadOnlyTableRefusesEveryChange()
    {
        SignedInProgram p{Profile::Tesouraria};
        p.fx.db.exec("INSERT INTO TMEMBRO (MEMCODIGO, MEMNOME) VALUES (1, 'ANA')");
        Messages::Recorder recorder;
        auto members = p.open<TFMembro>();
        TableDataset *table = DM->TBMEMBRO;
        const QString refusal = "O perfil Tesouraria não altera os membros e os eventos: nada foi gravado.";
        for (const auto &change : QList<std::function<void()>>{[&] { table->edit(); }, [&] { table->insert(); },
                                                               [&] { table->del(); }, [&] { table->applyUpdates(0); }})
            QCOMPARE(dbErrorOf(change), refusal);
        for (const QKeySequence &key : {QKeySequence(Qt::Key_F1), QKeySequence(Qt::Key_F2),
                                        QKeySequence(Qt::SHIFT | Qt::Key_Delete)})
            QTest::keySequence(members.get(), key);
        QCOMPARE(table->state(), Dataset::State::Browse);
        QCOMPARE(table->recordCount(), 1);

        members->DBEdit2->setEnabled(true); // as a tool that reaches a box would
        members->DBEdit2->setFocus();
        QTest::keyClicks(members->DBEdit2, "X");
        QTest::keyClick(members->DBEdit2, Qt::Key_F5); // Salvar's key, unavailable
        QCOMPARE(dbErrorOf([&] { members->btnSalvarClick(); }), refusal);
        recorder.defaultAnswer = true;
        QCOMPARE(dbErrorOf([&] { members->btnExcluirClick(); }), refusal);
        QCOMPARE(recorder.texts(), QStringList{"Você realmente deseja excluir este registro ?"});
        QCOMPARE(p.fx.db.scalar("SELECT MEMNOME FROM TMEMBRO").toString(), QString("ANA"));
        QVERIFY(!table->hasPendingChanges());

        DM->TBLIVRO->open();
        DM->TBLIVRO->insert();
        DM->TBLIVROLIVCODIGO->setAsInteger(1);
        DM->TBLIVRO->applyUpdates(0);
        QCOMPARE(p.fx.db.scalar("SELECT COUNT(*) FROM TLIVRO").toInt(), 1);
    }

    // Every table of the program belongs to a part that the profiles name.
    void everyTableHasItsPart()
    {
        for (const TableDef &t : Schema::tables())
            QVERIFY2(dbErrorOf([&] { Profiles::areaOfTable(t.stem); }).isEmpty(), qPrintable(t.table));
    }
};

QTEST_MAIN(TestPerfis)
#include "tst_perfis.moc"
