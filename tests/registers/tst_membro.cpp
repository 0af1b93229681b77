// The members register driven as a user would: the photograph, masked
// columns, the shortcut menu and the name search.
#include "Invariants.h"
#include "RegisterFixture.h"

#include "uikit/Messages.h"
#include "controls/DataControl.h"
#include "controls/DBEdit.h"
#include "controls/DBGrid.h"
#include "controls/DBImage.h"
#include "controls/DBRadioGroup.h"
#include "controls/DBComboBox.h"
#include "datamodule/Roll.h"
#include "main/UMenu.h"
#include "registers/UMembro.h"
#include "signin/ULogin.h"

#include <QBuffer>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTabWidget>
#include <QToolButton>
#include <QtTest>

namespace {

struct Program : SignedInProgram
{
    std::unique_ptr<TFMembro> open() { return SignedInProgram::open<TFMembro>(); }
    void member(int code, const QVariant &name)
    {
        fx.db.exec("INSERT INTO TMEMBRO (MEMCODIGO, MEMNOME) VALUES (?, ?)", {code, name});
    }
};

// The dialog answers with `path` (empty: cancelled) while this lives.
struct PictureChoice
{
    explicit PictureChoice(const QString &path)
    {
        TFMembro::choosePicture = [this](QWidget *) {
            ++asked;
            return answer;
        };
        answer = path;
    }
    ~PictureChoice() { TFMembro::choosePicture = &TFMembro::openPictureDialog; }
    QString answer;
    int asked = 0;
};

QByteArray pictureBytes(int width, int height, const char *format)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::darkBlue);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

bool inEditState(TFMembro *w)
{
    return w->btnSalvar->isEnabled() && w->btnFoto->isEnabled() && !DataControl::isReadOnly(w->Foto)
        && !w->btnNovo->isEnabled()
        && !w->btnRelatorio->isEnabled() && !w->btnSair->isEnabled();
}

bool inBrowseState(TFMembro *w)
{
    return !w->btnSalvar->isEnabled() && !w->btnFoto->isEnabled() && DataControl::isReadOnly(w->Foto)
        && w->btnNovo->isEnabled()
        && w->btnRelatorio->isEnabled() && w->btnSair->isEnabled();
}

QByteArray storedPhoto(Program &p, int code)
{
    return p.fx.db.scalar("SELECT MEMFOTO FROM TMEMBRO WHERE MEMCODIGO = ?", {code}).toByteArray();
}

// A date typed into a masked box from its start.
void typeDate(DBEdit *box, const char *digits)
{
    box->setFocus();
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Home);
    QTest::keyClicks(box, digits);
}

// An item chosen in a list as a click on it does.
void choose(DBComboBox *list, const QString &item)
{
    const int index = list->findText(item);
    QVERIFY2(index >= 0, qPrintable(item));
    list->setCurrentIndex(index);
    emit list->activated(index);
}

QStringList historyShown(const TFMembro *w)
{
    QStringList rows;
    for (int r = 0; r < w->gridHistorico->rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < w->gridHistorico->columnCount(); ++c)
            cells << w->gridHistorico->item(r, c)->text();
        rows << cells.join(" | ");
    }
    return rows;
}

} // namespace

