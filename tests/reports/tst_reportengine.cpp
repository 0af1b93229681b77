// The band engine on tables held in memory: it knows datasets only.
#include "EngineTables.h"
#include "TestKit.h"

#include "dataset/Win1252.h"
#include "reports/engine/PdfWriter.h"
#include "reports/engine/Report.h"
#include "reports/engine/TrueTypeFont.h"

#include <QBuffer>
#include <QPainter>
#include <QPainterPath>
#include <QProcess>
#include <QRawFont>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

namespace {

int codeOf(const Dataset &table)
{
    return table.isEmpty() ? 0 : table.fieldByName("CARCODIGO")->asInteger();
}

// Page header 20 mm, detail 10 mm, page footer 27 mm: 23 details fit a page
// exactly (100 + 200 + 23 * 100 = 2870 - 270).
struct PositionsReport
{
    explicit PositionsReport(int rows) : positions(positionsTable(rows)), table(positions->dataset())
    {
        report.dataset = table;
        report.onStart = [this] { log << "start"; count = 0; };
        Band *header = report.addBand(Band::Kind::PageHeader, "QRBand1", 200);
        header->addLabel("QRLabel1", QRect(0, 0, 1900, 60), "Cargos")->alignment = Qt::AlignHCenter;
        header->beforePrint = [this](Band &) { log << QString("header %1").arg(codeOf(*table)); };
        Band *detail = report.addBand(Band::Kind::Detail, "QRBand2", 100);
        detail->addDataText("QRDBText1", QRect(50, 10, 300, 50), "CARCODIGO");
        detail->addDataText("QRDBText2", QRect(400, 10, 800, 50), "CARDESCRICAO");
        detail->addLabel("QRLabel2", QRect(1300, 10, 200, 50), "0");
        detail->beforePrint = [this](Band &band) {
            log << QString("detail %1").arg(codeOf(*table));
            report.element<LabelElement>("QRLabel2")->caption = QString::number(++count);
            band.background = count % 2 ? QColor(255, 251, 240) : QColor(Qt::white);
        };
        Band *footer = report.addBand(Band::Kind::PageFooter, "QRBand3", 270);
        footer->addLabel("txtData", QRect(1500, 20, 300, 50), "31/12/2009");
        footer->beforePrint = [this](Band &) {
            log << QString("footer %1%2").arg(codeOf(*table)).arg(table->eof() ? " eof" : "");
        };
    }

    std::unique_ptr<MemoryTable> positions;
    TableDataset *table;
    Report report;
    QStringList log;
    int count = 0;
};

QStringList range(const QString &prefix, int from, int to)
{
    QStringList result;
    for (int i = from; i <= to; ++i)
        result << prefix.arg(i);
    return result;
}

int pdfPageCount(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    return int(QString::fromLatin1(file.readAll()).count(QRegularExpression("/Type\\s*/Page(?!s)")));
}

// The first page of a PDF as poppler draws it at `dpi`, and its text.
QImage pdfPage(const QString &pdf, int dpi)
{
    QProcess::execute("pdftoppm", {"-r", QString::number(dpi), "-f", "1", "-l", "1", "-png", "-singlefile", pdf, pdf});
    return QImage(pdf + ".png").convertToFormat(QImage::Format_RGB32);
}

// The first page of an A4 run as the preview paints it at `dpi`.
QImage previewPage(const ReportRun &run, int dpi)
{
    QImage page(qRound(2100 * dpi / 254.0), qRound(2970 * dpi / 254.0), QImage::Format_RGB32);
    page.fill(Qt::white);
    QPainter painter(&page);
    paintPage(painter, run.pages().at(0), run.images(), dpi / 254.0);
    return page;
}

QString pdfText(const QString &pdf, const QStringList &options = {})
{
    QProcess p;
    p.start("pdftotext", options + QStringList{"-enc", "UTF-8", pdf, "-"});
    p.waitForFinished();
    return QString::fromUtf8(p.readAllStandardOutput()).simplified();
}

// Share of pixels that differ clearly between two pictures of one size.
double differingShare(const QImage &a, const QImage &b)
{
    if (a.size() != b.size())
        return 1;
    qint64 differing = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            if (std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q)) > 150)
                ++differing;
        }
    return double(differing) / (a.width() * a.height());
}

