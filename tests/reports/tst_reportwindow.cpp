#include "TestDatabase.h"

#include "provider/QueryDataset.h"
#include "uikit/Today.h"
#include "reports/base/ReportWindow.h"

#include <QPointer>
#include <QtTest>

namespace {

// The smallest list report: one query, a shaded detail and a dated footer.
class PositionsList : public ReportWindow
{
public:
    explicit PositionsList(QWidget *owner) : ReportWindow(owner)
    {
        query = addQuery("QCargo", {"SELECT * FROM TCARGO", "ORDER BY CARCODIGO"});
        Band *detail = QuickRep1->addBand(Band::Kind::Detail, "QRBand2", 60);
        detail->addDataText("QRDBText1", QRect(10, 5, 500, 40), "CARDESCRICAO");
        detail->beforePrint = [this](Band &band) { shadeRow(band, nextIsWhite); };
        Band *footer = QuickRep1->addBand(Band::Kind::PageFooter, "QRBand3", 100);
        LabelElement *date = footer->addLabel("txtData", QRect(1720, 296, 200, 40), "31/12/2009");
        footer->beforePrint = [date](Band &) { stampToday(date); };
    }
    QueryDataset *query;
    bool nextIsWhite = false;
};

} // namespace

class TestReportWindow : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { setUpTestProgram(); }

    void eachRequestMakesAWindowThatLivesWithItsOwner()
    {
        TestDatabase db;
        db.exec("INSERT INTO TCARGO (CARCODIGO, CARDESCRICAO) VALUES (1, 'PASTOR')");
        db.exec("INSERT INTO TCARGO (CARCODIGO, CARDESCRICAO) VALUES (2, 'ZELADOR')");
        auto dm = db.connect();
        auto *owner = new QWidget;
        owner->show();
        QPointer<PositionsList> first = new PositionsList(owner);
        QPointer<PositionsList> second = new PositionsList(owner);
        QVERIFY(first != second);
        QVERIFY(!first->isVisible() && !second->isVisible()); // never shown with the owner
        QCOMPARE(first->QuickRep1->dataset, first->query);

        first->query->open();
        Today::setForTests(QDate(2011, 5, 31));
        const ReportRun run = first->QuickRep1->run();
        Today::setForTests(QDate());
        QCOMPARE(run.texts(0, "QRDBText1"), (QStringList{"PASTOR", "ZELADOR"}));
        QCOMPARE(run.texts(0, "txtData"), QStringList{"31/05/2011"});
        QCOMPARE(run.findItem(0, "QRDBText1")->background, QColor(255, 251, 240));
        QList<QColor> rowColours;
        for (const PageItem &item : run.pages().at(0).items)
            if (item.elementName == "QRDBText1")
                rowColours << item.background;
        QCOMPARE(rowColours, (QList<QColor>{QColor(255, 251, 240), QColor(Qt::white)}));

        QVERIFY(first->query->active()); // the query stays open after the run
        delete owner;
        QVERIFY(first.isNull() && second.isNull());
    }
};

QTEST_MAIN(TestReportWindow)
#include "tst_reportwindow.moc"
