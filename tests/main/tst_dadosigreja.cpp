// "Dados da Igreja": the church's data as rows of the parameters table,
// read and written whatever search the parameters window left on it.
#include "RegisterFixture.h"

#include "datamodule/ChurchData.h"
#include "uikit/Messages.h"
#include "datamodule/ParameterCodes.h"
#include "datamodule/UDM.h"
#include "main/UDadosIgreja.h"
#include "main/UParamentros.h"

#include <QAccessible>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QToolButton>
#include <QtTest>

namespace {

struct Church : SignedInProgram
{
    void parameter(int code, const QString &value, const QString &description)
    {
        fx.db.exec("INSERT INTO TPARAMETROS (PARCODIGO, PARVALOR, PAROBSERVACOES) VALUES (?, ?, ?)",
                   {code, value, description});
    }
    QList<QVariantList> rows()
    {
        // The row of the database's level is the program's, not the church's.
        return fx.db.rows("SELECT PARCODIGO, PARVALOR, PAROBSERVACOES FROM TPARAMETROS WHERE PARCODIGO <> ? "
                          "ORDER BY PARCODIGO",
                          {ParameterCode::SchemaLevel});
    }
    // A search left on by the parameters window that hides the church's rows.
    void hideBySearch()
    {
        DM->TBPARAMENTROS->open();
        DM->TBPARAMENTROS->setFilter("(UPPER(PAROBSERVACOES) LIKE UPPER('%ANOTA%'))");
        DM->TBPARAMENTROS->setFiltered(true);
    }
};

} // namespace

