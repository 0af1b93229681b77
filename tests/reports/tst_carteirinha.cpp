// Membership cards from the members register, read on the previewed pages:
// ten to a page, the texts of each card, the photograph's frame and the size
// its picture is kept at, and which members print.
#include "RegisterFixture.h"
#include "ReportTestKit.h"

#include "uikit/Messages.h"
#include "uikit/Today.h"
#include "registers/UMembro.h"
#include "reports/cadastros/URCarteirinha.h"

#include <QLineEdit>
#include <QToolButton>
#include <QtTest>
#include <cmath>

namespace {

const QDate kToday(2011, 5, 31);
const int kLeft = 194, kTop = 135; // the cards' grid on the page, centred

struct Program : SignedInProgram
{
    Program() { Today::setForTests(kToday); }
    ~Program() { Today::setForTests(QDate()); }

    void member(int code, const QString &name, const QVariant &conversion = QVariant(QMetaType::fromType<QDate>()),
                const QByteArray &photo = {})
    {
        fx.db.exec("INSERT INTO TMEMBRO (MEMCODIGO, MEMNOME, MEMDATACONVERSAO, MEMFOTO) VALUES (?, ?, ?, ?)",
                   {code, name, conversion, photo.isNull() ? QVariant(QMetaType::fromType<QByteArray>()) : photo});
    }
    void church(const QString &name)
    {
        fx.db.exec("INSERT INTO TPARAMETROS (PARCODIGO, PARVALOR) VALUES (1, ?)", {name});
    }
    // The cards the button previews, the question answered with `every`.
    ReportRun cards(TFMembro *reg, bool every, int *questions = nullptr)
    {
        Messages::Recorder recorder;
        recorder.answers = {every};
        ReportRun run = previewOpenedBy(reg->btnCarteirinha);
        if (questions)
            *questions = int(std::count_if(recorder.shown.cbegin(), recorder.shown.cend(), [](const Messages::Shown &s) {
                return s.kind == Messages::Shown::Question
                    && s.text == "Imprimir as carteirinhas de todos os membros listados?";
            }));
        return run;
    }
};

QByteArray photo(int width, int height, const char *format = "JPG")
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(QColor(180, 120, 90));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

QList<const PageItem *> itemsNamed(const ReportRun &run, int page, const QString &name)
{
    QList<const PageItem *> found;
    for (const PageItem &item : run.pages().at(page).items)
        if (item.elementName == name)
            found << &item;
    return found;
}

} // namespace

