// A secretary's day across the windows, which all work on the same shared
// tables: what one window leaves behind, the next one shows.
#include "EndToEnd.h"

#include "cashbook/ULivroCaixa.h"
#include "cashbook/UMovimentacoes.h"
#include "uikit/Today.h"
#include "controls/DBEdit.h"
#include "controls/DBGrid.h"
#include "controls/DBMemo.h"
#include "controls/DBRadioGroup.h"
#include "registers/UCargo.h"
#include "registers/UEvento.h"
#include "registers/UFuncionario.h"
#include "registers/UMembro.h"
#include "reports/cadastros/UFMembro.h"

#include <QGroupBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

const QDate kToday(2026, 12, 7);

struct Secretary : RunningProgram
{
    TFMenu *menu = nullptr;

    Secretary() { Today::setForTests(kToday); }
    ~Secretary() { Today::setForTests(QDate()); }

    // Registers the members, then searches for `search` on the query page.
    void addMembersAndSearch(const QStringList &names, const QString &search)
    {
        drive<TFMembro>([&] { QTest::mouseClick(menu->SpeedButton1, Qt::LeftButton); }, [&](TFMembro *w) {
            for (const QString &name : names) {
                QTest::mouseClick(w->btnNovo, Qt::LeftButton);
                QTest::keyClicks(w->DBEdit2, name.toLower());
                QTest::keyClick(w->DBEdit2, Qt::Key_F5);
                QVERIFY(w->btnNovo->isEnabled());
            }
            QTest::mouseClick(w->btnConsultar, Qt::LeftButton);
            QTest::keyClicks(w->searchBox, search);
            QCOMPARE(w->DBGrid1->model()->rowCount(), 2);
            QTest::mouseClick(w->btnSair, Qt::LeftButton);
        });
    }

    QStringList eventLines() const { return menu->txtEventos->toPlainText().split('\n'); }
};

} // namespace

