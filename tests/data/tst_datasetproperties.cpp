#include "Invariants.h"
#include "RegisterFixture.h"
#include "TestDatabase.h"

#include "uikit/Messages.h"
#include "controls/DBEdit.h"
#include "controls/DBGrid.h"
#include "controls/DBNavigator.h"
#include "dataset/DbError.h"
#include "main/UParamentros.h"
#include "registers/UCargo.h"

#include <QRandomGenerator>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <QtTest>

#include <algorithm>
#include <numeric>

// Random sequences of the table dataset's operations on the positions table,
// each step done both on TBCARGO and on a small reference model of what the
// dataset promises; after every step the two must agree, and after every apply
// the database must hold what the model says was written, with nothing left
// pending. Then random user actions on two register windows: after each one
// nothing is left unapplied and the table holds what the database holds.
namespace {

struct Row
{
    int code = 0;
    QString text; // empty: no value
    double salary = 0;
    bool operator==(const Row &) const = default;
};

QString describe(const Row &r)
{
    return QStringLiteral("%1|%2|%3").arg(r.code).arg(r.text).arg(r.salary);
}

enum class Mode { Browse, Edit, Insert };

// What the dataset promises, written as plainly as possible.
struct Model
{
    std::vector<Row> rows;      // live rows, in load order
    std::vector<Row> committed; // as last read or applied, same order
    Mode mode = Mode::Browse;
    Row buffer;
    int editCode = 0;
    int current = -1;           // index among the visible rows
    QString pattern;            // the search text between the two "%"
    bool filtered = false;

    bool passes(const Row &r) const
    {
        return !filtered || pattern.isNull() || (!r.text.isEmpty() && r.text.toUpper().contains(pattern.toUpper()));
    }
    std::vector<Row> visible() const
    {
        std::vector<Row> v;
        std::copy_if(rows.begin(), rows.end(), std::back_inserter(v), [this](const Row &r) { return passes(r); });
        return v;
    }
    void clampCurrent(int index)
    {
        const int n = int(visible().size());
        current = n == 0 ? -1 : std::clamp(index, 0, n - 1);
    }
    int visibleIndexOf(int code) const
    {
        const auto v = visible();
        const auto it = std::find_if(v.begin(), v.end(), [code](const Row &r) { return r.code == code; });
        return it == v.end() ? -1 : int(it - v.begin());
    }
    int nextCode() const
    {
        int next = 1;
        for (const Row &r : rows)
            next = std::max(next, r.code + 1);
        return next;
    }
    void post()
    {
        if (mode == Mode::Browse)
            return;
        const bool inserted = mode == Mode::Insert;
        if (inserted)
            rows.push_back(buffer);
        else
            *std::find_if(rows.begin(), rows.end(), [this](const Row &r) { return r.code == editCode; }) = buffer;
        mode = Mode::Browse;
        if (inserted || filtered) {
            const int shown = visibleIndexOf(buffer.code);
            clampCurrent(shown >= 0 ? shown : current);
        }
    }
    void cancel() { mode = Mode::Browse; }
    void insert(int code)
    {
        post();
        buffer = Row{code, {}, 0};
        mode = Mode::Insert;
    }
    void edit(int newCode)
    {
        if (mode != Mode::Browse)
            return;
        if (current < 0) {
            insert(newCode);
            return;
        }
        buffer = visible()[size_t(current)];
        editCode = buffer.code;
        mode = Mode::Edit;
    }
    bool del()
    {
        if (mode == Mode::Insert) {
            cancel();
            return true;
        }
        cancel();
        if (current < 0)
            return false;
        const int code = visible()[size_t(current)].code;
        rows.erase(std::find_if(rows.begin(), rows.end(), [code](const Row &r) { return r.code == code; }));
        clampCurrent(current);
        return true;
    }
    void setFilter(const QString &text)
    {
        if (filtered)
            post();
        pattern = text;
        if (filtered)
            clampCurrent(0);
    }
    void setFiltered(bool on)
    {
        if (on == filtered)
            return;
        post();
        filtered = on;
        clampCurrent(0);
    }
    bool locate(const std::function<bool(const Row &)> &wanted)
    {
        post();
        const auto v = visible();
        const auto it = std::find_if(v.begin(), v.end(), wanted);
        if (it == v.end())
            return false;
        current = int(it - v.begin());
        return true;
    }
    void apply()
    {
        post();
        committed = rows;
    }
    void cancelUpdates()
    {
        cancel();
        rows = committed;
        clampCurrent(current);
    }
};

const QStringList kPieces = {QStringLiteral("ana"), QStringLiteral("JOÃO"), QStringLiteral("joão"),
                             QStringLiteral("Maria"), QStringLiteral("çé"), QStringLiteral(" "),
                             QStringLiteral("d'Ávila"), QStringLiteral("x"), QStringLiteral("ÓRGÃO €")};

class Runner
{
public:
    Runner(TDM &dm, const TestDatabase &db, quint32 seed) : m_dm(dm), m_db(db), m_random(seed)
    {
        m_tb = dm.TBCARGO;
        m_tb->open();
    }