class TestCarteirinha : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        setUpTestProgram();
        Q_INIT_RESOURCE(resources);
    }

    void tenCardsToAPageInTwoColumnsWithCuttingMarks()
    {
        Program p;
        p.church("IGREJA BATISTA CENTRAL");
        for (int code = 1; code <= 11; ++code)
            p.member(code, QString("MEMBRO %1").arg(code, 2, 10, QChar('0')), QDate(2000, 1, code));
        auto reg = p.open<TFMembro>();
        QCOMPARE(reg->btnCarteirinha->text(), QString("Carteirinha"));
        int questions = 0;
        const ReportRun run = p.cards(reg.get(), true, &questions);
        QCOMPARE(questions, 1);

        QCOMPARE(run.pages().size(), 2);
        QCOMPARE(run.texts(0, "txtNome1"), (QStringList{"MEMBRO 01", "MEMBRO 03", "MEMBRO 05", "MEMBRO 07", "MEMBRO 09"}));
        QCOMPARE(run.texts(0, "txtNome2"), (QStringList{"MEMBRO 02", "MEMBRO 04", "MEMBRO 06", "MEMBRO 08", "MEMBRO 10"}));
        QCOMPARE(run.texts(0, "txtCodigo1"), (QStringList{"1", "3", "5", "7", "9"}));
        QCOMPARE(run.texts(0, "txtConversao2"),
                 (QStringList{"02/01/2000", "04/01/2000", "06/01/2000", "08/01/2000", "10/01/2000"}));
        QCOMPARE(run.texts(0, "txtEmissao1"), QStringList(5, "31/05/2011"));
        QCOMPARE(run.texts(0, "txtIgreja2"), QStringList(5, "IGREJA BATISTA CENTRAL"));
        // The last page: one card on the left, nothing of a card on the right.
        QCOMPARE(run.texts(1, "txtNome1"), QStringList{"MEMBRO 11"});
        for (const char *right : {"txtNome2", "txtIgreja2", "shpCartao2", "shpMoldura2", "lblNome2"})
            QVERIFY2(itemsNamed(run, 1, right).isEmpty(), right);

        // Credit-card size, side by side and edge to edge, centred on the page.
        QList<QRect> cards;
        for (const char *name : {"shpCartao1", "shpCartao2"})
            for (const PageItem *item : itemsNamed(run, 0, name))
                cards << item->rect;
        QCOMPARE(cards.size(), 10);
        for (int i = 0; i < 10; ++i)
            QCOMPARE(cards.at(i), QRect(kLeft + (i / 5) * 856, kTop + (i % 5) * 540, 856, 540));
        // Cutting marks lie in the margins only, on the lines between the cards.
        const QRect grid(kLeft, kTop, 2 * 856, 5 * 540);
        int marks = 0;
        for (const PageItem &item : run.pages().at(0).items) {
            if (!item.elementName.startsWith("shpCorte"))
                continue;
            ++marks;
            QVERIFY2(!item.rect.intersects(grid.adjusted(1, 1, -1, -1)), qPrintable(item.elementName));
            const bool onAColumnLine = (item.rect.left() - kLeft) % 856 == 0 && item.rect.width() == 1;
            const bool onARowLine = (item.rect.top() - kTop) % 540 == 0 && item.rect.height() == 1;
            QVERIFY2(onAColumnLine || onARowLine, qPrintable(item.elementName));
        }
        QCOMPARE(marks, 5 * 4 + 2 * 3); // beside every row's edges; above and below the three vertical cuts
    }

    // One line centred in the strip, or two for a long name, never below it.
    void churchNameCentredInItsStrip_data()
    {
        QTest::addColumn<QString>("church");
        QTest::addColumn<int>("lines");
        QTest::newRow("short") << "IGREJA BATISTA" << 1;
        QTest::newRow("long") << "PRIMEIRA IGREJA EVANGÉLICA ASSEMBLEIA DE DEUS DO BAIRRO SÃO JOÃO BATISTA" << 2;
    }

    void churchNameCentredInItsStrip()
    {
        QFETCH(QString, church);
        QFETCH(int, lines);
        Program p;
        p.church(church);
        p.member(1, "ANA");
        auto reg = p.open<TFMembro>();
        const ReportRun run = p.cards(reg.get(), true);
        const PageItem *name = run.findItem(0, "txtIgreja1");
        const PageItem *strip = run.findItem(0, "shpFaixa1");
        QVERIFY(name && strip);
        QCOMPARE(name->text, church);
        QVERIFY(strip->rect.contains(name->rect));
        // centred, to a tenth of a millimetre
        QVERIFY(qAbs((name->rect.top() - strip->rect.top()) - (strip->rect.bottom() - name->rect.bottom())) <= 1);
        QCOMPARE(name->rect.height(), int(std::ceil(TextMeasure::linesHeight(name->font, lines))));
    }

    void photographDecodedAtItsPrintSizeInItsFrame()
    {
        Program p;
        p.member(1, "COM FOTO", {}, photo(2400, 3200));
        p.member(2, "SEM FOTO");
        p.member(3, "ARQUIVO QUE NÃO É IMAGEM", {}, QByteArray("isto não é uma imagem"));
        auto reg = p.open<TFMembro>();
        const ReportRun run = p.cards(reg.get(), true);

        const QList<const PageItem *> frames = itemsNamed(run, 0, "shpMoldura1") + itemsNamed(run, 0, "shpMoldura2");
        QCOMPARE(frames.size(), 3); // every card has its frame, empty or not
        const QList<const PageItem *> photos = itemsNamed(run, 0, "imgFoto1") + itemsNamed(run, 0, "imgFoto2");
        QCOMPARE(photos.size(), 1);
        const PageItem *image = photos.first();
        QVERIFY(frames.first()->rect.contains(image->rect));
        QCOMPARE(image->rect.height(), frames.first()->rect.height()); // 3 by 4: it fills the frame's height
        QCOMPARE(run.images().size(), 1);
        const QSize kept = run.images().first().size();
        QVERIFY2(kept.width() <= 148 && kept.height() <= 197, qPrintable(QString("%1x%2").arg(kept.width()).arg(kept.height())));
        QVERIFY(kept.height() >= 190); // not smaller than it prints, either
    }

    void picturesAreNeverKeptLargerThanTheyPrint_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QSize>("kept");
        QTest::newRow("large photograph, portrait") << photo(3000, 4000) << QSize(147, 196);
        QTest::newRow("large photograph, landscape") << photo(4000, 3000) << QSize(147, 110);
        QTest::newRow("a bitmap") << photo(1200, 1600, "BMP") << QSize(147, 196);
        QTest::newRow("small picture stays as it is") << photo(60, 80, "PNG") << QSize(60, 80);
        QTest::newRow("no picture") << QByteArray("GIF89a, mas não") << QSize();
    }

    void picturesAreNeverKeptLargerThanTheyPrint()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QSize, kept);
        const QImage image = TFRCarteirinha::pictureForPrint(bytes, TFRCarteirinha::kPhotoFrame.size());
        QCOMPARE(image.size(), kept.isValid() ? kept : QSize(0, 0));
        if (!image.isNull())
            QVERIFY(qAbs(image.pixelColor(image.width() / 2, image.height() / 2).red() - 180) <= 3);
    }

    void currentMemberOrEveryListedOneAndTheCurrentStays()
    {
        Program p;
        p.member(1, "ANA SILVA");
        p.member(2, "BRUNO COSTA");
        p.member(3, "CARLA SILVEIRA");
        p.member(4, "DAVI SILVA");
        auto reg = p.open<TFMembro>();
        QVERIFY(DM->TBMEMBRO->locate("MEMCODIGO", {3}));

        ReportRun run = p.cards(reg.get(), false);
        QCOMPARE(run.texts(0, "txtNome1") + run.texts(0, "txtNome2"), QStringList{"CARLA SILVEIRA"});

        reg->btnConsultarClick();
        QTest::keyClicks(reg->searchBox, "SILV");
        QVERIFY(DM->TBMEMBRO->locate("MEMCODIGO", {4}));
        run = p.cards(reg.get(), true);
        QCOMPARE(run.texts(0, "txtNome1"), (QStringList{"ANA SILVA", "DAVI SILVA"}));
        QCOMPARE(run.texts(0, "txtNome2"), QStringList{"CARLA SILVEIRA"});
        QCOMPARE(DM->TBMEMBROMEMCODIGO->asInteger(), 4); // the register still shows the member it showed

        reg->searchBox->setText("BRUNO"); // one member listed: no question
        int questions = -1;
        run = p.cards(reg.get(), true, &questions);
        QCOMPARE(questions, 0);
        QCOMPARE(run.texts(0, "txtNome1"), QStringList{"BRUNO COSTA"});
    }

    void noMemberListedSaysSoAndPrintsNothing()
    {
        Program p;
        p.member(1, "ANA SILVA");
        auto reg = p.open<TFMembro>();
        reg->btnConsultarClick();
        QTest::keyClicks(reg->searchBox, "ZZZ");
        Messages::Recorder recorder;
        reg->btnCarteirinha->click();
        QCOMPARE(recorder.texts(), QStringList{"Não há membro listado para imprimir a carteirinha."});
        QVERIFY(reg->findChildren<TFRCarteirinha *>().isEmpty());
    }
};

QTEST_MAIN(TestCarteirinha)
#include "tst_carteirinha.moc"
