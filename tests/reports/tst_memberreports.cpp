// The member list and the member sheet, made from the filter window that the
// members register opens, read on the previewed pages.
#include "RegisterFixture.h"
#include "ReportTestKit.h"

#include "uikit/Messages.h"
#include "uikit/Today.h"
#include "controls/DBLookupComboBox.h"
#include "registers/UMembro.h"
#include "reports/base/ReportWindow.h"
#include "reports/cadastros/UFMembro.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QToolButton>
#include <QtTest>

namespace {

const QColor kCream(255, 251, 240);

struct Program : SignedInProgram
{
    Program() { Today::setForTests(QDate(2011, 5, 31)); }
    ~Program() { Today::setForTests(QDate()); }

    void member(int code, const QString &name, const QVariantList &more = {})
    {
        fx.db.exec("INSERT INTO TMEMBRO (MEMCODIGO, MEMNOME, MEMTELEFONERES, MEMEMAIL, MEMENDERECO, MEMCELULAR) "
                   "VALUES (?, ?, ?, ?, ?, ?)",
                   QVariantList{code, name} + (more.isEmpty() ? QVariantList{{}, {}, {}, {}} : more));
    }
    // The filter window shown over the members register, as its button shows it.
    std::unique_ptr<TFFMembro> filterOver(TFMembro *reg)
    {
        auto filter = std::make_unique<TFFMembro>(reg);
        filter->show();
        return filter;
    }
    static ReportRun make(TFFMembro *filter, int choice)
    {
        filter->RGMembros->findChild<QRadioButton *>(QStringLiteral("RGMembros%1").arg(choice))->click();
        return previewOpenedBy(filter->btnGerar);
    }
    static void choose(DBLookupComboBox *list, int index)
    {
        list->setFocus();
        for (int i = 0; i <= index; ++i)
            QTest::keyClick(list, Qt::Key_Down);
    }
};

} // namespace

