// The list controls, the navigator and the grid on tables held in memory.
#include "ControlTables.h"
#include "TestKit.h"

#include "controls/DataControls.h"
#include "controls/DatasetModel.h"
#include "uikit/Messages.h"

#include <QHeaderView>
#include <QSignalSpy>
#include <QToolButton>
#include <QtTest>

namespace {

QString search(const QString &column, const QString &text)
{
    return QStringLiteral("(UPPER(%1) LIKE UPPER('%%2%'))").arg(column, text);
}

// Positions 1 PASTOR, 2 DIACONO, 3 MUSICO; employees ANA (position 2), BRUNO
// (position 99, which does not exist) and CARLA (none).
struct PositionsAndEmployees
{
    PositionsAndEmployees()
    {
        positionTable->store({{"CARCODIGO", 1}, {"CARDESCRICAO", "PASTOR"}, {"CARSALARIO", 1000}});
        positionTable->store({{"CARCODIGO", 2}, {"CARDESCRICAO", "DIACONO"}, {"CARSALARIO", 500}});
        positionTable->store({{"CARCODIGO", 3}, {"CARDESCRICAO", "MUSICO"}, {"CARSALARIO", 300}});
        employeeTable->store({{"FUNCODIGO", 1}, {"FUNNOME", "ANA"}, {"FUNCARGO", 2}});
        employeeTable->store({{"FUNCODIGO", 2}, {"FUNNOME", "BRUNO"}, {"FUNCARGO", 99}});
        employeeTable->store({{"FUNCODIGO", 3}, {"FUNNOME", "CARLA"}});
    }
    const std::unique_ptr<MemoryTable> positionTable = positionsTable();
    const std::unique_ptr<MemoryTable> employeeTable = employeesTable();
    TableDataset *positions = positionTable->dataset();
    TableDataset *employees = employeeTable->dataset();
};

QStringList items(const QComboBox &combo)
{
    QStringList texts;
    for (int i = 0; i < combo.count(); ++i)
        texts << combo.itemText(i);
    return texts;
}

struct NavigatorState
{
    bool first, prior, next, last;
    bool operator==(const NavigatorState &) const = default;
};

NavigatorState stateOf(const DBNavigator &nav)
{
    return {nav.button(DBNavigator::First)->isEnabled(), nav.button(DBNavigator::Prior)->isEnabled(),
            nav.button(DBNavigator::Next)->isEnabled(), nav.button(DBNavigator::Last)->isEnabled()};
}

} // namespace