    // One random step; a text describing the first disagreement, empty when none.
    QString step()
    {
        const int pick = m_random.bounded(100);
        if (pick < 14)
            return insertRow();
        if (pick < 28)
            return editRow();
        if (pick < 36)
            return changeField();
        if (pick < 46)
            return same("post", [this] { m_tb->post(); }, [this] { m_model.post(); });
        if (pick < 52)
            return same("cancel", [this] { m_tb->cancel(); }, [this] { m_model.cancel(); });
        if (pick < 60)
            return deleteRow();
        if (pick < 68)
            return filter();
        if (pick < 74)
            return toggleFilter();
        if (pick < 84)
            return locate();
        if (pick < 93)
            return apply();
        if (pick < 96)
            return same("cancelUpdates", [this] { m_tb->cancelUpdates(); }, [this] { m_model.cancelUpdates(); });
        return reopen();
    }

    QStringList log;

private:
    QString text()
    {
        QString t;
        const int parts = m_random.bounded(8);
        for (int i = 0; i < parts; ++i)
            t += kPieces[m_random.bounded(kPieces.size())];
        return t;
    }

    QString same(const char *name, const std::function<void()> &real, const std::function<void()> &model)
    {
        log << QString::fromLatin1(name);
        real();
        model();
        return compare();
    }

    // The new code is the largest one plus one, counted after the pending row is posted.
    int newCode()
    {
        Model posted = m_model;
        posted.post();
        return posted.nextCode();
    }

    QString insertRow()
    {
        const int code = newCode();
        log << QStringLiteral("insert %1").arg(code);
        m_tb->insert();
        m_dm.TBCARGOCARCODIGO->setAsInteger(code);
        m_model.insert(code);
        return compare();
    }

    QString editRow()
    {
        const int code = newCode();
        log << QStringLiteral("edit");
        m_tb->edit();
        if (m_tb->state() == Dataset::State::Insert && m_model.mode == Mode::Browse)
            m_dm.TBCARGOCARCODIGO->setAsInteger(code);
        m_model.edit(code);
        return compare();
    }

    // Typing into a field: refused outside the edit modes, cut to the column width.
    QString changeField()
    {
        const QString typed = text();
        const double salary = m_random.bounded(40000) / 4.0;
        log << QStringLiteral("type \"%1\" %2").arg(typed).arg(salary);
        const QString refusal = dbErrorOf([&] {
            m_dm.TBCARGOCARDESCRICAO->setAsString(typed);
            m_dm.TBCARGOCARSALARIO->setAsFloat(salary);
        });
        if (m_model.mode == Mode::Browse)
            return refusal.isEmpty() ? QStringLiteral("typing was accepted in browse mode") : compare();
        if (!refusal.isEmpty())
            return QStringLiteral("typing refused: ") + refusal;
        m_model.buffer.text = typed.left(40);
        m_model.buffer.salary = salary;
        return compare();
    }

    QString deleteRow()
    {
        log << QStringLiteral("delete");
        const bool refused = !dbErrorOf([this] { m_tb->del(); }).isEmpty();
        if (refused == m_model.del())
            return QStringLiteral("delete refused: %1, expected the opposite").arg(refused);
        return compare();
    }

    QString filter()
    {
        const QString wanted = m_random.bounded(5) == 0 ? QString() : kPieces[m_random.bounded(kPieces.size())];
        log << QStringLiteral("filter \"%1\"").arg(wanted);
        QString expression;
        if (!wanted.isNull())
            expression = QStringLiteral("(UPPER(CARDESCRICAO) LIKE UPPER('%%1%'))")
                             .arg(QString(wanted).replace(u'\'', QStringLiteral("''")));
        m_tb->setFilter(expression);
        m_model.setFilter(wanted);
        return compare();
    }