class TestMemberReports : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        setUpTestProgram();
        Q_INIT_RESOURCE(resources);
    }

    void registerOpensTheFilterWithNothingChosen()
    {
        Program p;
        auto reg = p.open<TFMembro>();
        QString caption;
        QStringList choices;
        int checked = 0;
        whenModalOpens([&](QWidget *modal) {
            caption = modal->windowTitle();
            for (auto *radio : modal->findChildren<QRadioButton *>()) {
                choices << radio->text();
                checked += radio->isChecked() ? 1 : 0;
            }
            modal->close();
        });
        reg->btnRelatorio->click();
        QCOMPARE(caption, QStringLiteral("Filtro de Relatório de Membros"));
        QCOMPARE(choices, (QStringList{"LISTA DE MEMBROS DA IGREJA", "FICHA CADASTRAL DE MEMBRO"}));
        QCOMPARE(checked, 0);
        QCOMPARE(Program::captionsOpenedBy({[&] { QTest::keyClick(reg.get(), Qt::Key_P, Qt::ControlModifier); }}),
                 QStringList{"Filtro de Relatório de Membros"});
    }

    void listHoldsEveryStoredMemberSortedWhateverTheRegisterFilter()
    {
        Program p;
        p.member(1, "CARLOS", {"3333-0001", "carlos@igreja.org", "RUA C, 3", "9999-0001"});
        p.member(2, "ANA", {"3333-0002", "ana@igreja.org", "RUA A, 1", "9999-0002"});
        p.member(3, "BRUNO");
        auto reg = p.open<TFMembro>();
        reg->searchBox->setText("CAR"); // the register now shows CARLOS only
        DM->TBMEMBRO->insert();         // a member held in memory, never applied
        DM->TBMEMBROMEMCODIGO->setAsInteger(4);
        DM->TBMEMBROMEMNOME->setAsString("AAA SO NA MEMORIA");
        DM->TBMEMBRO->post();
        auto filter = p.filterOver(reg.get());
        QCOMPARE(filter->DBLookupComboBox1->count(), DM->TBMEMBRO->recordCount()); // follows the filter

        QVERIFY(filter->findChildren<ReportWindow *>().isEmpty());
        filter->btnGerar->click(); // nothing chosen: nothing happens
        QVERIFY(filter->findChildren<ReportWindow *>().isEmpty());

        const ReportRun run = Program::make(filter.get(), 0);
        QCOMPARE(run.pages().size(), 1);
        QCOMPARE(run.texts(0, "QRDBText1"), (QStringList{"ANA", "BRUNO", "CARLOS"}));
        QCOMPARE(run.texts(0, "QRDBText5"), (QStringList{"ana@igreja.org", "", "carlos@igreja.org"}));
        QCOMPARE(run.texts(0, "QRDBText7"), (QStringList{"9999-0002", "", "9999-0001"}));
        const PageItem *mobile = run.findItem(0, "QRDBText7");
        QCOMPARE(mobile->rect.right() + 1, 100 + 1891); // right-aligned at 189.1 mm from the band's edge
        QCOMPARE(mobile->font.family(), QStringLiteral("Arial"));
        QCOMPARE(mobile->font.pointSizeF(), 7.0);
        QCOMPARE(run.findItem(0, "QRDBText6")->rect.left(), 100 + 1132);
        QCOMPARE(run.findItem(0, "QRDBText1")->rect.top(), 100 + 325 + 10); // first row right below the title
        QCOMPARE(run.texts(0, "txtData"), QStringList{"31/05/2011"});
        QCOMPARE(run.texts(0, "QRLabel9"), QStringList{"Relatório Gerado Dia: "});
        QVERIFY(filter->isVisible()); // stays open for the next report

        // The shading goes on from where the last list left it.
        const QList<QColor> first = rowColours(run, 0, "QRDBText1");
        QCOMPARE(first.size(), 3);
        QVERIFY(first.at(0) != first.at(1) && first.at(0) == first.at(2));
        QVERIFY(first.contains(kCream));
        const QList<QColor> second = rowColours(Program::make(filter.get(), 0), 0, "QRDBText1");
        QCOMPARE(second.first(), first.at(1));
        QCOMPARE(filter->findChildren<ReportWindow *>().size(), 2); // one report window per request
    }

    void emptyListGivesTitleHeadingsAndFooter()
    {
        Program p;
        auto reg = p.open<TFMembro>();
        auto filter = p.filterOver(reg.get());
        const ReportRun run = Program::make(filter.get(), 0);
        QCOMPARE(run.pages().size(), 1);
        QCOMPARE(run.texts(0, "QRLabel1"), QStringList{"Relatório de Membros"});
        QCOMPARE(run.texts(0, "QRLabel3"), QStringList{"Endereço: "});
        QCOMPARE(run.texts(0, "QRLabel8"), QStringList{"Celular"});
        QVERIFY(run.texts(0, "QRDBText1").isEmpty());
        QCOMPARE(run.texts(0, "txtData"), QStringList{"31/05/2011"});
    }

    void sheetShowsTheChosenMemberAndPhotograph_data()
    {
        QTest::addColumn<QByteArray>("photo");
        QTest::addColumn<bool>("shown");
        QTest::newRow("jpeg") << pictureBytes(Qt::darkGreen, "JPG") << true;
        QTest::newRow("png") << pictureBytes(Qt::darkBlue, "PNG") << true;
        QTest::newRow("bmp") << pictureBytes(Qt::darkRed, "BMP") << true;
        QTest::newRow("no picture") << QByteArray("isto nao e uma imagem") << false;
    }
    void sheetShowsTheChosenMemberAndPhotograph()
    {
        QFETCH(QByteArray, photo);
        QFETCH(bool, shown);
        Program p;
        p.member(1, "ANA");
        p.member(2, "BRUNO");
        p.fx.db.exec("UPDATE TMEMBRO SET MEMCIDADE = 'RECIFE', MEMUF = 'PE', MEMDATANASC = '1980-02-29', "
                     "MEMFOTO = ? WHERE MEMCODIGO = 2", {photo});
        auto reg = p.open<TFMembro>();
        QCOMPARE(DM->TBMEMBROMEMNOME->asString(), QStringLiteral("ANA"));
        auto filter = p.filterOver(reg.get());
        Program::choose(filter->DBLookupComboBox1, 1);
        QCOMPARE(filter->DBLookupComboBox1->currentText(), QStringLiteral("BRUNO"));

        const ReportRun run = Program::make(filter.get(), 1);
        QCOMPARE(run.pages().size(), 1);
        QCOMPARE(run.texts(0, "QRDBText1"), QStringList{"BRUNO"});
        QCOMPARE(run.texts(0, "QRDBText3"), QStringList{"RECIFE"});
        QCOMPARE(run.texts(0, "QRDBText4"), QStringList{"PE"});
        QCOMPARE(run.texts(0, "QRDBText10"), QStringList{"29/02/1980"});
        const PageItem *uf = run.findItem(0, "QRLabel5");
        QCOMPARE(uf->text, QStringLiteral("UF: "));
        QCOMPARE(uf->rect.topLeft(), QPoint(100 + 614, 100 + 378));
        QCOMPARE(run.findItem(0, "QRDBText4")->rect.left(), uf->rect.right() + 1); // just right of its label
        QCOMPARE(run.findItem(0, "QRShape1")->rect, QRect(100 + 1477, 100 + 225, 407, 5));
        QCOMPARE(run.findItem(0, "QRShape4")->rect, QRect(100 + 1879, 100 + 225, 5, 407));
        const PageItem *image = run.findItem(0, "QRDBImage1");
        QCOMPARE(image != nullptr, shown);
        if (shown) {
            QVERIFY(QRect(100 + 1482, 100 + 230, 397, 397).contains(image->rect));
            QCOMPARE(image->rect.width(), 397); // 4:3 picture fills the frame's width
        }
        filter->close();
        QCOMPARE(DM->TBMEMBROMEMNOME->asString(), QStringLiteral("BRUNO")); // stays current in the register
    }

    void sheetWithoutCurrentMemberPrintsEmptyValues()
    {
        Program p;
        p.member(1, "ANA");
        p.fx.db.exec("UPDATE TMEMBRO SET MEMFOTO = ? WHERE MEMCODIGO = 1", {pictureBytes(Qt::red, "PNG")});
        auto reg = p.open<TFMembro>();
        reg->searchBox->setText("NINGUEM"); // hides every member
        auto filter = p.filterOver(reg.get());
        QCOMPARE(filter->DBLookupComboBox1->count(), 0);
        const ReportRun run = Program::make(filter.get(), 1);
        QCOMPARE(run.pages().size(), 1);
        QCOMPARE(run.texts(0, "QRLabel2"), QStringList{"Nome: "});
        QCOMPARE(run.texts(0, "QRDBText1"), QStringList{""});
        QVERIFY(!run.findItem(0, "QRDBImage1"));
        QVERIFY(run.findItem(0, "QRShape3"));
    }
};

QTEST_MAIN(TestMemberReports)
#include "tst_memberreports.moc"