// What pdffonts says of each font of a PDF: "name type emb sub".
QStringList pdfFonts(const QString &pdf)
{
    QProcess p;
    p.start("pdffonts", {pdf});
    p.waitForFinished();
    QStringList fonts;
    for (const QString &line : QString::fromUtf8(p.readAllStandardOutput()).split('\n').mid(2)) {
        const QStringList words = line.simplified().split(' ');
        if (words.size() >= 7)
            fonts << QStringList{words[0], words[1] + ' ' + words[2], words[3], words[4]}.join(' ');
    }
    return fonts;
}

std::optional<TrueTypeFont> tablesOf(const QRawFont &font)
{
    return TrueTypeFont::read([&](const char *tag) { return font.fontTable(tag); });
}

// Every character of WIN1252 that a text can hold, from the space on.
QString win1252Characters()
{
    QString all;
    for (int code = 32; code < 256; ++code) {
        const char byte = char(code);
        const QString c = Win1252::decode(&byte, 1);
        if (code != 0x7F && Win1252::byteOf(c.at(0)) == code)
            all += c;
    }
    return all;
}

// The share of ink (dark pixels) of `cell` in `page`.
double inkIn(const QImage &page, const QRect &cell)
{
    qint64 ink = 0;
    for (int y = cell.top(); y <= cell.bottom(); ++y)
        for (int x = cell.left(); x <= cell.right(); ++x)
            ink += 255 - qGray(page.pixel(x, y));
    return double(ink) / (255.0 * cell.width() * cell.height());
}

// A page with what reports draw: texts with accents, aligned, wrapped and
// cut, a box, a rule, a filled band and a photograph.
struct SamplePage
{
    explicit SamplePage(const QString &extra = {})
    {
        QImage photo(120, 80, QImage::Format_RGB32);
        photo.fill(Qt::blue);
        for (int y = 0; y < 80; ++y)
            for (int x = 0; x < 60; ++x)
                photo.setPixel(x, y, y < 40 ? qRgb(220, 0, 0) : qRgb(0, 200, 0)); // red over green, blue beside
        QByteArray jpeg;
        QBuffer buffer(&jpeg);
        buffer.open(QIODevice::WriteOnly);
        photo.save(&buffer, "JPG", 95);
        members = membersTable({{"JOÃO", jpeg}});
        report.dataset = members->dataset();
        Band *detail = report.addBand(Band::Kind::Detail, "QRBand1", 1500);
        detail->background = QColor(255, 251, 240);
        auto *title = detail->addLabel("QRLabel1", QRect(0, 0, 1900, 80), "Relatório de Membros — Ação" + extra);
        title->alignment = Qt::AlignHCenter;
        title->font = {QString(), 14, true, Qt::black};
        detail->addLabel("QRLabel2", QRect(1200, 150, 600, 60), "R$ 1.234,56")->alignment = Qt::AlignRight;
        auto *wrapped = detail->addLabel("QRLabel3", QRect(0, 300, 700, 400),
                                         "Conceição das Graças, rua da Consolação 1234, apartamento 56, "
                                         "bairro da Liberdade, São Paulo");
        wrapped->wordWrap = true;
        detail->addLabel("QRLabel4", QRect(900, 300, 250, 60), "UM TEXTO LONGO DEMAIS PARA A CAIXA");
        detail->addShape("QRShape1", QRect(0, 250, 1900, 1));
        detail->addShape("QRShape2", QRect(850, 800, 700, 300));
        report.element<ShapeElement>("QRShape2")->pen = Qt::red;
        detail->add<DataImageElement>("QRDBImage1", QRect(1300, 400, 500, 500))->column = "MEMFOTO";
    }
    std::unique_ptr<MemoryTable> members;
    Report report;
};

// A saved report as the first version of the file format wrote it: one page
// with a text and a picture of one colour.
void writeVersionOneFile(const QString &path, const QString &text, const QColor &colour)
{
    QImage picture(4, 4, QImage::Format_RGB32);
    picture.fill(colour);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(path));
    QDataStream out(&file);
    out.setVersion(QDataStream::Qt_6_0);
    out << quint32(0x4b524c31) << qint32(1) << QSize(2100, 2970) << QList<QImage>{picture} << qint32(1) << qint32(2);
    out << qint32(PageItem::Text) << QString("QRLabel1") << QRect(100, 100, 500, 50) << text << QFont("Arial")
        << QColor(Qt::black) << QColor(Qt::transparent) << qint32(0) << qint32(-1);
    out << qint32(PageItem::Image) << QString("QRDBImage1") << QRect(100, 200, 400, 400) << QString() << QFont()
        << QColor(Qt::transparent) << QColor(Qt::transparent) << qint32(0) << qint32(0);
}

} // namespace