class TestListControls : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        Q_INIT_RESOURCE(resources); // the program's pictures, as the program loads them
        setUpTestProgram();
    }

    void lookupListsVisibleRowsAndShowsTheKey()
    {
        PositionsAndEmployees tables;
        TableDataset *positions = tables.positions;
        TableDataset *employees = tables.employees;
        positions->open();
        employees->open();
        DBLookupComboBox list;
        list.setListSource(tables.positionTable->source(), "CARCODIGO", "CARDESCRICAO");
        list.setDataField(tables.employeeTable->source(), "FUNCARGO");
        QCOMPARE(items(list), QStringList({"PASTOR", "DIACONO", "MUSICO"}));
        QCOMPARE(list.currentText(), "DIACONO");
        QCOMPARE(list.keyValue(), QVariant(2));
        employees->next();
        QCOMPARE(list.currentIndex(), -1); // no position 99
        QCOMPARE(list.keyValue(), QVariant());
        employees->next();
        QCOMPARE(list.currentIndex(), -1);
        employees->first();

        positions->setFilter(search("CARDESCRICAO", "AS"));
        positions->setFiltered(true);
        QCOMPARE(items(list), QStringList({"PASTOR"}));
        QCOMPARE(list.currentIndex(), -1); // DIACONO filtered away
        positions->setFiltered(false);
        QCOMPARE(list.currentText(), "DIACONO");

        // Rows posted in the list's dataset show at once.
        positions->moveTo(1);
        positions->edit();
        tables.positionTable->field("CARDESCRICAO")->setAsString("DIÁCONO");
        positions->post();
        QCOMPARE(list.currentText(), "DIÁCONO");
        positions->insert();
        tables.positionTable->field("CARCODIGO")->setAsInteger(4);
        tables.positionTable->field("CARDESCRICAO")->setAsString("ZELADOR");
        positions->post();
        QCOMPARE(items(list), QStringList({"PASTOR", "DIÁCONO", "MUSICO", "ZELADOR"}));
        QCOMPARE(list.currentText(), "DIÁCONO");
    }

    void choosingInTheLookupStoresTheKeyAndMovesTheList()
    {
        PositionsAndEmployees tables;
        TableDataset *positions = tables.positions;
        TableDataset *employees = tables.employees;
        Field *position = tables.employeeTable->field("FUNCARGO");
        positions->open();
        employees->open();
        DBLookupComboBox list;
        list.setListSource(tables.positionTable->source(), "CARCODIGO", "CARDESCRICAO");
        list.setDataField(tables.employeeTable->source(), "FUNCARGO");
        DBEdit code(tables.employeeTable->source(), "FUNCARGO");
        Messages::Recorder recorder;

        QTest::keyClick(&list, Qt::Key_Down); // browse mode: nothing stored, nothing moved
        QCOMPARE(recorder.texts(), QStringList());
        QCOMPARE(list.currentText(), "DIACONO");
        QCOMPARE(position->asInteger(), 2);
        QCOMPARE(positions->currentIndex(), 0);

        employees->edit();
        QTest::keyClick(&list, Qt::Key_Down);
        QCOMPARE(position->asInteger(), 3);
        QCOMPARE(code.text(), "3");
        QCOMPARE(positions->currentIndex(), 2);
        QCOMPARE(tables.positionTable->field("CARSALARIO")->asFloat(), 300.0);

        code.selectAll(); // a code typed in the box selects its row
        QTest::keyClicks(&code, "1");
        code.updateRecord();
        QCOMPARE(list.currentText(), "PASTOR");
        employees->post();
        QCOMPARE(tables.employeeTable->stored(0, "FUNCARGO").toInt(), 2); // not applied
        employees->applyUpdates();
        QCOMPARE(tables.employeeTable->stored(0, "FUNCARGO").toInt(), 1);

        // On request the list's current row follows the row shown.
        list.setListFollowsField(true);
        QCOMPARE(positions->currentIndex(), 0);
        employees->next(); // position 99: the list stays where it was
        QCOMPARE(positions->currentIndex(), 0);
        employees->first();
        employees->edit();
        tables.employeeTable->field("FUNCARGO")->setAsInteger(2);
        QCOMPARE(positions->currentIndex(), 1);
    }

    void unboundLookupShowsWhatWasChosen()
    {
        PositionsAndEmployees tables;
        TableDataset *positions = tables.positions;
        positions->open();
        positions->last();
        DBLookupComboBox list;
        list.setListSource(tables.positionTable->source(), "CARCODIGO", "CARDESCRICAO");
        QCOMPARE(list.currentIndex(), -1); // empty until a row is chosen
        QSignalSpy activated(&list, &QComboBox::activated);
        int currentWhenActivated = -1;
        connect(&list, &QComboBox::activated, [&] { currentWhenActivated = positions->currentIndex(); });
        QTest::keyClick(&list, Qt::Key_Down);
        QCOMPARE(list.currentText(), "PASTOR");
        QCOMPARE(list.keyValue(), QVariant(1));
        QCOMPARE(positions->currentIndex(), 0);
        QCOMPARE(currentWhenActivated, 0); // moved before the window hears of it
        QCOMPARE(activated.count(), 1);

        positions->setFilter(search("CARDESCRICAO", "US"));
        positions->setFiltered(true);
        QCOMPARE(list.currentIndex(), -1);
        positions->setFiltered(false);
        QCOMPARE(list.currentText(), "PASTOR");

        // While a position is being edited, choosing in the list does not
        // move the positions table: that would post the half-edited row.
        positions->edit();
        tables.positionTable->field("CARDESCRICAO")->setAsString("PASTOR AUXILIAR");
        QTest::keyClick(&list, Qt::Key_Down);
        QCOMPARE(list.keyValue(), QVariant(2));
        QVERIFY(positions->editing() && !positions->hasPendingChanges());
        QCOMPARE(positions->currentIndex(), 0);
        positions->cancel();
        QCOMPARE(tables.positionTable->field("CARDESCRICAO")->asString(), "PASTOR");
    }

    void navigatorMovesAndDisablesWhatWouldDoNothing()
    {
        const auto memberTable = membersTable();
        const QStringList members{"ANA", "BRUNO", "CARLA"};
        for (int i = 0; i < members.size(); ++i)
            memberTable->store({{"MEMCODIGO", i + 1}, {"MEMNOME", members[i]}});
        TableDataset *tb = memberTable->dataset();
        DBNavigator nav(memberTable->source());
        const QStringList names{"Primeiro", "Anterior", "Próximo", "Último"};
        for (int i = 0; i < 4; ++i) {
            QToolButton *b = nav.button(DBNavigator::Button(i));
            QCOMPARE(b->toolTip(), names[i]);
            QCOMPARE(b->accessibleName(), names[i]);
            QCOMPARE(b->focusPolicy(), Qt::NoFocus);
            QVERIFY(!b->icon().pixmap(20, 20).isNull());
        }
        QCOMPARE(stateOf(nav), NavigatorState({false, false, false, false})); // closed
        tb->open();
        QCOMPARE(stateOf(nav), NavigatorState({false, false, true, true}));
        nav.button(DBNavigator::Next)->click();
        QCOMPARE(tb->currentIndex(), 1);
        QCOMPARE(stateOf(nav), NavigatorState({true, true, true, true}));
        nav.button(DBNavigator::Last)->click();
        QCOMPARE(memberTable->field("MEMNOME")->asString(), "CARLA");
        QCOMPARE(stateOf(nav), NavigatorState({true, true, false, false}));
        nav.button(DBNavigator::Prior)->click();
        QCOMPARE(tb->currentIndex(), 1);
        nav.button(DBNavigator::First)->click();
        QCOMPARE(tb->currentIndex(), 0);
        tb->locate("MEMNOME", {"CARLA"});
        QCOMPARE(stateOf(nav), NavigatorState({true, true, false, false}));
        tb->setFilter(search("MEMNOME", "ZZZ"));
        tb->setFiltered(true);
        QCOMPARE(stateOf(nav), NavigatorState({false, false, false, false})); // no row
        tb->setFiltered(false);

        // Moving posts the row being edited; a refusal shows and keeps the row.
        Messages::Recorder recorder;
        tb->edit();
        memberTable->field("MEMNOME")->setAsString("ANA MARIA");
        nav.button(DBNavigator::Next)->click();
        QVERIFY(!tb->editing());
        QCOMPARE(walk(*tb, "MEMNOME"), QStringList({"ANA MARIA", "BRUNO", "CARLA"}));
        tb->first();
        tb->insert();
        nav.button(DBNavigator::Next)->click();
        QCOMPARE(recorder.texts(), QStringList{"Preencha o campo MEMCODIGO."});
        QCOMPARE(tb->state(), Dataset::State::Insert);
    }

    void gridFollowsTheDatasetBothWays()
    {
        const auto movements = movementsTable();
        movements->store(
            {{"MOVCODIGO", 1}, {"MOVDESCRICAO", "DIZIMO"}, {"MOVVALOR", 100.5}, {"MOVDATA", QDate(2024, 3, 5)}});
        movements->store(
            {{"MOVCODIGO", 2}, {"MOVDESCRICAO", "LUZ"}, {"MOVVALOR", 1234.5}, {"MOVDATA", QDate(2024, 3, 6)}});
        movements->store({{"MOVCODIGO", 3}, {"MOVDESCRICAO", "AGUA"}});
        TableDataset *tb = movements->dataset();
        tb->open();
        DBGrid grid(movements->source());
        grid.addColumn("MOVCODIGO", "CÓDIGO", 60);
        grid.addColumn("MOVDESCRICAO", "DESCRIÇÃO", 283);
        grid.addColumn("MOVVALOR", "VALOR");
        grid.addColumn("MOVDATA", "DATA");
        QAbstractItemModel *model = grid.model();
        const auto cell = [&](int row, int column) { return model->index(row, column).data().toString(); };
        QCOMPARE(model->rowCount(), 3);
        QCOMPARE(model->headerData(1, Qt::Horizontal).toString(), "DESCRIÇÃO");
        QCOMPARE(grid.columnWidth(1), 283);
        QCOMPARE(cell(0, 3), "05/03/2024");
        QCOMPARE(cell(1, 2), QLocale().toCurrencyString(1234.5));
        QCOMPARE(cell(2, 2), QString());
        QCOMPARE(model->index(1, 2).data(Qt::TextAlignmentRole).toInt() & Qt::AlignRight, int(Qt::AlignRight));
        QCOMPARE(grid.editTriggers(), QAbstractItemView::NoEditTriggers);
        QCOMPARE(grid.selectionBehavior(), QAbstractItemView::SelectRows);
        QCOMPARE(grid.verticalHeader()->sectionResizeMode(0), QHeaderView::Fixed);

        const auto marked = [&] {
            QList<int> rows;
            for (int r = 0; r < model->rowCount(); ++r)
                if (model->headerData(r, Qt::Vertical).toString() == "▶")
                    rows << r;
            return rows;
        };
        QCOMPARE(grid.currentIndex().row(), 0);
        QCOMPARE(marked(), QList<int>{0});
        tb->last();
        QCOMPARE(grid.currentIndex().row(), 2);
        QCOMPARE(grid.selectionModel()->selectedRows().size(), 1);
        QCOMPARE(grid.selectionModel()->selectedRows().first().row(), 2);
        QCOMPARE(marked(), QList<int>{2});
        tb->locate("MOVDESCRICAO", {"LUZ"});
        QCOMPARE(grid.currentIndex().row(), 1);

        QTest::keyClick(&grid, Qt::Key_Up);
        QCOMPARE(tb->currentIndex(), 0);
        QCOMPARE(movements->field("MOVDESCRICAO")->asString(), "DIZIMO");
        grid.resize(500, 300);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, grid.visualRect(model->index(2, 1)).center());
        QCOMPARE(tb->currentIndex(), 2);
        QCOMPARE(marked(), QList<int>{2});

        // A posted change updates its row; a filter resets the grid.
        QSignalSpy resets(model, &QAbstractItemModel::modelReset);
        tb->edit();
        movements->field("MOVVALOR")->setAsFloat(10);
        tb->post();
        QCOMPARE(cell(2, 2), QLocale().toCurrencyString(10.0));
        QCOMPARE(resets.count(), 0);
        tb->setFilter(search("MOVDESCRICAO", "U"));
        tb->setFiltered(true);
        QCOMPARE(resets.count(), 1);
        QCOMPARE(model->rowCount(), 2);
        QCOMPARE(cell(1, 1), "AGUA");
        QCOMPARE(grid.currentIndex().row(), 0);

        // A row that cannot be posted keeps the grid on it.
        Messages::Recorder recorder;
        tb->edit();
        movements->field("MOVCODIGO")->clear();
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, grid.visualRect(model->index(1, 1)).center());
        QCOMPARE(recorder.texts(), QStringList{"Preencha o campo MOVCODIGO."});
        QCOMPARE(tb->currentIndex(), 0);
        QCOMPARE(grid.currentIndex().row(), 0);
        QCOMPARE(grid.selectionModel()->selectedRows().size(), 1);
        QCOMPARE(grid.selectionModel()->selectedRows().first().row(), 0);
        QCOMPARE(marked(), QList<int>{0});
        tb->cancel();
        tb->close();
        QCOMPARE(model->rowCount(), 0);
        QVERIFY(!grid.currentIndex().isValid());
    }
};

QTEST_MAIN(TestListControls)
#include "tst_listcontrols.moc"
