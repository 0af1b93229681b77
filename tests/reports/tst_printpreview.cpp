#include "TestDatabase.h"

#include "data/dataset/QueryDataset.h"
#include "reports/engine/PrintPreview.h"
#include "reports/engine/Report.h"

#include <QAction>
#include <QPrinter>
#include <QRegularExpression>
#include <QScrollArea>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// 23 details fit a page: 60 rows give three pages (23, 23, 14).
struct PositionsReport
{
    PositionsReport(const TestDatabase &db, int rows)
    {
        for (int code = 1; code <= rows; ++code)
            db.exec("INSERT INTO TCARGO (CARCODIGO, CARDESCRICAO, CARSALARIO) VALUES (?, ?, ?)",
                    {code, QString("CARGO %1").arg(code), 1000.0 + code});
        dm = db.connect("R");
        q = std::make_unique<QueryDataset>("QCargo", dm->connectionName());
        q->setSql({"SELECT * FROM TCARGO ORDER BY CARCODIGO"});
        q->open();
        report.dataset = q.get();
        report.rowsBetweenEvents = 5;
        report.onStart = [this] { ++runs; };
        Band *header = report.addBand(Band::Kind::PageHeader, "QRBand1", 200);
        header->addLabel("QRLabel1", QRect(0, 0, 1900, 60), "Cargos")->alignment = Qt::AlignHCenter;
        Band *detail = report.addBand(Band::Kind::Detail, "QRBand2", 100);
        detail->addDataText("QRDBText1", QRect(50, 10, 300, 50), "CARCODIGO");
        detail->addDataText("QRDBText2", QRect(400, 10, 800, 50), "CARDESCRICAO");
        report.addBand(Band::Kind::PageFooter, "QRBand3", 270);
    }

    std::unique_ptr<TDM> dm;
    std::unique_ptr<QueryDataset> q;
    Report report;
    int runs = 0;
};

int pdfPageCount(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    return int(QString::fromLatin1(file.readAll()).count(QRegularExpression("/Type\\s*/Page(?!s)")));
}

using Command = PrintPreview::Command;

} // namespace