    QString toggleFilter()
    {
        const bool on = !m_tb->filtered();
        log << QStringLiteral("filtered %1").arg(on);
        m_tb->setFiltered(on);
        m_model.setFiltered(on);
        return compare();
    }

    // By code (one that exists or one past the end) or by an exact description.
    QString locate()
    {
        bool found = false, expected = false;
        if (m_random.bounded(2) == 0) {
            const int code = 1 + m_random.bounded(m_model.nextCode() + 1);
            log << QStringLiteral("locate code %1").arg(code);
            found = m_tb->locate(QStringLiteral("CARCODIGO"), {code});
            expected = m_model.locate([code](const Row &r) { return r.code == code; });
        } else {
            const QString wanted = m_model.rows.empty() || m_random.bounded(3) == 0
                ? text()
                : m_model.rows[size_t(m_random.bounded(int(m_model.rows.size())))].text;
            log << QStringLiteral("locate text \"%1\"").arg(wanted);
            found = m_tb->locate(QStringLiteral("CARDESCRICAO"), {wanted});
            expected = m_model.locate([&wanted](const Row &r) { return r.text == wanted; });
        }
        if (found != expected)
            return QStringLiteral("locate gave %1").arg(found);
        return compare();
    }

    QString apply()
    {
        log << QStringLiteral("apply");
        m_tb->applyUpdates(0);
        m_model.apply();
        if (const QStringList pending = tablesWithUnappliedChanges(&m_dm); !pending.isEmpty())
            return QStringLiteral("changes still pending after apply in ") + pending.join(u' ');
        if (const QString d = compare(); !d.isEmpty())
            return d;
        return compareDatabase();
    }

    // A table read again comes in the database's order, which the model takes over.
    QString reopen()
    {
        log << QStringLiteral("reopen");
        m_tb->close();
        m_tb->open();
        m_model.mode = Mode::Browse;
        if (const QString d = compareDatabase(); !d.isEmpty())
            return d;
        std::vector<Row> loaded;
        for (int i = 0; i < m_tb->allRowCount(); ++i)
            loaded.push_back(rowOf([&](int c) { return m_tb->allRowValue(i, c); }));
        m_model.rows = m_model.committed = loaded;
        m_model.clampCurrent(0);
        return compare();
    }

    static Row rowOf(const std::function<QVariant(int)> &value)
    {
        return Row{value(0).toInt(), value(1).toString(), value(2).toDouble()};
    }

    QString compare() const
    {
        const Mode mode = m_tb->state() == Dataset::State::Insert ? Mode::Insert
            : m_tb->state() == Dataset::State::Edit               ? Mode::Edit
                                                                  : Mode::Browse;
        if (mode != m_model.mode)
            return QStringLiteral("mode %1, expected %2").arg(int(mode)).arg(int(m_model.mode));
        QStringList real, expected;
        for (int i = 0; i < m_tb->recordCount(); ++i)
            real << describe(rowOf([&](int c) { return m_tb->valueAt(i, c); }));
        for (const Row &r : m_model.visible())
            expected << describe(r);
        if (real != expected)
            return QStringLiteral("visible rows\n  %1\nexpected\n  %2").arg(real.join(u' '), expected.join(u' '));
        const bool empty = m_tb->recordCount() == 0;
        if ((empty ? -1 : m_tb->currentIndex()) != m_model.current)
            return QStringLiteral("current %1, expected %2").arg(m_tb->currentIndex()).arg(m_model.current);
        const Row shown = rowOf([&](int c) { return m_tb->fieldValue(c); });
        const Row wanted = m_model.mode != Mode::Browse ? m_model.buffer
            : m_model.current < 0                        ? Row{}
                                                         : m_model.visible()[size_t(m_model.current)];
        if (!(shown == wanted))
            return QStringLiteral("fields %1, expected %2").arg(describe(shown), describe(wanted));
        return {};
    }

    QString compareDatabase() const
    {
        QStringList stored, expected;
        for (const QVariantList &r : m_db.rows("SELECT CARCODIGO, CARDESCRICAO, CARSALARIO FROM TCARGO ORDER BY CARCODIGO"))
            stored << describe(rowOf([&](int c) { return r[c]; }));
        std::vector<Row> sorted = m_model.committed;
        std::sort(sorted.begin(), sorted.end(), [](const Row &a, const Row &b) { return a.code < b.code; });
        for (const Row &r : sorted)
            expected << describe(r);
        if (stored != expected)
            return QStringLiteral("database\n  %1\nexpected\n  %2").arg(stored.join(u' '), expected.join(u' '));
        return {};
    }

