// "Letra grande": each list report on landscape pages, its rows in 14
// points, every text clear of the others however long it is.
#include "RegisterFixture.h"
#include "ReportTestKit.h"

#include "registers/UEvento.h"
#include "registers/UFuncionario.h"
#include "registers/UMembro.h"
#include "reports/cadastros/UFAniversariantes.h"
#include "reports/cadastros/UFEvento.h"
#include "reports/cadastros/UFMembro.h"
#include "reports/caixa/UFDizimistas.h"
#include "datamodule/ChurchData.h"
#include "uikit/Appearance.h"
#include "uikit/Today.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QToolButton>
#include <QtTest>

namespace {

// As long as their columns hold.
const QString kLongName = QStringLiteral("MARIA APARECIDA DOS SANTOS FERREIRA DE OLIVEIRA SÁ");
const QString kLongAddress = QStringLiteral("RUA DOUTOR JOSÉ BONIFÁCIO DE ANDRADA E SILVA, 1234");

// A church with enough of everything for two landscape pages of each list.
struct Church : SignedInProgram
{
    Church()
    {
        Today::setForTests(QDate(2011, 5, 31));
        ChurchData::store({{ParameterCode::ChurchName, "IGREJA EVANGÉLICA BOAS NOVAS"},
                           {ParameterCode::Cnpj, "11.222.333/0001-81"},
                           {ParameterCode::Address, "Rua das Flores, 123 - Centro"},
                           {ParameterCode::CityState, "Campinas/SP"}});
        fx.db.exec("INSERT INTO TCARGO (CARCODIGO, CARDESCRICAO, CARSALARIO) VALUES (1, 'SECRETÁRIA DA IGREJA', 0)");
        fx.db.exec("INSERT INTO TLIVRO (LIVCODIGO, LIVMES, LIVNOMEMES, LIVANO, LIVDESCRICAO) VALUES (1, 5, 'Maio', 2011, 'MAIO')");
        for (int i = 1; i <= 30; ++i) {
            const QString name = i % 3 ? QStringLiteral("JOÃO %1").arg(i) : kLongName;
            fx.db.exec("INSERT INTO TMEMBRO (MEMCODIGO, MEMNOME, MEMTELEFONERES, MEMEMAIL, MEMENDERECO, MEMCELULAR, "
                       "MEMDATANASC) VALUES (?, ?, '(19) 3232-4545', 'maria.oliveira@igreja.org', ?, '(19) 99876-5432', ?)",
                       {i, name, kLongAddress, QDate(1950 + i, 5, 1 + i % 28)});
            fx.db.exec("INSERT INTO TFUNCIONARIO (FUNCODIGO, FUNNOME, FUNCARGO, FUNSALARIO, FUNTELEFONERES, FUNEMAIL, "
                       "FUNENDERECO) VALUES (?, ?, 1, 12345.67, '1932324545', 'secretaria@igreja.org', ?)",
                       {i, name, kLongAddress});
            fx.db.exec("INSERT INTO TEVENTO (EVECODIGO, EVEDESCRICAO, EVEDATA, EVEHORA, EVEMINUTOS, EVEFUNCIONARIO) "
                       "VALUES (?, ?, ?, 19, 30, ?)",
                       {i, QStringLiteral("CULTO DE AÇÃO DE GRAÇAS COM A PARTICIPAÇÃO DO CORAL ") + name,
                        QDate(2011, 5, 1 + i % 28), i});
            if (i % 2)
                fx.db.exec("INSERT INTO TMOVIMETACOES (MOVCODIGO, MOVDESCRICAO, MOVLIVRO, MOVVALOR, MOVDEBITOCREDITO, "
                           "MOVDATA, MOVMEMBRO, MOVDOCUMENTO) VALUES (?, 'DÍZIMO DO MÊS DE MAIO', 1, 1234.5, 'ENTRADA', ?, ?, "
                           "'ENVELOPE 1234')",
                           {i, QDate(2011, 5, 10), i});
        }
    }
    ~Church() { Today::setForTests(QDate()); }
};

using Make = std::function<ReportRun(Church &)>;

// A filter window of `Filter` over `owner`, its "Letra grande" checked.
template <typename Filter> std::unique_ptr<Filter> largeFilter(QWidget *owner)
{
    auto filter = std::make_unique<Filter>(owner);
    filter->show();
    filter->chkLetraGrande->setChecked(true);
    return filter;
}

bool overlap(const PageItem &a, const PageItem &b)
{
    return a.rect.intersects(b.rect) && !a.text.isEmpty() && !b.text.isEmpty();
}

} // namespace