class TestMembro : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { setUpTestProgram(); }

    void photographIsLoadedShownAndSavedByteForByte()
    {
        Program p;
        Messages::Recorder recorder;
        const QByteArray bmp = pictureBytes(200, 120, "BMP");
        p.fx.writeFile("C:\\Fotos\\joao.bmp", bmp);
        auto w = p.open();
        PictureChoice choice(p.fx.fixedPath("C:\\Fotos\\joao.bmp"));
        w->btnFoto->click(); // disabled in browse: no dialog
        QCOMPARE(choice.asked, 0);

        w->btnNovo->click();
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        w->DBEdit2->setText("JOÃO");
        w->btnFoto->click();
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QCOMPARE(DM->TBMEMBROMEMFOTO->asBytes(), bmp);
        QVERIFY(w->Foto->hasPicture());
        QCOMPARE(w->Foto->pictureSize(), QSize(200, 120)); // its own size, cut by the box
        QCOMPARE(w->Foto->size(), QSize(150, 150));
        w->btnSalvar->click();
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QVERIFY(recorder.texts().isEmpty());
        QVERIFY(inBrowseState(w.get()));
        QCOMPARE(storedPhoto(p, 1), bmp);

        // A second member: the dialog cancelled leaves the photograph empty,
        // whatever the first one holds.
        w->btnNovo->click();
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        w->DBEdit2->setText("MARIA");
        choice.answer.clear();
        QTest::mouseClick(w->Foto, Qt::LeftButton); // the box asks as the button does
        QCOMPARE(choice.asked, 2);
        QVERIFY(DM->TBMEMBROMEMFOTO->asBytes().isEmpty());
        QVERIFY(!w->Foto->hasPicture() && w->Foto->text().isEmpty());
        w->btnSalvar->click();
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QVERIFY(storedPhoto(p, 2).isEmpty());

        // Cancelled while changing the first member: its photograph stays.
        DM->TBMEMBRO->first();
        w->btnAlterar->click();
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        w->btnFoto->click();
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QCOMPARE(DM->TBMEMBROMEMFOTO->asBytes(), bmp);
        QVERIFY(w->Foto->hasPicture());
        w->btnSalvar->click();
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QCOMPARE(storedPhoto(p, 1), bmp);

        // A picture dropped by Cancelar goes with the other changes.
        const QByteArray png = pictureBytes(40, 40, "PNG");
        p.fx.writeFile("C:\\Fotos\\maria.png", png);
        DM->TBMEMBRO->last();
        w->btnAlterar->click();
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        choice.answer = p.fx.fixedPath("C:\\Fotos\\maria.png");
        w->btnFoto->click();
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QCOMPARE(w->Foto->pictureSize(), QSize(40, 40));
        w->btnCancelar->click();
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QVERIFY(!w->Foto->hasPicture());
        QVERIFY(storedPhoto(p, 2).isEmpty());
    }

    // A phone's photograph is stored reduced to 1,200 pixels on its longer side.
    void largePhotographIsStoredReduced()
    {
        Program p;
        Messages::Recorder recorder;
        p.fx.writeFile("C:\\Fotos\\celular.png", pictureBytes(3000, 2000, "PNG"));
        p.member(1, "PEDRO");
        auto w = p.open();
        PictureChoice choice(p.fx.fixedPath("C:\\Fotos\\celular.png"));
        w->btnAlterar->click();
        w->btnFoto->click();
        QCOMPARE(w->Foto->pictureSize(), QSize(1200, 800));
        w->btnSalvar->click();
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QVERIFY(recorder.texts().isEmpty());
        const QByteArray stored = storedPhoto(p, 1);
        QVERIFY(stored.startsWith("\xFF\xD8")); // JPEG
        QCOMPARE(QImage::fromData(stored).size(), QSize(1200, 800));
    }

    void fileThatIsNoPictureKeepsItsBytes()
    {
        Program p;
        Messages::Recorder recorder;
        const QByteArray bytes("isto nao e uma foto\x00\x01\x02", 22);
        p.fx.writeFile("C:\\Fotos\\carta.jpg", bytes);
        p.member(1, "PEDRO");
        auto w = p.open();
        PictureChoice choice(p.fx.fixedPath("C:\\Fotos\\carta.jpg"));
        w->btnAlterar->click();
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        w->btnFoto->click();
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QVERIFY(!w->Foto->hasPicture());
        QCOMPARE(w->Foto->text(), DBImage::kInvalidPicture);
        QCOMPARE(recorder.shown.size(), 1);
        QVERIFY(recorder.shown[0].text.contains(QStringLiteral("não é uma imagem")));
        w->btnSalvar->click();
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QCOMPARE(recorder.shown.size(), 1);
        QCOMPARE(storedPhoto(p, 1), bytes);
        recorder.clear();

        choice.answer = p.fx.fixedPath("C:\\Fotos\\sumiu.bmp"); // gone meanwhile
        w->btnAlterar->click();
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        w->btnFoto->click();
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QCOMPARE(recorder.shown.size(), 1);
        QVERIFY(inEditState(w.get()));
        QCOMPARE(DM->TBMEMBROMEMFOTO->asBytes(), bytes);
    }

    // The page "Rol": each change of admission, situação or exit saved adds
    // its row to the member's history in the same save, shown newest first;
    // a save that changes none adds none; the consent is recorded by the
    // account signed in; the user adds a row of their own; a new member is
    // ATIVO.
    void rollChangesAreKeptInTheHistory()
    {
        Program p;
        Messages::Recorder recorder;
        p.fx.db.exec("INSERT INTO TMEMBRO (MEMCODIGO, MEMNOME, MEMSITUACAO) VALUES (1, 'ANA', 'ATIVO')");
        auto w = p.open();
        const QString today = QDate::currentDate().toString("dd/MM/yyyy"); // the engine's day
        const QString included = today + " | SITUAÇÃO: ATIVO |  | "; // the member's row came with its situação
        struct Save
        {
            std::function<void()> edit;
            QStringList history;
        };
        const QList<Save> saves{
            {[&] {
                 typeDate(w->DBEditAdmissao, "05032020");
                 choose(w->cbFormaAdmissao, "BATISMO");
                 typeDate(w->DBEditConsentimento, "01022026");
             },
             {included, "05/03/2020 | ADMISSÃO: BATISMO |  | "}},
            {[&] { QTest::keyClicks(w->DBEditNumRol, "31"); }, {included, "05/03/2020 | ADMISSÃO: BATISMO |  | "}},
            {[&] {
                 choose(w->cbSituacao, "TRANSFERIDO");
                 typeDate(w->DBEditSaida, "10102020");
                 choose(w->cbMotivoSaida, "TRANSFERÊNCIA");
                 QTest::keyClicks(w->DBEditIgrejaDestino, "igreja da paz");
             },
             {today + " | SITUAÇÃO: ATIVO PARA TRANSFERIDO |  | ", included,
              "10/10/2020 | SAÍDA: TRANSFERÊNCIA |  | IGREJA DE DESTINO: IGREJA DA PAZ",
              "05/03/2020 | ADMISSÃO: BATISMO |  | "}},
        };
        for (const Save &save : saves) {
            w->btnAlterar->click();
            w->PageControl1->setCurrentWidget(w->TabRol);
            save.edit();
            w->btnSalvar->click();
            QVERIFY2(recorder.shown.isEmpty(), qPrintable(recorder.texts().join("\n")));
            QVERIFY(inBrowseState(w.get()));
            QCOMPARE(historyShown(w.get()), save.history);
        }
        QCOMPARE(p.fx.db.rows("SELECT MEMSITUACAO, MEMNUMROL, MEMCONSENTIMENTO, MEMCONSENTIDOPOR FROM TMEMBRO"),
                 (QList<QVariantList>{{"TRANSFERIDO", 31, QDate(2026, 2, 1), "master"}}));

        TFMembro::chooseHistoryRow = [](QWidget *) {
            return std::optional<Roll::HistoryRow>({QDate(2020, 10, 20), "CARTA DE TRANSFERÊNCIA RECEBIDA", "ATA 12", ""});
        };
        w->btnAcrescentarHistorico->click();
        TFMembro::chooseHistoryRow = [](QWidget *) { return std::optional<Roll::HistoryRow>(); };
        w->btnAcrescentarHistorico->click(); // cancelled
        QCOMPARE(historyShown(w.get()).value(2), QString("20/10/2020 | CARTA DE TRANSFERÊNCIA RECEBIDA | ATA 12 | "));
        QCOMPARE(p.fx.db.scalar("SELECT COUNT(*) FROM TROL WHERE ROLMEMBRO = 1").toInt(), 5);

        w->btnNovo->click();
        QCOMPARE(w->cbSituacao->currentText(), QString("ATIVO"));
        QTest::keyClicks(w->DBEdit2, "bruno");
        w->btnSalvar->click();
        QCOMPARE(p.fx.db.rows("SELECT ROLDESCRICAO FROM TROL WHERE ROLMEMBRO = 2"),
                 (QList<QVariantList>{{"SITUAÇÃO: ATIVO"}}));
    }

    void maskedColumnsAreStoredAndCheckedOnSaving()
    {
        Program p;
        Messages::Recorder recorder;
        auto w = p.open();
        w->btnNovo->click();
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QTest::keyClicks(w->DBEdit2, "joao da silva");
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QCOMPARE(w->DBEdit2->text(), QString("JOAO DA SILVA"));
        QTest::keyClicks(w->DBEdit7, "joao@igreja.org");
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QCOMPARE(w->DBEdit7->text(), QString("JOAO@IGREJA.ORG")); // the e-mail as well
        w->DBEdit16->setFocus();
        QTest::keyClick(w->DBEdit16, Qt::Key_Home);
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QTest::keyClicks(w->DBEdit16, "52998224725");
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        w->DBEdit8->setFocus();
        QTest::keyClick(w->DBEdit8, Qt::Key_Home);
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QTest::keyClicks(w->DBEdit8, "31022020");
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QTest::keyClick(w->DBEdit8, Qt::Key_F5);
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QVERIFY(recorder.texts().contains("'31/02/2020' is not a valid date"));
        QVERIFY(inEditState(w.get()));
        QCOMPARE(p.fx.db.scalar("SELECT COUNT(*) FROM TMEMBRO").toInt(), 0);

        w->DBEdit8->setFocus();
        w->DBEdit8->selectAll();
        QTest::keyClick(w->DBEdit8, Qt::Key_Home);
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QTest::keyClicks(w->DBEdit8, "29022020");
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QTest::keyClick(w->DBEdit8, Qt::Key_F5);
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QVERIFY(inBrowseState(w.get()));
        const QList<QVariantList> rows =
            p.fx.db.rows("SELECT MEMCPF, MEMDATANASC, MEMEMAIL FROM TMEMBRO WHERE MEMCODIGO = 1");
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows[0][0].toString(), QString("529.982.247-25"));
        QCOMPARE(rows[0][1].toDate(), QDate(2020, 2, 29));
        QCOMPARE(rows[0][2].toString(), QString("JOAO@IGREJA.ORG"));
    }

    // A CPF with wrong check digits is saved only on "Sim", and "Não" keeps
    // the member in the window, also on "Salvar e Novo"; every CPF saved is
    // stored as "000.000.000-00", one stored with hyphens by an older version
    // included, and rows nobody saved keep theirs.
    void cpfIsCheckedAndStoredInItsFormat()
    {
        Program p;
        Messages::Recorder recorder;
        for (int code : {1, 2})
            p.fx.db.exec("INSERT INTO TMEMBRO (MEMCODIGO, MEMNOME, MEMCPF) VALUES (?, 'ANA', '172-588-395-34')", {code});
        const auto cpfOf = [&p](int code) {
            return p.fx.db.scalar("SELECT MEMCPF FROM TMEMBRO WHERE MEMCODIGO = ?", {code});
        };
        auto w = p.open();
        QCOMPARE(w->DBEdit16->text(), QString("172.588.395-34")); // the same CPF, by its digits
        w->btnAlterar->click();
        w->btnSalvar->click();
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QVERIFY(recorder.shown.isEmpty());
        QCOMPARE(QVariantList({cpfOf(1), cpfOf(2)}), QVariantList({"172.588.395-34", "172-588-395-34"}));

        w->btnNovo->click();
        QTest::keyClicks(w->DBEdit2, "carla");
        w->DBEdit16->setFocus();
        QTest::keyClick(w->DBEdit16, Qt::Key_Home);
        QTest::keyClicks(w->DBEdit16, "12345678901");
        recorder.answers = {false};
        QTest::keyClick(w->DBEdit16, Qt::Key_F6);
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QCOMPARE(recorder.texts(), QStringList{"O CPF 123.456.789-01 não é válido. Salvar assim mesmo?"});
        QCOMPARE(recorder.shown.last().kind, Messages::Shown::Question);
        QVERIFY(inEditState(w.get()) && w->DBEdit16->hasFocus() && w->DBEdit2->text() == "CARLA");
        QVERIFY(cpfOf(3).isNull());

        recorder.answers = {true};
        QTest::keyClick(w->DBEdit16, Qt::Key_F6); // Sim: saved, and the next member begun
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QCOMPARE(cpfOf(3).toString(), QString("123.456.789-01"));
        QVERIFY(inEditState(w.get()) && w->DBEdit2->hasFocus() && w->DBEdit1->text() == "4");
        QTest::keyClicks(w->DBEdit2, "davi"); // no CPF: nothing to ask
        recorder.clear();
        QTest::keyClick(w->DBEdit2, Qt::Key_F5);
        QVERIFY(recorder.shown.isEmpty() && inBrowseState(w.get()));
        QVERIFY(p.fx.db.scalar("SELECT COUNT(*) FROM TMEMBRO WHERE MEMCODIGO = 4 AND MEMCPF IS NULL").toInt() == 1);
    }

    void shortcutKeysActOnEnabledButtonsOnly()
    {
        Program p;
        p.member(1, "ANA");
        auto w = p.open();
        QVERIFY(inBrowseState(w.get()));
        QTest::keyClick(w.get(), Qt::Key_F8); // in the legend, but no such key
        QCOMPARE(w->PageControl1->currentIndex(), 0);
        QTest::keyClick(w.get(), Qt::Key_F5);
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QTest::keyClick(w.get(), Qt::Key_Escape);
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QVERIFY(w->isVisible() && inBrowseState(w.get()));
        QCOMPARE(Program::captionsOpenedBy({[&] { QTest::keyClick(w.get(), Qt::Key_P, Qt::ControlModifier); }}),
                 QStringList{"Filtro de Relatório de Membros"});
        QVERIFY(w->isVisible());
        QApplication::setActiveWindow(w.get()); // back to the register once the filter closes
        QVERIFY(QTest::qWaitForWindowActive(w.get()));

        QTest::keyClick(w.get(), Qt::Key_F1);
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QVERIFY(inEditState(w.get()));
        QVERIFY(w->DBEdit2->hasFocus());
        QCOMPARE(w->DBEdit1->text(), QString("2"));
        QTest::keyClicks(w->DBEdit2, "bruno");
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QTest::keyClick(w->DBEdit2, Qt::Key_Return);
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QVERIFY(w->DBEdit3->hasFocus());
        QTest::keyClick(w->DBEdit3, Qt::Key_F4); // Sair is disabled while editing
        QTest::keyClick(w->DBEdit3, Qt::Key_F1);
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QTest::keyClick(w->DBEdit3, Qt::Key_Delete, Qt::ShiftModifier);
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QVERIFY(w->isVisible() && inEditState(w.get()));
        QTest::keyClick(w->DBEdit3, Qt::Key_Escape); // Cancelar, not Sair
        QVERIFY(w->isVisible() && inBrowseState(w.get()));
        QCOMPARE(DM->TBMEMBRO->recordCount(), 1);

        QTest::keyClick(w.get(), Qt::Key_F2);
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        w->DBEdit2->selectAll();
        QTest::keyClicks(w->DBEdit2, "ana paula");
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QTest::keyClick(w->DBEdit2, Qt::Key_F5);
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QVERIFY(inBrowseState(w.get()));
        QCOMPARE(p.fx.db.scalar("SELECT MEMNOME FROM TMEMBRO").toString(), QString("ANA PAULA"));
        QTest::keyClick(w.get(), Qt::Key_F4);
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QVERIFY(!w->isVisible());
    }

    void tabOrderFollowsTheRowsAndSkipsTheChurch()
    {
        Program p;
        auto w = p.open();
        w->btnNovo->click();
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QStringList visited;
        for (int i = 0; i < 22; ++i) {
            QWidget *f = QApplication::focusWidget();
            visited << (f->parentWidget() == w->DBRadioGroup1 ? QString("SEXO") : f->objectName());
            QTest::keyClick(f, Qt::Key_Tab);
            ASSERT_NO_UNAPPLIED_CHANGES(DM);
        }
        const QStringList expected{"DBEdit2",     "DBEdit3",     "DBEdit4",  "DBEdit5",  "DBEdit6",  "DBEdit7",
                                   "DBEdit12",    "DBEdit8",     "DBEdit9",  "DBEdit10", "DBComboBox1",
                                   "DBComboBox2", "DBEdit11",    "DBEdit16", "DBEdit17", "DBEdit13", "DBEdit14",
                                   "SEXO",        "btnFoto"};
        QCOMPARE(visited.mid(0, expected.size()), expected);
        QVERIFY(!visited.contains("DBEdit15") && !visited.contains("DBLookupComboBox1"));
        QVERIFY(w->DBRadioGroup1->isVisible() && !w->DBEdit15->isVisible() && !w->lblIgreja->isVisible());
    }

    void nameSearchNarrowsEveryView()
    {
        Program p;
        p.member(1, "JOÃO DA SILVA");
        p.member(2, "MARIA SILVEIRA");
        p.member(3, "PEDRO SOUZA");
        p.member(4, QVariant());
        auto w = p.open();
        w->btnConsultar->click();
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QVERIFY(!w->searchBox->hasFocus());
        QSignalSpy resets(DM->TBMEMBRO, &Dataset::rowsReset);
        QSignalSpy moves(DM->TBMEMBRO, &Dataset::currentChanged);
        QTest::keyClicks(w->searchBox, "sil");
        QCOMPARE(resets.size(), 3); // once a keystroke
        QCOMPARE(moves.size(), 3);
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QCOMPARE(w->searchBox->text(), QString("SIL"));
        QCOMPARE(DM->TBMEMBRO->filter(), QString("(UPPER(MEMNOME) LIKE UPPER('%SIL%'))"));
        QCOMPARE(w->DBGrid1->model()->rowCount(), 2);
        QCOMPARE(w->DBGrid1->model()->headerData(1, Qt::Horizontal).toString(), QString("ENDEREÇO"));
        QCOMPARE(w->DBGrid1->columnWidth(0), 274);
        DM->TBMEMBRO->last();
        w->DBGrid1DblClick();
        QCOMPARE(w->DBEdit2->text(), QString("MARIA SILVEIRA"));
        w->searchBox->clear();
        QCOMPARE(DM->TBMEMBRO->recordCount(), 3); // every member with a name
        w->searchBox->setText("souza");
        w->btnBuscar->click();
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QCOMPARE(DM->TBMEMBRO->recordCount(), 1);
        w->close();
        QCOMPARE(DM->TBMEMBRO->recordCount(), 1); // the filter outlives the window
    }

    void theMainWindowOpensTheRegister()
    {
        Program p;
        QCOMPARE(Program::captionsOpenedBy({[&] { p.menu->SpeedButton1->click(); }, [&] { p.menu->Membros1->trigger(); }}),
                 QStringList({"Cadastro de Membros", "Cadastro de Membros"}));
        QVERIFY(!FMembro);
    }
};

QTEST_MAIN(TestMembro)
#include "tst_membro.moc"