    TDM &m_dm;
    const TestDatabase &m_db;
    TableDataset *m_tb;
    QRandomGenerator m_random;
    Model m_model;
};


// A user at the positions register (the table read anew on Novo) or at the
// parameters (read once, the code typed by the user): one random action per
// step, through the window's own controls. After each one no table holds a
// change that was not applied, and the rows in memory are the stored rows.
class FormRunner
{
public:
    FormRunner(SignedInProgram &program, bool parameters, quint32 seed)
        : m_program(program), m_parameters(parameters), m_random(seed)
    {
        m_sql = parameters ? QStringLiteral("SELECT PARCODIGO, PARVALOR FROM TPARAMETROS")
                           : QStringLiteral("SELECT CARCODIGO, CARDESCRICAO FROM TCARGO");
        const QString insert = parameters ? QStringLiteral("INSERT INTO TPARAMETROS (PARCODIGO, PARVALOR) VALUES (?, ?)")
                                          : QStringLiteral("INSERT INTO TCARGO (CARCODIGO, CARDESCRICAO) VALUES (?, ?)");
        for (int code : {1, 2, 3})
            program.fx.db.exec(insert, {code, QStringLiteral("ana %1").arg(code)});
        reopen();
    }

    QStringList log;

    QString step(Messages::Recorder &recorder)
    {
        recorder.answers = {m_random.bounded(2) == 0};
        // Each action once, those of everyday work more often.
        static const int weights[] = {2, 2, 3, 1, 1, 1, 3, 1, 2, 2, 1, 2, 2, 1, 1, 1};
        int pick = m_random.bounded(std::accumulate(std::begin(weights), std::end(weights), 0));
        int index = 0;
        while (pick >= weights[index])
            pick -= weights[index++];
        const std::pair<const char *, std::function<void()>> actions[] = {
            {"Novo", [this] { m_window->btnNovo->click(); }},
            {"Alterar", [this] { m_window->btnAlterar->click(); }},
            {"Salvar", [this] { m_window->btnSalvar->click(); }},
            {"Cancelar", [this] { m_window->btnCancelar->click(); }},
            {"Excluir", [this] { m_window->btnExcluir->click(); }},
            {"Consultar", [this] { m_window->btnConsultar->click(); }},
            {"digita texto", [this] { typeOver(textBox(), text()); }},
            {"digita código", [this] { typeOver(codeBox(), QString::number(1 + m_random.bounded(6))); }},
            {"aba", [this] { clickTab(m_random.bounded(2)); }},
            {"clique na grade", [this] { clickGrid(false); }},
            {"duplo clique na grade", [this] { clickGrid(true); }},
            {"navegador", [this] { clickNavigator(); }},
            {"busca", [this] { search(); }},
            {"F5", [this] { QTest::keyClick(textBox(), Qt::Key_F5); }},
            {"Esc", [this] { QTest::keyClick(textBox(), Qt::Key_Escape); }},
            {"fecha e abre", [this] { reopen(); }},
        };
        log << QString::fromUtf8(actions[index].first);
        actions[index].second();
        if (!m_window->isVisible())
            reopen(); // Esc closed a window without shortcut keys
        if (const QStringList pending = tablesWithUnappliedChanges(DM); !pending.isEmpty())
            return QStringLiteral("changes never applied in ") + pending.join(u' ');
        return compareDatabase();
    }

private:
    TableDataset *table() const { return m_window->table(); }
    QLineEdit *textBox() const { return m_window->findChild<QLineEdit *>(QStringLiteral("DBEdit2")); }
    QLineEdit *codeBox() const { return m_window->findChild<QLineEdit *>(QStringLiteral("DBEdit1")); }

    void reopen()
    {
        if (m_window)
            m_window->close(); // as the close box does
        m_window.reset();
        if (m_parameters)
            m_window = m_program.open<TFParamentros>();
        else
            m_window = m_program.open<TFCargo>();
    }

    QString text()
    {
        static const QStringList pieces = {"ana", "JOAO", "x", "d'avila", "50%", " "};
        QString t;
        for (int i = 0, n = 1 + m_random.bounded(3); i < n; ++i)
            t += pieces[m_random.bounded(pieces.size())];
        return t;
    }

    static void typeOver(QLineEdit *box, const QString &text)
    {
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, text);
    }