class TestDadosIgreja : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        Q_INIT_RESOURCE(resources);
        setUpTestProgram();
    }

    void showsAndStoresEveryDatumWhateverTheSearch()
    {
        Church p;
        p.parameter(1, "Igreja Batista Central", "Nome da IGREJA");
        p.parameter(2, "ANOTAÇÃO DO USUÁRIO", "anotação"); // a row of the user's own
        p.parameter(104, "MARIA", "Tesouraria");
        p.hideBySearch();
        QCOMPARE(DM->TBPARAMENTROS->recordCount(), 1);

        auto w = p.open<TFDadosIgreja>();
        QCOMPARE(w->windowTitle(), "Dados da Igreja");
        QCOMPARE(w->txtNome->text(), "Igreja Batista Central"); // as typed, not in capitals
        QCOMPARE(w->txtTesoureiro->text(), "MARIA");
        QVERIFY(w->txtCNPJ->text().isEmpty());
        QCOMPARE(w->Label2->buddy(), w->txtCNPJ);
        QCOMPARE(QAccessible::queryAccessibleInterface(w->txtConselho3)->text(QAccessible::Name),
                 "CONSELHO FISCAL, 3º MEMBRO");

        w->txtCNPJ->setText(" 11222333000181 ");
        w->txtTesoureiro->setText("Maria da Silva");
        w->txtCidade->setText("Campinas/SP");
        w->txtConselho2->setText("José Pereira");
        QTest::mouseClick(w->btnSalvar, Qt::LeftButton);
        QVERIFY(!w->isVisible());
        QCOMPARE(w->result(), int(QDialog::Accepted));
        QCOMPARE(p.rows(), (QList<QVariantList>{
                               {1, "Igreja Batista Central", "Nome da IGREJA"},
                               {2, "ANOTAÇÃO DO USUÁRIO", "anotação"},
                               {101, "11.222.333/0001-81", "Dados da Igreja: CNPJ"},
                               {103, "Campinas/SP", "Dados da Igreja: cidade / UF"},
                               {104, "Maria da Silva", "Tesouraria"},
                               {107, "José Pereira", "Dados da Igreja: conselho fiscal, 2º membro"},
                           }));
        // The search is as it was; without it the parameters window lists every row.
        QVERIFY(DM->TBPARAMENTROS->filtered());
        QCOMPARE(DM->TBPARAMENTROS->recordCount(), 1);
        QVERIFY(!DM->TBPARAMENTROS->hasPendingChanges());
        DM->TBPARAMENTROS->setFiltered(false);
        auto parameters = p.open<TFParamentros>();
        QCOMPARE(DM->TBPARAMENTROS->recordCount(), 7); // with the row of the database's level

        // Emptying a value keeps its row and its description.
        w = p.open<TFDadosIgreja>();
        QCOMPARE(w->txtConselho2->text(), "José Pereira");
        w->txtConselho2->clear();
        w->btnSalvar->click();
        const QVariantList emptied = p.rows()[5];
        QCOMPARE(emptied[0].toInt(), 107);
        QVERIFY(emptied[1].isNull());
        QCOMPARE(emptied[2].toString(), "Dados da Igreja: conselho fiscal, 2º membro");
    }

    void refusalsStoreNothing()
    {
        Church p;
        p.parameter(1, "IGREJA", "Nome da igreja");
        p.hideBySearch();
        const QList<QVariantList> before = p.rows();
        Messages::Recorder messages;
        auto w = p.open<TFDadosIgreja>();
        w->txtNome->setText("IGREJA NOVA");
        w->txtCNPJ->setText("11.222.333/0001-82"); // a wrong check digit: asked, and "Não"
        w->btnSalvar->click();
        QCOMPARE(messages.texts(), QStringList{"O CNPJ 11.222.333/0001-82 não é válido. Salvar assim mesmo?"});
        QCOMPARE(messages.shown.first().kind, Messages::Shown::Question);
        QVERIFY(w->isVisible() && w->txtCNPJ->hasFocus());
        QCOMPARE(p.rows(), before);

        // A name the database cannot hold: the error box, and not one datum stored.
        messages.clear();
        w->txtCNPJ->setText("11.222.333/0001-81");
        w->txtPastor->setText("Ω");
        w->btnSalvar->click();
        QCOMPARE(messages.shown.size(), 1);
        QCOMPARE(messages.shown.first().kind, Messages::Shown::Error);
        QVERIFY(w->isVisible());
        QCOMPARE(w->txtNome->text(), "IGREJA NOVA");
        QCOMPARE(p.rows(), before);
        QCOMPARE(ChurchData::value(1), "IGREJA");
        QVERIFY(!DM->TBPARAMENTROS->hasPendingChanges());
        QCOMPARE(DM->TBPARAMENTROS->recordCount(), 0);

        // Leaving with typed data asks first; No stays, Yes leaves storing nothing.
        messages.clear();
        messages.answers = {false, true};
        w->btnSair->click();
        QVERIFY(w->isVisible());
        w->btnSair->click();
        QVERIFY(!w->isVisible());
        QCOMPARE(messages.texts(), QStringList(2, "Os dados alterados não foram salvos. Deseja sair assim mesmo ?"));
        QCOMPARE(p.rows(), before);
        // Nothing typed: it leaves without asking.
        messages.clear();
        w = p.open<TFDadosIgreja>();
        QTest::keyClick(w->txtNome, Qt::Key_Escape);
        QVERIFY(!w->isVisible());
        QVERIFY(messages.shown.isEmpty());
    }

    // "Sim" stores a CNPJ that is not one, as typed or, with its fourteen
    // characters, in the usual format.
    void aCnpjThatIsNotOneIsStoredOnSim()
    {
        Church p;
        Messages::Recorder messages;
        messages.answers = {true};
        auto w = p.open<TFDadosIgreja>();
        w->txtCNPJ->setText("11222333000182");
        w->btnSalvar->click();
        QVERIFY(!w->isVisible());
        QCOMPARE(ChurchData::value(ParameterCode::Cnpj), "11.222.333/0001-82");
        w = p.open<TFDadosIgreja>();
        w->txtCNPJ->setText("123");
        w->btnSalvar->click();
        QCOMPARE(messages.texts().last(), "O CNPJ 123 não é válido. Salvar assim mesmo?");
        QCOMPARE(ChurchData::value(ParameterCode::Cnpj), "11.222.333/0001-82"); // "Não" this time
    }

    void openedFromConfiguracoes()
    {
        Church p;
        QCOMPARE(p.menu->DadosdaIgreja1->text(), "Dados da Igreja");
        QVERIFY(p.menu->Configuraes1->actions().contains(p.menu->DadosdaIgreja1));
        const QStringList captions = SignedInProgram::captionsOpenedBy({[&] { p.menu->DadosdaIgreja1->trigger(); }});
        QCOMPARE(captions, QStringList{"Dados da Igreja"});
    }
};

QTEST_MAIN(TestDadosIgreja)
#include "tst_dadosigreja.moc"