class TestPrintPreview : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { setUpTestProgram(); }

    void printAndSetupWaitForTheLayout()
    {
        TestDatabase db;
        PositionsReport r(db, 60);
        PrintPreview preview(&r.report);
        QCOMPARE(preview.windowTitle(), "Print Preview");
        QVERIFY(!preview.action(Command::Print)->isEnabled());
        QVERIFY(!preview.action(Command::Setup)->isEnabled());
        QVERIFY(!preview.action(Command::Save)->isEnabled());

        QStringList shown;
        r.report.onProgress = [&](int) {
            shown << preview.progressText();
            QVERIFY(!preview.action(Command::Print)->isEnabled());
        };
        preview.layOut();
        QCOMPARE(shown.size(), 20);
        QCOMPARE(shown.first(), "Gerando páginas: 5 %");
        QCOMPARE(shown.last(), "Gerando páginas: 100 %");
        QVERIFY(preview.progressText().isEmpty());
        QVERIFY(r.report.onProgress); // the report's own handler is back
        QVERIFY(preview.action(Command::Print)->isEnabled());
        QVERIFY(preview.action(Command::Setup)->isEnabled());
        QCOMPARE(preview.pageCount(), 3);
        QCOMPARE(preview.pageText(), "Page 1 of 3");
    }

    void keysMoveBetweenPages()
    {
        TestDatabase db;
        PositionsReport r(db, 60);
        PrintPreview preview(&r.report);
        preview.show();
        preview.layOut();
        QVERIFY(!preview.action(Command::Previous)->isEnabled());

        const auto press = [&](Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
            QTest::keyClick(&preview, key, modifiers);
            return preview.pageText();
        };
        QCOMPARE(press(Qt::Key_PageDown), "Page 2 of 3");
        QCOMPARE(press(Qt::Key_PageDown), "Page 3 of 3");
        QCOMPARE(press(Qt::Key_PageDown), "Page 3 of 3"); // stays on the last
        QVERIFY(!preview.action(Command::Next)->isEnabled());
        QCOMPARE(press(Qt::Key_PageUp), "Page 2 of 3");
        QCOMPARE(press(Qt::Key_Home), "Page 1 of 3");
        QCOMPARE(press(Qt::Key_PageUp), "Page 1 of 3");
        QCOMPARE(press(Qt::Key_End), "Page 3 of 3");
        QCOMPARE(press(Qt::Key_PageUp, Qt::ControlModifier), "Page 1 of 3");
        QCOMPARE(press(Qt::Key_PageDown, Qt::ControlModifier), "Page 3 of 3");
        QCOMPARE(preview.currentPage(), 2);

        preview.action(Command::Previous)->trigger();
        QCOMPARE(preview.pageText(), "Page 2 of 3");
        preview.action(Command::First)->trigger();
        QCOMPARE(preview.currentPage(), 0);

        QTest::keyClick(&preview, Qt::Key_Escape);
        QVERIFY(!preview.isVisible());
        QCOMPARE(preview.result(), int(QDialog::Rejected));
    }

    void oneZoomModeAtATime()
    {
        TestDatabase db;
        PositionsReport r(db, 10);
        PrintPreview preview(&r.report);
        preview.resize(800, 600);
        preview.show();
        preview.layOut();
        const QList<QAction *> zooms{preview.action(Command::ZoomWholePage),
                                     preview.action(Command::ZoomActual),
                                     preview.action(Command::ZoomPageWidth)};
        const auto checked = [&] {
            QList<bool> result;
            for (QAction *zoom : zooms)
                result << zoom->isChecked();
            return result;
        };
        QCOMPARE(checked(), (QList<bool>{false, true, false})); // 100 % to begin with
        QCOMPARE(preview.scale(), preview.logicalDpiX() / 254.0);

        zooms[0]->trigger();
        QCOMPARE(checked(), (QList<bool>{true, false, false}));
        QCOMPARE(preview.zoom(), PrintPreview::Zoom::WholePage);
        QVERIFY(preview.scale() * 2970 < 600);

        zooms[2]->trigger();
        QCOMPARE(checked(), (QList<bool>{false, false, true}));
        const qreal widthScale = preview.scale();
        QVERIFY(widthScale * 2100 < 800 && widthScale * 2100 > 600);
        zooms[2]->trigger(); // a checked mode stays selected
        QCOMPARE(checked(), (QList<bool>{false, false, true}));
        preview.resize(1000, 600);
        QVERIFY(preview.scale() > widthScale); // follows the window
    }

    void pageIsDrawnWhiteOnGrey()
    {
        TestDatabase db;
        PositionsReport r(db, 10);
        PrintPreview preview(&r.report);
        preview.resize(800, 700);
        preview.show();
        preview.layOut();
        preview.setZoom(PrintPreview::Zoom::WholePage);
        const QImage image = preview.grab().toImage();
        const QRect view = preview.findChild<QScrollArea *>()->geometry();
        const QColor centre = image.pixelColor(view.center());
        QCOMPARE(centre, QColor(Qt::white));
        QVERIFY(image.pixelColor(view.left() + 2, view.center().y()) != QColor(Qt::white));
    }

    void saveWritesEveryPage()
    {
        TestDatabase db;
        PositionsReport r(db, 60);
        PrintPreview preview(&r.report);
        QTemporaryDir dir;
        const QString path = dir.filePath("cargos.pdf");
        QVERIFY(!preview.savePdf(path)); // nothing laid out yet
        preview.layOut();
        QVERIFY(preview.savePdf(path));
        QCOMPARE(pdfPageCount(path), 3);
        QCOMPARE(r.runs, 1); // saving replays the preview's run
    }

    void printMakesANewRunWithinTheRange()
    {
        TestDatabase db;
        PositionsReport r(db, 60);
        QTemporaryDir dir;
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.filePath("all.pdf"));
        QVERIFY(r.report.print(printer));
        QCOMPARE(r.runs, 1);
        QCOMPARE(pdfPageCount(dir.filePath("all.pdf")), 3);

        QPrinter range(QPrinter::HighResolution);
        range.setOutputFormat(QPrinter::PdfFormat);
        range.setOutputFileName(dir.filePath("range.pdf"));
        range.setPrintRange(QPrinter::PageRange);
        range.setFromTo(2, 5); // beyond the last page: up to it
        QVERIFY(r.report.print(range));
        QCOMPARE(r.runs, 2);
        QCOMPARE(pdfPageCount(dir.filePath("range.pdf")), 2);
    }

    void previewReturnsWhenClosed()
    {
        TestDatabase db;
        PositionsReport r(db, 30);
        bool sawPreview = false;
        r.report.onEnd = [&] {
            QTimer::singleShot(0, [&] { // runs in the preview's own event loop
                for (QWidget *widget : QApplication::topLevelWidgets()) {
                    auto *preview = qobject_cast<PrintPreview *>(widget);
                    if (preview && preview->isVisible()) {
                        sawPreview = preview->isLaidOut() && preview->pageText() == "Page 1 of 2";
                        preview->action(Command::Close)->trigger();
                    }
                }
            });
        };
        r.report.preview();
        QVERIFY(sawPreview);
        QCOMPARE(r.runs, 1);
    }
};

QTEST_MAIN(TestPrintPreview)
#include "tst_printpreview.moc"