    void clickTab(int index)
    {
        auto *tabs = m_window->PageControl1->findChild<QTabBar *>();
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(index).center());
    }

    void clickGrid(bool twice)
    {
        QAbstractItemModel *model = m_window->DBGrid1->model();
        if (model->rowCount() == 0)
            return;
        const QPoint at = m_window->DBGrid1->visualRect(model->index(m_random.bounded(model->rowCount()), 0)).center();
        if (twice)
            QTest::mouseDClick(m_window->DBGrid1->viewport(), Qt::LeftButton, {}, at);
        else
            QTest::mouseClick(m_window->DBGrid1->viewport(), Qt::LeftButton, {}, at);
    }

    void clickNavigator()
    {
        if (m_window->DBNavigator1)
            QTest::mouseClick(m_window->DBNavigator1->button(DBNavigator::Button(m_random.bounded(4))), Qt::LeftButton);
    }

    void search()
    {
        if (!m_window->searchBox)
            return;
        m_window->searchBox->setFocus();
        if (m_random.bounded(3) == 0)
            QTest::keyClick(m_window->searchBox, Qt::Key_Backspace);
        else
            QTest::keyClicks(m_window->searchBox, QString(QChar(u'a' + m_random.bounded(4))));
    }

    // The table's rows (the one being edited as it was read) against the database's.
    QString compareDatabase() const
    {
        TableDataset *t = table();
        if (!t->active())
            return {};
        QStringList memory, stored;
        for (int i = 0; i < t->allRowCount(); ++i)
            memory << t->allRowValue(i, 0).toString() + u'|' + t->allRowValue(i, 1).toString();
        for (const QVariantList &r : m_program.fx.db.rows(m_sql))
            stored << r.value(0).toString() + u'|' + r.value(1).toString();
        memory.sort();
        stored.sort();
        if (memory != stored)
            return QStringLiteral("in memory\n  %1\nstored\n  %2").arg(memory.join(u' '), stored.join(u' '));
        return {};
    }

    SignedInProgram &m_program;
    bool m_parameters;
    QRandomGenerator m_random;
    QString m_sql;
    std::unique_ptr<RecordForm> m_window;
};

} // namespace

class TestDatasetProperties : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        Q_INIT_RESOURCE(resources); // the register windows' pictures
        setUpTestProgram();
    }

    void randomOperationsAgreeWithTheModel_data()
    {
        QTest::addColumn<quint32>("seed");
        for (quint32 seed : {1u, 7u, 42u, 2024u})
            QTest::addRow("semente %u", seed) << seed;
    }

    void randomOperationsAgreeWithTheModel()
    {
        QFETCH(quint32, seed);
        const int steps = 1500;
        TestDatabase db;
        auto dm = db.connect();
        Runner runner(*dm, db, seed);
        for (int i = 0; i < steps; ++i) {
            QString difference;
            const QString error = dbErrorOf([&] { difference = runner.step(); });
            if (!error.isEmpty())
                difference = QStringLiteral("unexpected error: ") + error;
            if (!difference.isEmpty())
                QFAIL(qPrintable(QStringLiteral("step %1 (%2): %3\nlast steps: %4")
                                     .arg(i)
                                     .arg(runner.log.last(), difference, runner.log.mid(runner.log.size() - 12).join(QStringLiteral("; ")))));
        }
        qInfo("%d steps", steps);
    }

    void randomUserActionsLeaveNothingUnapplied_data()
    {
        QTest::addColumn<bool>("parameters");
        QTest::addColumn<quint32>("seed");
        for (quint32 seed : {3u, 11u}) {
            QTest::addRow("cargos, semente %u", seed) << false << seed;
            QTest::addRow("parâmetros, semente %u", seed) << true << seed;
        }
    }

    void randomUserActionsLeaveNothingUnapplied()
    {
        QFETCH(bool, parameters);
        QFETCH(quint32, seed);
        const int steps = 150;
        SignedInProgram p;
        Messages::Recorder recorder;
        FormRunner runner(p, parameters, seed);
        for (int i = 0; i < steps; ++i) {
            const QString difference = runner.step(recorder);
            if (!difference.isEmpty())
                QFAIL(qPrintable(QStringLiteral("step %1 (%2): %3\nlast steps: %4")
                                     .arg(i)
                                     .arg(runner.log.last(), difference, runner.log.mid(runner.log.size() - 12).join(QStringLiteral("; ")))));
        }
    }
};

QTEST_MAIN(TestDatasetProperties)
#include "tst_datasetproperties.moc"
