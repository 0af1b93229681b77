// The preview on tables held in memory: it knows datasets only.
#include "EngineTables.h"
#include "TestKit.h"

#include "dataset/DbError.h"
#include "reports/engine/PrintPreview.h"
#include "reports/engine/Report.h"
#include "uikit/Messages.h"

#include <QAction>
#include <QFileDialog>
#include <QLineEdit>
#include <QPrinterInfo>
#include <QPrinter>
#include <QRegularExpression>
#include <QScrollArea>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// 23 details fit a page: 60 rows give three pages (23, 23, 14).
struct PositionsReport
{
    explicit PositionsReport(int rows) : positions(positionsTable(rows))
    {
        report.dataset = positions->dataset();
        report.rowsBetweenEvents = 5;
        report.onStart = [this] { ++runs; };
        Band *header = report.addBand(Band::Kind::PageHeader, "QRBand1", 200);
        header->addLabel("QRLabel1", QRect(0, 0, 1900, 60), "Cargos")->alignment = Qt::AlignHCenter;
        Band *detail = report.addBand(Band::Kind::Detail, "QRBand2", 100);
        detail->addDataText("QRDBText1", QRect(50, 10, 300, 50), "CARCODIGO");
        detail->addDataText("QRDBText2", QRect(400, 10, 800, 50), "CARDESCRICAO");
        report.addBand(Band::Kind::PageFooter, "QRBand3", 270);
    }

    std::unique_ptr<MemoryTable> positions;
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

// Answers the next file dialog with `path`, as a user choosing a name would.
void whenFileDialogOpens(const QString &path)
{
    auto *timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, path] {
        if (auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget())) {
            timer->deleteLater();
            timer->stop();
            // selectFile() leaves the name box alone once it has the focus, which the
            // dialog may or may not have by now: type the name as a user would.
            if (auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit")))
                name->setText(path);
            else
                dialog->selectFile(path);
            QMetaObject::invokeMethod(dialog, "accept"); // as the Save button does
        }
    });
    timer->start();
}

} // namespace

class TestPrintPreview : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { setUpTestProgram(); }

    void printAndSetupWaitForTheLayout()
    {
        PositionsReport r(60);
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
        PositionsReport r(60);
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
        PositionsReport r(10);
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
        PositionsReport r(10);
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
        PositionsReport r(60);
        PrintPreview preview(&r.report);
        QTemporaryDir dir;
        const QString path = dir.filePath("cargos.pdf");
        QVERIFY(!preview.savePdf(path)); // nothing laid out yet
        preview.layOut();
        QVERIFY(preview.savePdf(path));
        QCOMPARE(pdfPageCount(path), 3);
        QCOMPARE(r.runs, 1); // saving replays the preview's run
    }

    void savedReportFileOpensAsItWas()
    {
        PositionsReport r(60);
        PrintPreview preview(&r.report);
        preview.layOut();
        QTemporaryDir dir;
        const QString path = dir.filePath("cargos.krl");
        QVERIFY(preview.saveAs(path));
        QVERIFY(preview.saveAs(dir.filePath("cargos.pdf")));
        QCOMPARE(pdfPageCount(dir.filePath("cargos.pdf")), 3);

        PositionsReport other(0); // a one-page report shows the file's three pages
        PrintPreview reopened(&other.report);
        reopened.layOut();
        QVERIFY(reopened.openFile(path));
        QVERIFY(reopened.showsFile());
        QCOMPARE(reopened.pageText(), "Page 1 of 3");
        const ReportRun &a = preview.run();
        const ReportRun &b = reopened.run();
        QCOMPARE(b.pageSize(), a.pageSize());
        for (int page = 0; page < 3; ++page) {
            const QList<PageItem> &x = a.pages().at(page).items;
            const QList<PageItem> &y = b.pages().at(page).items;
            QCOMPARE(y.size(), x.size());
            for (qsizetype i = 0; i < x.size(); ++i) {
                QCOMPARE(y[i].kind, x[i].kind);
                QCOMPARE(y[i].elementName, x[i].elementName);
                QCOMPARE(y[i].rect, x[i].rect);
                QCOMPARE(y[i].text, x[i].text);
                QCOMPARE(y[i].font, x[i].font);
                QCOMPARE(y[i].colour, x[i].colour);
                QCOMPARE(y[i].flags, x[i].flags);
            }
        }
        QCOMPARE(other.runs, 1); // opening a file runs no report

        // A file that is no report leaves the pages shown as they were.
        QFile junk(dir.filePath("junk.krl"));
        QVERIFY(junk.open(QIODevice::WriteOnly));
        junk.write("KRL1 this is not a report");
        junk.close();
        QVERIFY(!reopened.openFile(junk.fileName()));
        QVERIFY(!reopened.openFile(dir.filePath("missing.krl")));
        QCOMPARE(reopened.pageCount(), 3);
        QCOMPARE(reopened.run().texts(1, "QRDBText2").first(), "CARGO 24");

        // Printing a report opened from a file prints its saved pages.
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.filePath("printed.pdf"));
        QVERIFY(printRun(printer, reopened.run()));
        QCOMPARE(pdfPageCount(dir.filePath("printed.pdf")), 3);
    }

    void printMakesANewRunWithinTheRange()
    {
        PositionsReport r(60);
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

    // A run that fails leaves the report with its own progress handler, not
    // with one of a preview that is gone.
    void aFailedLayoutPutsTheReportsProgressHandlerBack()
    {
        PositionsReport r(60);
        int ownCalls = 0;
        r.report.onProgress = [&](int) { ++ownCalls; };
        r.report.band("QRBand2")->beforePrint = [&](Band &) {
            if (r.positions->field("CARCODIGO")->asInteger() == 30)
                throw DbError("Conexão perdida");
        };
        {
            PrintPreview preview(&r.report);
            QCOMPARE(dbErrorOf([&] { preview.layOut(); }), QString("Conexão perdida"));
            QVERIFY(!preview.isLaidOut() && preview.progressText().isEmpty());
        }
        const int calls = ownCalls;
        r.report.onProgress(50);
        QCOMPARE(ownCalls, calls + 1);
    }

    // Printing runs the report again; what its handlers raise there is shown
    // in the error box, and the preview stays with its pages.
    void anErrorWhilePrintingIsShownAndThePreviewStays()
    {
        if (!QPrinterInfo::availablePrinters().isEmpty())
            QSKIP("a printer is installed: printing here would print on paper");
        PositionsReport r(30);
        Messages::Recorder recorder;
        PrintPreview preview(&r.report);
        preview.layOut();
        r.report.onStart = [] { throw DbError("lock conflict on no wait transaction"); };
        QTemporaryDir dir;
        whenFileDialogOpens(dir.filePath("impresso.pdf"));
        preview.action(Command::Print)->trigger();
        QCOMPARE(recorder.texts(), QStringList{"lock conflict on no wait transaction"});
        QVERIFY(preview.isLaidOut());
        QCOMPARE(preview.pageCount(), 2);
        QVERIFY(!QFile::exists(dir.filePath("impresso.pdf")));
    }

    void previewReturnsWhenClosed()
    {
        PositionsReport r(30);
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