class TestDadosCompartilhados : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        Q_INIT_RESOURCE(resources);
        setUpTestProgram();
    }

    void whatOneWindowLeavesTheNextShows()
    {
        Secretary s;
        s.menu = s.signIn("master", "ravlen");
        QVERIFY(s.menu);

        // The search left on in the members register narrows the report
        // filter's member list, while the member list report shows everyone.
        s.addMembersAndSearch({"Ana Silva", "Carla Souza", "Bruno Silva"}, "silva");
        QStringList offered, listed;
        drive<TFMembro>([&] { s.menu->Membros1->trigger(); }, [&](TFMembro *w) {
            QCOMPARE(w->DBGrid1->model()->rowCount(), 2);
            drive<TFFMembro>([&] { QTest::mouseClick(w->btnRelatorio, Qt::LeftButton); }, [&](TFFMembro *filter) {
                offered = itemsOf(filter->DBLookupComboBox1);
                QTest::mouseClick(filter->RGMembros->findChild<QRadioButton *>("RGMembros0"), Qt::LeftButton);
                listed = previewOf(filter->btnGerar).texts(0, "QRDBText1");
                QTest::mouseClick(filter->btnSair, Qt::LeftButton);
            });
            QTest::mouseClick(w->btnSair, Qt::LeftButton);
        });
        QCOMPARE(offered, (QStringList{"ANA SILVA", "BRUNO SILVA"}));
        QCOMPARE(listed, (QStringList{"ANA SILVA", "BRUNO SILVA", "CARLA SOUZA"}));

        // A position added through "Cargo" while hiring is offered at once,
        // and choosing it brings its salary.
        QStringList positionsOffered;
        drive<TFFuncionario>([&] { QTest::mouseClick(s.menu->SpeedButton3, Qt::LeftButton); }, [&](TFFuncionario *w) {
            QTest::mouseClick(w->btnNovo, Qt::LeftButton);
            QTest::keyClicks(w->DBEdit2, "jose zelador");
            drive<TFCargo>([&] { QTest::mouseClick(w->btnCargo, Qt::LeftButton); }, [&](TFCargo *positions) {
                QTest::mouseClick(positions->btnNovo, Qt::LeftButton);
                QTest::keyClicks(positions->DBEdit2, "zelador");
                QTest::keyClick(positions->DBEdit2, Qt::Key_Return);
                QTest::keyClicks(positions->DBEdit3, "1500");
                QTest::mouseClick(positions->btnSalvar, Qt::LeftButton);
                QTest::mouseClick(positions->btnSair, Qt::LeftButton);
            });
            positionsOffered = itemsOf(w->DBLookupComboBox1);
            QVERIFY(chooseInList(w->DBLookupComboBox1, "ZELADOR"));
            QTest::mouseClick(w->btnSalvar, Qt::LeftButton);
            QVERIFY(w->btnNovo->isEnabled());
            QTest::mouseClick(w->btnSair, Qt::LeftButton);
        });
        QCOMPARE(positionsOffered, QStringList{"ZELADOR"});
        QCOMPARE(s.fx.db.rows("SELECT FUNNOME, FUNCARGO, FUNSALARIO FROM TFUNCIONARIO"),
                 (QList<QVariantList>{{"JOSE ZELADOR", 1, 1500.0}}));
        QCOMPARE(s.fx.db.rows("SELECT CARCODIGO, CARDESCRICAO FROM TCARGO"), (QList<QVariantList>{{1, "ZELADOR"}}));

        // A book added through "Livros" while booking is in the book list at once.
        QString bookCode;
        drive<TFMovimentacoes>([&] { s.menu->MovimentaesdoLivroCaixa1->trigger(); }, [&](TFMovimentacoes *w) {
            QTest::mouseClick(w->btnNovo, Qt::LeftButton);
            QTest::keyClicks(w->DBEdit2, "cadeiras");
            drive<TFLivroCaixa>([&] { QTest::mouseClick(w->btnLivro, Qt::LeftButton); }, [&](TFLivroCaixa *books) {
                QTest::mouseClick(books->btnNovo, Qt::LeftButton);
                QTest::keyClicks(books->DBEdit2, "12");
                QTest::keyClick(books->DBEdit2, Qt::Key_Return);
                QTest::keyClicks(books->DBEdit4, "2026");
                QTest::keyClick(books->DBEdit4, Qt::Key_Return);
                QTest::keyClicks(books->DBEdit5, "caixa de dezembro");
                QTest::mouseClick(books->btnSalvar, Qt::LeftButton);
                QTest::mouseClick(books->btnSair, Qt::LeftButton);
            });
            QVERIFY(chooseInList(w->DBLookupComboBox1, "CAIXA DE DEZEMBRO"));
            bookCode = w->DBEdit3->text();
            w->DBEdit4->setFocus();
            QTest::keyClicks(w->DBEdit4, "450");
            QTest::mouseClick(w->DBRadioGroup1->button(1), Qt::LeftButton);
            QTest::mouseClick(w->btnSalvar, Qt::LeftButton);
            QTest::mouseClick(w->btnSair, Qt::LeftButton);
        });
        QCOMPARE(bookCode, "1");
        QCOMPARE(s.fx.db.rows("SELECT MOVDESCRICAO, MOVLIVRO, MOVVALOR, MOVDEBITOCREDITO FROM TMOVIMETACOES"),
                 (QList<QVariantList>{{"CADEIRAS", 1, 450.0, "SAIDA"}}));
        QCOMPARE(s.fx.db.scalar("SELECT LIVNOMEMES FROM TLIVRO WHERE LIVCODIGO = 1").toString(), "Dezembro");

        // An event for today, with the new employee in charge, shows in the
        // main window after "Fechar" and "Abrir".
        QCOMPARE(s.eventLines(), (QStringList{"Hoje é 07/12/2026", ""}));
        drive<TFEvento>([&] { QTest::mouseClick(s.menu->SpeedButton5, Qt::LeftButton); }, [&](TFEvento *w) {
            QTest::mouseClick(w->btnNovo, Qt::LeftButton);
            QTest::keyClicks(w->DBMemo1, "Culto de oracao");
            w->DBEdit3->setFocus();
            QTest::keyClicks(w->DBEdit3, kToday.toString("ddMMyyyy"));
            QTest::keyClick(w->DBEdit3, Qt::Key_Return);
            QTest::keyClicks(w->DBEdit4, "19");
            QTest::keyClick(w->DBEdit4, Qt::Key_Return);
            QTest::keyClicks(w->DBEdit5, "30");
            QVERIFY(chooseInList(w->DBLookupComboBox1, "JOSE ZELADOR"));
            QTest::mouseClick(w->btnSalvar, Qt::LeftButton);
            QVERIFY(w->btnNovo->isEnabled());
            QTest::mouseClick(w->btnSair, Qt::LeftButton);
        });
        QCOMPARE(s.eventLines().size(), 2); // not yet
        QTest::mouseClick(s.menu->btnFechar, Qt::LeftButton);
        QVERIFY(s.menu->Panel2->isHidden() && !s.menu->Panel3->isHidden());
        QTest::mouseClick(s.menu->btnAbrir, Qt::LeftButton);
        QVERIFY(!s.menu->Panel2->isHidden() && s.menu->Panel3->isHidden());
        QCOMPARE(s.eventLines(), (QStringList{"Hoje é 07/12/2026", "", "* Culto de oracao às 19:30"}));
        QCOMPARE(s.fx.db.rows("SELECT EVEDATA, EVEHORA, EVEMINUTOS, EVEFUNCIONARIO FROM TEVENTO"),
                 (QList<QVariantList>{{kToday, 19, 30, 1}}));
        QVERIFY(s.messages.shown.isEmpty());
    }
};

QTEST_MAIN(TestDadosCompartilhados)
#include "tst_dadoscompartilhados.moc"