class TestReportEngine : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { setUpTestProgram(); }

    void pageBreakOrderAndLastRow()
    {
        PositionsReport r(30);
        const ReportRun run = r.report.run();

        QStringList expected{"start", "header 1"};
        expected << range("detail %1", 1, 24) << "footer 24" << "header 24" << range("detail %1", 25, 30)
                 << "footer 30 eof";
        QCOMPARE(r.log, expected);
        QCOMPARE(run.pages().size(), 2);
        QCOMPARE(run.texts(0, "QRDBText1"), range("%1", 1, 23));
        QCOMPARE(run.texts(1, "QRDBText1"), range("%1", 24, 30));
        QCOMPARE(run.texts(1, "QRLabel2").first(), "24"); // the caption set by its own handler
        QCOMPARE(run.texts(1, "QRLabel1"), QStringList{"Cargos"});

        // after the run the table is at its end and still reads its last row
        QVERIFY(r.table->eof());
        QCOMPARE(r.table->fieldByName("CARCODIGO")->asInteger(), 30);
        QCOMPARE(r.table->fieldByName("CARDESCRICAO")->displayText(), "CARGO 30");
    }

    void exactFitAndEmptyReports()
    {
        {
            PositionsReport r(23);
            const ReportRun run = r.report.run();
            QCOMPARE(run.pages().size(), 1);
            QCOMPARE(r.log.last(), "footer 23 eof");
            QCOMPARE(r.log.count("header 1"), 1);
        }
        {
            PositionsReport r(24);
            const ReportRun run = r.report.run();
            QCOMPARE(run.pages().size(), 2);
            QCOMPARE(run.texts(1, "QRDBText1"), QStringList{"24"});
        }
        {
            PositionsReport r(0);
            const ReportRun run = r.report.run();
            QCOMPARE(r.log, (QStringList{"start", "header 0", "footer 0 eof"}));
            QCOMPARE(run.pages().size(), 1);
            QCOMPARE(run.texts(0, "QRLabel1"), QStringList{"Cargos"});
            QCOMPARE(run.texts(0, "txtData"), QStringList{"31/12/2009"});
            QVERIFY(run.texts(0, "QRDBText1").isEmpty());

            r.report.printIfEmpty = false;
            QVERIFY(r.report.run().pages().isEmpty());
        }
    }

    // A detail that wants room below it starts the next page when the room
    // is not left, unless it is the first on its page (it could never fit).
    void keepWithNextStartsANewPage()
    {
        for (const auto &[wanting, room, firstOfPage2] : {std::tuple{23, 100, 23}, std::tuple{23, 0, 24},
                                                          std::tuple{22, 100, 24}, std::tuple{1, 5000, 24}}) {
            PositionsReport r(24);
            Band *detail = r.report.bandOf(Band::Kind::Detail);
            detail->beforePrint = [&, wanting = wanting, room = room](Band &band) {
                band.keepWithNext = codeOf(*r.table) == wanting ? room : 0;
            };
            const ReportRun run = r.report.run();
            QCOMPARE(run.pages().size(), 2);
            QCOMPARE(run.texts(1, "QRDBText1").first(), QString::number(firstOfPage2));
        }
    }

    // A wrapped text's rectangle, as tall as linesHeight says, holds its last
    // line whole however many lines it wraps to.
    void linesHeightHoldsTheLastLine()
    {
        const QFont font = TextMeasure::layoutFont("Arial", 8, false);
        const QString words = QString("PALAVRA ").repeated(300);
        for (const int width : {4000, 1000, 400, 200}) {
            const QList<TextMeasure::TextLine> lines = TextMeasure::lines(font, words, width, Qt::TextWordWrap);
            const qreal bottom = lines.last().baseline.y() + TextMeasure::lineHeight(font) - TextMeasure::ascent(font);
            QVERIFY(lines.size() > 1);
            QVERIFY(qAbs(TextMeasure::linesHeight(font, lines.size()) - bottom) < 0.5); // a twentieth of a millimetre
        }
    }

    void secondRunStartsAfresh()
    {
        PositionsReport r(30);
        const ReportRun first = r.report.run();
        const QStringList firstLog = r.log;
        r.log.clear();
        r.table->moveTo(5); // wherever the table was left
        const ReportRun second = r.report.run();
        QCOMPARE(r.log, firstLog);
        QCOMPARE(second.pages().size(), first.pages().size());
        for (int page = 0; page < first.pages().size(); ++page) {
            QCOMPARE(second.texts(page, "QRLabel2"), first.texts(page, "QRLabel2"));
            QCOMPARE(second.pages().at(page).items.size(), first.pages().at(page).items.size());
        }
    }

    void positionsColoursAndSizesInTenthsOfMm()
    {
        PositionsReport r(30);
        Element *code = r.report.findElement("QRDBText1");
        code->autoSize = true;
        code->alignment = Qt::AlignRight;
        auto *rule = r.report.band("QRBand3")->addShape("QRShape1", QRect(0, 0, 1900, 1));
        rule->pen = Qt::red;
        const ReportRun run = r.report.run();
        QCOMPARE(run.pageSize(), QSize(2100, 2970));

        const PageItem *title = run.findItem(0, "QRLabel1");
        QCOMPARE(title->rect, QRect(100, 100, 1900, 60));
        QCOMPARE(title->font.family(), "Arial");
        QCOMPARE(title->font.pointSizeF(), 10.0);

        // a right-aligned autosized text keeps its right edge and takes its text's width
        const PageItem *first = run.findItem(0, "QRDBText1");
        QCOMPARE(first->text, "1");
        QCOMPARE(first->rect.right(), 100 + 50 + 300 - 1);
        QCOMPARE(first->rect.top(), 100 + 200 + 10);
        QVERIFY(first->rect.width() > 5 && first->rect.width() < 40); // one digit at 10 points: about 2 mm
        QVERIFY(first->flags & Qt::AlignRight);

        // the first row of page 2 sits right under that page's header
        QCOMPARE(run.findItem(1, "QRDBText1")->rect.top(), 310);
        // footer at the bottom margin, its rule drawn in the handler's colour
        QCOMPARE(run.findItem(0, "txtData")->rect.topLeft(), QPoint(1600, 2970 - 100 - 270 + 20));
        const PageItem *ruleItem = run.findItem(1, "QRShape1");
        QCOMPARE(ruleItem->kind, PageItem::Rect);
        QCOMPARE(ruleItem->rect, QRect(100, 2600, 1900, 1));
        QCOMPARE(ruleItem->colour, QColor(Qt::red));

        // the cream rows lay a band-wide fill under their elements
        int fills = 0;
        for (const PageItem &item : run.pages().at(0).items)
            if (item.kind == PageItem::Rect && item.elementName.isEmpty()) {
                QCOMPARE(item.background, QColor(255, 251, 240));
                QCOMPARE(item.rect.size(), QSize(1900, 100));
                ++fills;
            }
        QCOMPARE(fills, 12); // rows 1, 3, ..., 23
    }

    void progressInStepsOfFive()
    {
        PositionsReport r(30);
        QList<int> seen;
        r.report.onProgress = [&](int percent) { seen << percent; };
        r.report.run();
        QVERIFY(!seen.isEmpty());
        QCOMPARE(seen.last(), 100);
        for (int i = 0; i < seen.size(); ++i) {
            QCOMPARE(seen[i] % 5, 0);
            if (i > 0)
                QVERIFY(seen[i] >= seen[i - 1] + 5);
        }
    }

    void picturesFitTheirFrameAndAreStoredOnce()
    {
        QImage wide(100, 50, QImage::Format_RGB32);
        wide.fill(Qt::blue);
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        wide.save(&buffer, "PNG");
        const auto members = membersTable({{"ANA", png}, {"BIA", "no picture here"}, {"CIA", png}});
        Report report;
        report.dataset = members->dataset();
        Band *detail = report.addBand(Band::Kind::Detail, "QRBand1", 500);
        auto *photo = detail->add<DataImageElement>("QRDBImage1", QRect(0, 0, 400, 400));
        photo->column = "MEMFOTO";
        const ReportRun run = report.run();
        QCOMPARE(run.images().size(), 1);
        QList<QRect> rects;
        for (const PageItem &item : run.pages().at(0).items)
            if (item.kind == PageItem::Image)
                rects << item.rect;
        QCOMPARE(rects, (QList<QRect>{QRect(100, 200, 400, 200), QRect(100, 1200, 400, 200)}));
    }

    // A picture a handler sets row by row: fitted into its frame, kept once
    // when the same picture is set again, left out when there is none; an
    // element the handler hides is left out of that placement only.
    void handlerPicturesAndHiddenElements()
    {
        const auto positions = positionsTable(4);
        QImage tall(20, 40, QImage::Format_RGB888);
        tall.fill(Qt::red);
        Report report;
        report.dataset = positions->dataset();
        Band *detail = report.addBand(Band::Kind::Detail, "QRBand1", 500);
        auto *picture = detail->add<PictureElement>("imgFoto", QRect(0, 0, 400, 400));
        LabelElement *label = detail->addLabel("QRLabel1", QRect(500, 0, 300, 50), "CARGO");
        detail->beforePrint = [&](Band &) {
            const int code = codeOf(*positions->dataset());
            picture->picture = code == 3 ? QImage() : tall; // the same picture, but for row 3
            label->visible = code % 2 == 1;
        };
        const ReportRun run = report.run();
        QCOMPARE(run.images().size(), 1);
        QCOMPARE(run.images().first().size(), QSize(20, 40));
        QList<QRect> rects;
        for (const PageItem &item : run.pages().at(0).items)
            if (item.kind == PageItem::Image)
                rects << item.rect;
        QCOMPARE(rects, (QList<QRect>{QRect(200, 100, 200, 400), QRect(200, 600, 200, 400), QRect(200, 1600, 200, 400)}));
        QCOMPARE(run.texts(0, "QRLabel1"), (QStringList{"CARGO", "CARGO"}));
        QCOMPARE(run.findItem(0, "QRLabel1")->rect.top(), 100);
    }

    void reportWithoutDatasetPrintsOnce()
    {
        Report report;
        int titles = 0;
        Band *title = report.addBand(Band::Kind::Title, "QRBand1", 1193);
        title->addLabel("QRLabel1", QRect(0, 21, 1900, 60), "Ficha Cadastral");
        title->beforePrint = [&](Band &) { ++titles; };
        const ReportRun run = report.run();
        QCOMPARE(titles, 1);
        QCOMPARE(run.pages().size(), 1);
        QCOMPARE(run.findItem(0, "QRLabel1")->rect.topLeft(), QPoint(100, 121));
    }

    void polylinesAndHiddenElements()
    {
        Report report;
        Band *title = report.addBand(Band::Kind::Title, "QRBand1", 1000);
        auto *line = title->add<PolylineElement>("linhaSaldo", QRect());
        line->points = QPolygon({QPoint(100, 500), QPoint(600, 100), QPoint(1100, 500)});
        line->pen = QColor(0, 128, 0);
        line->width = 60;
        title->add<PolylineElement>("umPonto", QRect())->points = QPolygon({QPoint(10, 10)});
        title->addLabel("escondido", QRect(0, 0, 500, 50), "não aparece")->visible = false;
        const ReportRun run = report.run();
        QCOMPARE(run.pages().at(0).items.size(), 1); // a single point draws nothing, a hidden element neither
        const PageItem &item = run.pages().at(0).items.first();
        QCOMPARE(item.kind, PageItem::Polyline);
        QCOMPARE(item.points, QPolygon({QPoint(200, 600), QPoint(700, 200), QPoint(1200, 600)})); // page coordinates
        QCOMPARE(item.rect, QRect(QPoint(200, 200), QPoint(1200, 600)));
        QCOMPARE(item.lineWidth, 60);

        // Painted on its points with its width, as every sink paints it.
        QImage page(210, 297, QImage::Format_RGB32);
        page.fill(Qt::white);
        QPainter painter(&page);
        paintPage(painter, run.pages().at(0), run.images(), 0.1);
        painter.end();
        QCOMPARE(page.pixelColor(70, 20), QColor(0, 128, 0));    // a point of the line
        QCOMPARE(page.pixelColor(45, 40), QColor(0, 128, 0));    // halfway along the first segment
        QCOMPARE(page.pixelColor(70, 50), QColor(Qt::white));    // below it
    }

    void joinedRunsAndSavedFilesOfBothVersions()
    {
        // Files written before polylines existed still open.
        QTemporaryDir dir;
        const QString first = dir.filePath("primeiro.krl"), second = dir.filePath("segundo.krl");
        writeVersionOneFile(first, "primeiro", Qt::red);
        writeVersionOneFile(second, "segundo", Qt::blue);
        ReportRun one, two;
        QVERIFY(one.load(first));
        QVERIFY(two.load(second));
        QCOMPARE(one.texts(0, "QRLabel1"), QStringList{"primeiro"});

        // Joined, each page keeps its own picture.
        ReportRun joined;
        joined.append(one);
        joined.append(two);
        QCOMPARE(joined.pages().size(), 2);
        QCOMPARE(joined.pageSize(), QSize(2100, 2970));
        QCOMPARE(joined.images().size(), 2);
        QCOMPARE(joined.images().at(joined.findItem(1, "QRDBImage1")->imageIndex).pixelColor(0, 0), QColor(Qt::blue));
        QCOMPARE(joined.texts(1, "QRLabel1"), QStringList{"segundo"});
        PageItem mark;
        mark.elementName = "txtFolha";
        mark.text = "Folha 2";
        joined.addItem(1, mark);
        QCOMPARE(joined.texts(1, "txtFolha"), QStringList{"Folha 2"});

        // Polylines are saved with their points and width.
        Report report;
        Band *title = report.addBand(Band::Kind::Title, "QRBand1", 500);
        auto *line = title->add<PolylineElement>("linha", QRect());
        line->points = QPolygon({QPoint(0, 0), QPoint(50, 80)});
        line->width = 6;
        const QString path = dir.filePath("grafico.krl");
        QVERIFY(report.run().save(path));
        ReportRun loaded;
        QVERIFY(loaded.load(path));
        QCOMPARE(loaded.findItem(0, "linha")->points, QPolygon({QPoint(100, 100), QPoint(150, 180)}));
        QCOMPARE(loaded.findItem(0, "linha")->lineWidth, 6);
    }

    void programsPdfDrawsWhatThePreviewDraws()
    {
        SamplePage sample;
        const ReportRun run = sample.report.run();
        QVERIFY(!fastPdf(run).isEmpty()); // every text is WIN1252: the program's own writer
        QTemporaryDir dir;
        const QString path = dir.filePath("pagina.pdf");
        QVERIFY(writePdf(path, run));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"pagina.pdf"}); // no temporary file left

        const int dpi = 100;
        const QImage preview = previewPage(run, dpi);
        const QImage pdf = pdfPage(path, dpi);
        QVERIFY2(differingShare(pdf.scaled(preview.size()), preview) < 0.01,
                 qPrintable(QString::number(differingShare(pdf.scaled(preview.size()), preview))));
        const QRect frame = run.findItem(0, "QRDBImage1")->rect;
        auto at = [&](qreal across, qreal down) {
            return pdf.pixelColor(qRound((frame.left() + frame.width() * across) * dpi / 254.0),
                                  qRound((frame.top() + frame.height() * down) * dpi / 254.0));
        };
        const QColor topLeft = at(0.25, 0.25), bottomLeft = at(0.25, 0.75), right = at(0.75, 0.5);
        QVERIFY(topLeft.red() > 180 && topLeft.green() < 80); // the photograph upright and unmirrored
        QVERIFY(bottomLeft.green() > 150 && bottomLeft.red() < 80);
        QVERIFY(right.blue() > 180 && right.red() < 80);

        const QString text = pdfText(path);
        QVERIFY2(text.contains("Relatório de Membros — Ação"), qPrintable(text));
        QVERIFY(text.contains("R$ 1.234,56"));
        QVERIFY(text.contains("Conceição das Graças") && text.contains("São Paulo")); // every wrapped line
    }

    // A font's subset holds glyph 0 and the glyphs asked for, with the
    // outlines and advances of the font, composite glyphs with their parts;
    // no other character maps to a glyph.
    void fontSubsetKeepsTheGlyphsUsed()
    {
        QRawFont font = QRawFont::fromFont(QFont("Arial"));
        const std::optional<TrueTypeFont> tables = tablesOf(font);
        QVERIFY(tables);
        const QString used = "AÃçõ€ 1,ÿ";
        QMap<char32_t, quint16> characters;
        for (QChar c : used)
            characters.insert(c.unicode(), quint16(font.glyphIndexesForString(c).at(0)));
        const QByteArray subset = tables->subset(characters);
        QVERIFY2(subset.size() * 10 < tables->whole().size(), qPrintable(QString::number(subset.size())));
        QRawFont small(subset, 100);
        QVERIFY(small.isValid());
        font.setPixelSize(100);
        for (QChar c : used) {
            const quint32 was = font.glyphIndexesForString(c).at(0), now = small.glyphIndexesForString(c).at(0);
            QVERIFY2(now != 0, qPrintable(QString(c)));
            QCOMPARE(small.advancesForGlyphIndexes({now}), font.advancesForGlyphIndexes({was}));
            QCOMPARE(small.pathForGlyph(now), font.pathForGlyph(was));
        }
        QCOMPARE(small.glyphIndexesForString("B"), QList<quint32>{0});
        const std::optional<TrueTypeFont> read = tablesOf(small);
        QVERIFY(read);
        QVERIFY2(read->glyphCount() > used.size() + 1, "no components of the accented letters"); // Ã = A + ~
        QCOMPARE(read->advance(0), tables->advance(0));
    }

    void fontLicenceDecidesTheEmbedding_data()
    {
        QTest::addColumn<int>("fsType");
        QTest::addColumn<int>("embedding");
        QTest::newRow("installable") << 0x0000 << int(TrueTypeFont::Embedding::Subset);
        QTest::newRow("restricted licence") << 0x0002 << int(TrueTypeFont::Embedding::Forbidden);
        QTest::newRow("preview and print") << 0x0004 << int(TrueTypeFont::Embedding::Subset);
        QTest::newRow("editable") << 0x0008 << int(TrueTypeFont::Embedding::Subset);
        QTest::newRow("restricted and editable") << 0x000A << int(TrueTypeFont::Embedding::Subset);
        QTest::newRow("no subsetting") << 0x0104 << int(TrueTypeFont::Embedding::WholeOnly);
        QTest::newRow("bitmaps only") << 0x0200 << int(TrueTypeFont::Embedding::Forbidden);
    }

    void fontLicenceDecidesTheEmbedding()
    {
        QFETCH(int, fsType);
        QFETCH(int, embedding);
        const QRawFont font = QRawFont::fromFont(QFont("Arial"));
        const std::optional<TrueTypeFont> tables = TrueTypeFont::read([&](const char *tag) {
            QByteArray table = font.fontTable(tag);
            if (qstrcmp(tag, "OS/2") == 0)
                qToBigEndian(quint16(fsType), table.data() + 8);
            return table;
        });
        QVERIFY(tables);
        QCOMPARE(int(tables->embedding()), embedding);
    }

    void fontFactsForTheDescriptor_data()
    {
        QTest::addColumn<QFont>("font");
        QTest::addColumn<QString>("facts"); // italic angle, fixed pitch, serif, italic
        QFont italic("Liberation Sans");
        italic.setBold(true);
        italic.setItalic(true);
        QTest::newRow("sans") << QFont("Liberation Sans") << "0 0 0 0";
        QTest::newRow("serif") << QFont("Liberation Serif") << "0 0 1 0";
        QTest::newRow("mono") << QFont("Liberation Mono") << "0 1 0 0";
        QTest::newRow("bold italic") << italic << "-12 0 0 1";
    }

    void fontFactsForTheDescriptor()
    {
        QFETCH(QFont, font);
        QFETCH(QString, facts);
        const std::optional<TrueTypeFont> tables = tablesOf(QRawFont::fromFont(font));
        QVERIFY(tables);
        QCOMPARE(QString("%1 %2 %3 %4").arg(tables->italicAngle()).arg(tables->fixedPitch()).arg(tables->serif()).arg(tables->italic()),
                 facts);
    }

    // Every WIN1252 character in a sans and a serif font, each in a cell of
    // its own: the fonts are embedded as subsets, every character reads back
    // and is drawn with about the ink the preview gives it (which glyph it
    // is, the subset's own test shows: alike letters differ by less than
    // two renderers do).
    void everyWin1252CharacterFromTheSubsets()
    {
        const QString all = win1252Characters();
        QCOMPARE(all.size(), 218);
        const QStringList families{"Arial", "Times New Roman"};
        constexpr int Columns = 16, Width = 110, Height = 95;
        Report report;
        Band *band = report.addBand(Band::Kind::Title, "QRBand1", 2700);
        for (int f = 0; f < families.size(); ++f)
            for (int i = 0; i < all.size(); ++i) {
                const QRect cell(50 + (i % Columns) * Width, 20 + (f * 14 + i / Columns) * Height, Width, Height);
                auto *label = band->addLabel(QString("c%1_%2").arg(f).arg(i), cell, all.at(i));
                label->font = {families[f], 18, f == 1, Qt::black};
            }
        const ReportRun run = report.run();
        QVERIFY(!fastPdf(run).isEmpty());
        QTemporaryDir dir;
        const QString path = dir.filePath("win1252.pdf");
        QVERIFY(writePdf(path, run));

        const QStringList fonts = pdfFonts(path);
        QCOMPARE(fonts.size(), 2);
        for (const QString &font : fonts)
            QVERIFY2(QRegularExpression("^[A-Z]{6}\\+Liberation(Sans|Serif-Bold) TrueType WinAnsi yes yes$").match(font).hasMatch(),
                     qPrintable(fonts.join('\n')));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QStringList descriptors; // the sans is nonsymbolic (32), the serif one also serif (2)
        for (const auto &m : QRegularExpression("/FontName /[A-Z]{6}\\+(\\S+) /Flags (\\d+) .* /ItalicAngle (\\S+) ")
                                 .globalMatch(QString::fromLatin1(file.readAll())))
            descriptors << m.captured(1) + ' ' + m.captured(2) + ' ' + m.captured(3);
        QCOMPARE(descriptors, (QStringList{"LiberationSans 32 0", "LiberationSerif-Bold 34 0"}));
        // Read in the order written; the soft hyphen is not drawn, as on the preview.
        const QString expected = QString(all + all).remove(QRegularExpression("[\\s\\x{a0}\\x{ad}]"));
        QCOMPARE(pdfText(path, {"-raw"}).remove(' '), expected);

        const int dpi = 150;
        const QImage preview = previewPage(run, dpi);
        const QImage pdf = pdfPage(path, dpi).scaled(preview.size());
        QStringList differing;
        for (int i = 0; i < 2 * all.size(); ++i) {
            const QRect laid = run.findItem(0, QString("c%1_%2").arg(i / all.size()).arg(i % all.size()))->rect;
            const QRect cell(laid.topLeft() * dpi / 254.0, laid.size() * dpi / 254.0);
            const double drawn = inkIn(pdf, cell), previewed = inkIn(preview, cell);
            if (std::abs(drawn - previewed) > 0.2 * previewed + 0.002)
                differing << QString("%1 in %2: %3 against %4").arg(all.at(i % all.size()), families[i / all.size()]).arg(drawn).arg(previewed);
        }
        QVERIFY2(differing.isEmpty(), qPrintable(differing.join('\n')));
    }

    void textOutsideWin1252GoesThroughQtsWriter()
    {
        SamplePage sample(" Ω");
        const ReportRun run = sample.report.run();
        QVERIFY(fastPdf(run).isEmpty());
        QTemporaryDir dir;
        const QString path = dir.filePath("omega.pdf");
        QVERIFY(writePdf(path, run));
        QVERIFY(pdfText(path).contains("Ação Ω"));
        QVERIFY(!writePdf(dir.filePath("sem-pasta/omega.pdf"), run)); // a folder that is not there
        QVERIFY(!QFileInfo::exists(dir.filePath("sem-pasta")));
    }

    void pdfHasTheLaidOutPages()
    {
        PositionsReport r(30);
        Band *header = r.report.band("QRBand1");
        header->findElement("QRLabel1")->font = {QString(), 12, true, Qt::black};
        header->addShape("QRShape1", QRect(0, 150, 1900, 1));
        header->addShape("QRShape2", QRect(0, 160, 1900, 40));
        auto *heading = header->addLabel("QRLabel3", QRect(50, 165, 300, 30), "Código");
        heading->font = {QString(), 8, true, Qt::blue};
        r.report.element<ShapeElement>("QRShape2")->pen = Qt::red;
        QTemporaryDir dir;
        const QString path = dir.filePath("cargos.pdf");
        QVERIFY(r.report.exportPdf(path));
        QCOMPARE(r.log.count("start"), 1);
        QCOMPARE(pdfPageCount(path), 2);
        QCOMPARE(pdfPageCount(path), r.report.run().pages().size());
        const QString keep = qEnvironmentVariable("KELMARA_KEEP_PDF"); // for looking at the pages
        if (!keep.isEmpty()) {
            QFile::remove(keep);
            QFile::copy(path, keep);
        }
    }
};

QTEST_MAIN(TestReportEngine)
#include "tst_reportengine.moc"