Q_DECLARE_METATYPE(Make)

class TestLargePrint : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        setUpTestProgram();
        Q_INIT_RESOURCE(resources);
    }
    void cleanup() { Appearance::apply(Appearance::TextSize::Normal); }

    void everyListInLargeLetters_data()
    {
        QTest::addColumn<Make>("make");
        QTest::addColumn<QString>("rowElement"); // a text of every detail row
        QTest::newRow("membros") << Make([](Church &p) {
            auto reg = p.open<TFMembro>();
            auto filter = largeFilter<TFFMembro>(reg.get());
            filter->RGMembros->findChild<QRadioButton *>(QStringLiteral("RGMembros0"))->click();
            return previewOpenedBy(filter->btnGerar);
        }) << "QRDBText1";
        QTest::newRow("funcionários") << Make([](Church &p) {
            Appearance::apply(Appearance::TextSize::Large); // no filter: the screen's size says
            auto reg = p.open<TFFuncionario>();
            return previewOpenedBy(reg->btnRelatorio);
        }) << "QRDBText1";
        QTest::newRow("eventos") << Make([](Church &p) {
            auto reg = p.open<TFEvento>();
            auto filter = largeFilter<TFFEvento>(reg.get());
            filter->txtDataInicial->setText("01/05/2011");
            filter->txtDataFinal->setText("31/05/2011");
            return previewOpenedBy(filter->btnRelatorio);
        }) << "QRDBText1";
        QTest::newRow("aniversariantes") << Make([](Church &p) {
            auto filter = largeFilter<TFFAniversariantes>(p.menu);
            return previewOpenedBy(filter->btnGerar);
        }) << "QRDBText1";
        QTest::newRow("dizimistas") << Make([](Church &p) {
            auto filter = largeFilter<TFFDizimistas>(p.menu);
            filter->txtDataInicial->setText("01/05/2011");
            filter->txtDataFinal->setText("31/05/2011");
            return previewOpenedBy(filter->btnGerar);
        }) << "txtDescricao";
    }

    void everyListInLargeLetters()
    {
        QFETCH(Make, make);
        QFETCH(QString, rowElement);
        Church p;
        const ReportRun run = make(p);
        QVERIFY(run.pages().size() >= 2);
        QCOMPARE(run.pageSize(), QSize(2970, 2100));
        int rows = 0;
        for (int page = 0; page < run.pages().size(); ++page) {
            const QList<PageItem> &items = run.pages().at(page).items;
            for (qsizetype i = 0; i < items.size(); ++i) {
                const PageItem &a = items.at(i);
                if (a.kind != PageItem::Text)
                    continue;
                const QString where = QStringLiteral("página %1, %2 \"%3\"").arg(page + 1).arg(a.elementName, a.text);
                QVERIFY2(a.rect.left() >= 100 && a.rect.right() < 2870 && a.rect.bottom() < 2000, qPrintable(where));
                QVERIFY2(a.font.pointSizeF() >= 14, qPrintable(where));
                if (a.elementName == rowElement) {
                    ++rows;
                    QVERIFY2(a.font.pointSizeF() == 14 || a.font.bold(), qPrintable(where));
                }
                for (qsizetype j = i + 1; j < items.size(); ++j)
                    if (items.at(j).kind == PageItem::Text)
                        QVERIFY2(!overlap(a, items.at(j)), qPrintable(where + " sobre " + items.at(j).elementName));
            }
        }
        QVERIFY(rows >= 15);
    }

    // A number right-aligned in its column (the age) ends under its heading,
    // not at the next column.
    void numbersStayUnderTheirHeadings()
    {
        Church p;
        auto filter = largeFilter<TFFAniversariantes>(p.menu);
        const ReportRun run = previewOpenedBy(filter->btnGerar);
        const PageItem *heading = run.findItem(0, "QRLabel6");
        const PageItem *age = run.findItem(0, "txtIdade");
        QVERIFY(heading && age);
        QVERIFY(age->rect.right() > heading->rect.left() && age->rect.right() <= heading->rect.right() + 50);
    }
};

QTEST_MAIN(TestLargePrint)
#include "tst_largeprint.moc"
