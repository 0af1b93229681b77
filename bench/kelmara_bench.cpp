// kelmara-bench --rede [MS,MBIT] [--igreja PASTA]: the program's steps across
// an office network (NetworkBench.h), for 5 ms / 50 Mbit/s and 20 ms /
// 20 Mbit/s unless one link is given.
// kelmara-bench [ARQUIVO] --gravacoes: only what the change log adds to
// writing 1,000 positions and to deleting them, and what a bare log line
// (no details) would add.
// kelmara-bench [ARQUIVO] [--igreja PASTA | --sem-igreja] [--senhas]: times
// and memory of the table datasets on a large members table, against plain
// Qt SQL and isql-fb reading the same table, and of the report engine; before
// them, the cost of the accounts' password hashes (--senhas: only that) and
// the figures of a church whose 1,500 members all have phone photographs (see
// PhotoChurch.h; its databases are kept in PASTA, by default in the temporary
// folder). Makes the files when they are absent. Prints one figure a line,
//     name value unit [ratio_vs_X R]...
// then one line per target, met or missed. A report: exits 0 either way.
#include "BackupBench.h"
#include "BenchKit.h"
#include "DemoData.h"
#include "NetworkBench.h"
#include "PasswordBench.h"
#include "PhotoChurch.h"
#include "SecretaryLists.h"
#include "uikit/KelmaraApplication.h"
#include "backup/Backup.h"
#include "datamodule/SchemaUpgrade.h"
#include "datamodule/Statements.h"
#include "datamodule/UDM.h"
#include "provider/EngineErrors.h"
#include "provider/QueryDataset.h"
#include "reports/engine/Report.h"
#include "controls/DBEdit.h"
#include "controls/DBGrid.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QDir>
#include <QFile>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QSqlTableModel>
#include <QTextStream>

#include <algorithm>
#include <functional>
#include <limits>
#include <optional>

namespace {

using namespace Bench;

const QString kSelectMembers = QStringLiteral("SELECT * FROM TMEMBRO");
const int kInserts = 1000;

// ---- What is compared

// A naive program's read: the default (scrollable) query, every value read.
void readWithQuery(QSqlQuery &q)
{
    if (!q.exec(kSelectMembers))
        throw dbErrorFrom(q.lastError());
    const int columns = q.record().count();
    while (q.next())
        for (int c = 0; c < columns; ++c)
            q.value(c);
}

void readWithModel(QSqlTableModel &model)
{
    model.setTable(QStringLiteral("TMEMBRO"));
    if (!model.select())
        throw dbErrorFrom(model.lastError());
    while (model.canFetchMore())
        model.fetchMore();
}

// The three ways of reading TMEMBRO, each held alive until `probe` has run.
void holdDataset(TDM &dm, const Probe &probe)
{
    dm.TBMEMBRO->open();
    probe();
    dm.TBMEMBRO->close();
}

void holdQuery(TDM &dm, const Probe &probe)
{
    QSqlQuery q(dm.SQLConnection1());
    readWithQuery(q);
    probe();
}

void holdModel(TDM &dm, const Probe &probe)
{
    QSqlTableModel model(nullptr, dm.SQLConnection1());
    readWithModel(model);
    probe();
}

// Time of building one (the release is not timed).
double readMs(TDM &dm, void (*hold)(TDM &, const Probe &))
{
    QElapsedTimer timer;
    timer.start();
    double ms = 0;
    hold(dm, [&] { ms = double(timer.nsecsElapsed()) / 1e6; });
    return ms;
}

// ---- The figures

// isql-fb fetching `select` from the file to /dev/null, less its own start
// and attachment (the same run with a query of one row); best of a few runs.
// Run while no connection of ours holds the file: the embedded engine opens
// it for one process at a time.
std::optional<double> isqlFetchMs(const QString &path, const QString &select)
{
    const QString isql = QStandardPaths::findExecutable(QStringLiteral("isql-fb"));
    if (isql.isEmpty())
        return std::nullopt;
    QTemporaryDir dir;
    auto runMs = [&](const QString &sql) {
        const QString script = dir.filePath(QStringLiteral("q.sql"));
        QFile file(script);
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        file.write(sql.toUtf8() + ";\n");
        file.close();
        QProcess process;
        process.setStandardOutputFile(QProcess::nullDevice());
        return timedMs([&] {
            process.start(isql, {QStringLiteral("-q"), QStringLiteral("-user"), QStringLiteral("SYSDBA"),
                                 QStringLiteral("-password"), QStringLiteral("x"), QStringLiteral("-i"), script, path});
            process.waitForFinished(-1);
        });
    };
    const double whole = bestOf(kRuns, [&] { return runMs(select); });
    const double start = bestOf(kRuns, [&] { return runMs(QStringLiteral("SELECT 1 FROM RDB$DATABASE")); });
    return whole - start;
}

// The runs take turns, so that a busy moment of the machine hits all three alike.
Figure openFigure(TDM &dm, std::optional<double> isqlMs)
{
    double ours = std::numeric_limits<double>::infinity(), query = ours, model = ours;
    for (int i = 0; i < kRuns; ++i) {
        ours = std::min(ours, readMs(dm, holdDataset));
        query = std::min(query, readMs(dm, holdQuery));
        model = std::min(model, readMs(dm, holdModel));
    }
    return {QStringLiteral("open_tbmembro"), ours, QStringLiteral("ms"),
            {{QStringLiteral("query"), ours / query}, {QStringLiteral("model"), ours / model},
             {QStringLiteral("isql"), ratio(ours, isqlMs)}}};
}

Figure memoryFigure(TDM &dm)
{
    const auto ours = growthMiB([&](const Probe &p) { holdDataset(dm, p); });
    const auto query = growthMiB([&](const Probe &p) { holdQuery(dm, p); });
    const auto model = growthMiB([&](const Probe &p) { holdModel(dm, p); });
    return {QStringLiteral("memory_tbmembro"), ours, QStringLiteral("MiB"),
            {{QStringLiteral("query"), ratio(ours, query)}, {QStringLiteral("model"), ratio(ours, model)}}};
}

// One keystroke of the members search, the call the search box makes, with
// what follows it in the members window: the query page's grid and boxes of
// the entry page bound to the same rows.
double searchMs(TDM &dm)
{
    QWidget window;
    window.resize(900, 600);
    DBGrid grid(dm.DSMEMBRO, &window);
    grid.resize(880, 500);
    for (const char *column : {"MEMNOME", "MEMENDERECO", "MEMTELEFONERES", "MEMEMAIL"})
        grid.addColumn(QString::fromLatin1(column), QString::fromLatin1(column), 200);
    DBEdit code(dm.DSMEMBRO, QStringLiteral("MEMCODIGO"), &window);
    DBEdit name(dm.DSMEMBRO, QStringLiteral("MEMNOME"), &window);
    window.show();
    QCoreApplication::processEvents();
    return bestOf(kQuickRuns, [&] {
        return timedMs([&] { dm.TBMEMBRO->setSearch(QStringLiteral("MEMNOME"), QStringLiteral("SIL")); });
    });
}

double newCodeMs(TableDataset *members, int column, int &code)
{
    return bestOf(kQuickRuns, [&] { return timedMs([&] { code = members->nextCode(column); }); });
}

// Posts 1,000 new positions in memory; returns the first new code.
int postPositions(TDM &dm)
{
    TableDataset *positions = dm.TBCARGO;
    const int first = positions->nextCode(dm.TBCARGOCARCODIGO->index());
    for (int i = 0; i < kInserts; ++i) {
        positions->insert();
        dm.TBCARGOCARCODIGO->setAsInteger(first + i);
        dm.TBCARGOCARDESCRICAO->setAsString(QStringLiteral("CARGO DE TESTE %1").arg(i + 1));
        dm.TBCARGOCARSALARIO->setAsFloat(1412.0 + i * 0.25);
        positions->post();
    }
    return first;
}

void deletePositions(TDM &dm, int first)
{
    for (int i = 0; i < kInserts; ++i) {
        if (!dm.TBCARGO->locate(QStringLiteral("CARCODIGO"), {first + i}))
            throw DbError(QStringLiteral("O cargo de teste %1 não foi encontrado para exclusão.").arg(first + i));
        dm.TBCARGO->del();
    }
}

// Writing 1,000 inserted positions, then writing their deletion, so that the
// file is left as it was; best of several rounds, for each commit waits on
// the disk. Only applyUpdates is timed.
std::pair<double, double> applyMs(TDM &dm)
{
    TableDataset *positions = dm.TBCARGO;
    positions->open();
    double inserts = std::numeric_limits<double>::infinity(), deletes = inserts;
    for (int round = 0; round < kQuickRuns; ++round) {
        const int first = postPositions(dm);
        inserts = std::min(inserts, timedMs([&] { positions->applyUpdates(0); }));
        deletePositions(dm, first);
        deletes = std::min(deletes, timedMs([&] { positions->applyUpdates(0); }));
    }
    positions->close();
    return {inserts, deletes};
}

// ---- The report engine

const int kReportRows = 10000;

// A member list of 10,000 rows: title, shaded detail of five columns, dated footer.
struct MemberListReport
{
    explicit MemberListReport(TDM &dm) : query(QStringLiteral("QMembro"), dm.connectionName())
    {
        query.setSql({QStringLiteral("SELECT FIRST %1 * FROM TMEMBRO").arg(kReportRows),
                      QStringLiteral("ORDER BY MEMNOME")});
        query.open();
        report.dataset = &query;
        report.rowsBetweenEvents = 200;
        Band *title = report.addBand(Band::Kind::Title, QStringLiteral("QRBand1"), 325);
        title->addLabel(QStringLiteral("QRLabel1"), QRect(700, 0, 500, 60), QStringLiteral("Relatório de Membros"));
        Band *detail = report.addBand(Band::Kind::Detail, QStringLiteral("QRBand2"), 64);
        const QList<std::pair<int, const char *>> columns{
            {11, "MEMNOME"}, {503, "MEMTELEFONERES"}, {712, "MEMEMAIL"}, {1132, "MEMENDERECO"}, {1600, "MEMCELULAR"}};
        for (const auto &[left, column] : columns)
            detail->addDataText(QString::fromLatin1(column), QRect(left, 10, 280, 40), QString::fromLatin1(column))
                ->font.pointSize = 7;
        detail->beforePrint = [this](Band &band) {
            band.background = (cream = !cream) ? QColor(255, 251, 240) : QColor(Qt::white);
        };
        Band *footer = report.addBand(Band::Kind::PageFooter, QStringLiteral("QRBand3"), 445);
        footer->addLabel(QStringLiteral("txtData"), QRect(1720, 296, 200, 40), QStringLiteral("08/12/2026"));
    }
    QueryDataset query;
    Report report;
    bool cream = false;
};

void reportFigures(TDM &dm)
{
    MemberListReport list(dm);
    ReportRun run;
    const double layoutMs = bestOf(kRuns, [&] { return timedMs([&] { run = list.report.run(); }); });
    const double pages = double(run.pages().size());
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("m.pdf"));
    const double pdfMs = bestOf(kRuns, [&] { return timedMs([&] { writePdf(pdf, run); }); });
    const double pdfKiB = double(QFileInfo(pdf).size()) / 1024;
    // One page painted as the preview shows it at 100 % on a 96 dpi screen:
    // the second, a full page of rows, when the file has members enough.
    QImage screen(794, 1123, QImage::Format_ARGB32_Premultiplied);
    const qsizetype painted = std::min<qsizetype>(1, run.pages().size() - 1);
    const double paintMs = bestOf(kQuickRuns, [&] {
        screen.fill(Qt::white);
        QPainter painter(&screen);
        return timedMs([&] { paintPage(painter, run.pages().at(painted), run.images(), 96 / 254.0); });
    });
    run = ReportRun();
    const auto heldMiB = growthMiB([&](const Probe &probe) {
        const ReportRun held = list.report.run();
        probe();
    });

    printFigure({QStringLiteral("report_pages"), pages, QStringLiteral("pages")});
    printFigure({QStringLiteral("report_layout"), layoutMs, QStringLiteral("ms")});
    printFigure({QStringLiteral("report_layout_per_page"), layoutMs / pages, QStringLiteral("ms")});
    printFigure({QStringLiteral("report_pdf"), pdfMs, QStringLiteral("ms")});
    printFigure({QStringLiteral("report_pdf_per_page"), pdfMs / pages, QStringLiteral("ms")});
    printFigure({QStringLiteral("report_pdf_size"), pdfKiB, QStringLiteral("KiB")});
    printFigure({QStringLiteral("report_page_paint"), paintMs, QStringLiteral("ms")});
    printFigure({QStringLiteral("report_pages_held"), heldMiB, QStringLiteral("MiB")});
    printTarget({QStringLiteral("report_layout"), layoutMs, true, 500.0});
    printTarget({QStringLiteral("report_pdf"), pdfMs, true, 1000.0});
    printTarget({QStringLiteral("report_page_paint"), paintMs, true, 50.0});
    printTarget({QStringLiteral("report_pages_held"), heldMiB, true, 50.0});
}

void ensureDatabase(const QString &path)
{
    if (QFileInfo::exists(path))
        return;
    QTextStream(stderr) << "Criando " << path << " com 100.000 membros..." << Qt::endl;
    DemoSizes sizes;
    sizes.members = 100000;
    fillDemoData(path, sizes);
}

// The database as the program has it once signed in: at the latest level of
// its structure, every write logged by the engine.
void bringUpToDate(const QString &path)
{
    Backup::withConnection(path, [](const QSqlDatabase &db) { SchemaUpgrade::bringUpToDate(db); });
}

// The positions' change log on or off, for what the log adds to the applies.
void logPositions(const QString &path, bool on)
{
    Backup::withConnection(path, [on](const QSqlDatabase &db) {
        Statements::execute(db, QStringLiteral("ALTER TRIGGER TCARGO_HISTORICO %1")
                                    .arg(on ? QLatin1String("ACTIVE") : QLatin1String("INACTIVE")));
    });
}

std::pair<double, double> unloggedApplyMs(const QString &path)
{
    logPositions(path, false);
    std::pair<double, double> ms;
    {
        TDM bare(nullptr, QStringLiteral("bench-sem-historico"), path);
        ms = applyMs(bare);
    }
    logPositions(path, true);
    return ms;
}

// The applies on `dm`, against `unlogged` (without the log), printed with
// `suffix` after their names.
struct ApplyFigures
{
    double inserts, deletes, insertsRatio, deletesRatio;
};

ApplyFigures applyFigures(TDM &dm, std::pair<double, double> unlogged, const QString &suffix = {})
{
    const auto [inserts, deletes] = applyMs(dm);
    const ApplyFigures f{inserts, deletes, inserts / unlogged.first, deletes / unlogged.second};
    const QString name = QStringLiteral("sem_historico"), ms = QStringLiteral("ms");
    printFigure({QStringLiteral("apply_1000_inserts") + suffix, inserts, ms, {{name, f.insertsRatio}}});
    printFigure({QStringLiteral("apply_1000_deletes") + suffix, deletes, ms, {{name, f.deletesRatio}}});
    return f;
}

void printApplyTargets(const ApplyFigures &f)
{
    printTarget({QStringLiteral("apply_1000_inserts"), f.inserts, true, 100.0});
    printTarget({QStringLiteral("apply_1000_inserts.ratio_vs_sem_historico"), f.insertsRatio, false, 2.0});
    printTarget({QStringLiteral("apply_1000_deletes.ratio_vs_sem_historico"), f.deletesRatio, false, 2.0});
}

// The floor of any log that writes a line for each row written: on a copy
// of the file, the positions' log trigger replaced by one that writes the
// line with no details, through the log's own numbering trigger.
void bareLineFigures(const QString &path, std::pair<double, double> unlogged)
{
    QTemporaryDir dir;
    const QString copy = dir.filePath(QStringLiteral("linha-sem-detalhes.gdb"));
    if (!dir.isValid() || !QFile::copy(path, copy))
        throw DbError(QStringLiteral("Não foi possível copiar %1 para medir a linha sem detalhes.").arg(path));
    Backup::withConnection(copy, [](const QSqlDatabase &db) {
        Statements::execute(db, QStringLiteral(
                                    "RECREATE TRIGGER TCARGO_HISTORICO FOR TCARGO ACTIVE AFTER INSERT OR DELETE "
                                    "POSITION 32000 AS\nBEGIN\n"
                                    "  INSERT INTO TALTERACOES (ALTTABELA, ALTREGISTRO, ALTOPERACAO) VALUES ('TCARGO', "
                                    "IIF(INSERTING, NEW.CARCODIGO, OLD.CARCODIGO), IIF(INSERTING, 'I', 'E'));\n"
                                    "END"));
    });
    TDM dm(nullptr, QStringLiteral("bench-linha-sem-detalhes"), copy);
    applyFigures(dm, unlogged, QStringLiteral("_linha_sem_detalhes"));
}

void writesOnly(const QString &path)
{
    ensureDatabase(path);
    bringUpToDate(path);
    const std::pair<double, double> unlogged = unloggedApplyMs(path);
    {
        TDM dm(nullptr, QStringLiteral("bench"), path);
        printApplyTargets(applyFigures(dm, unlogged));
    }
    bareLineFigures(path, unlogged);
}

void run(const QString &path)
{
    ensureDatabase(path);
    bringUpToDate(path);
    const std::pair<double, double> unlogged = unloggedApplyMs(path);
    const std::optional<double> isqlMs = isqlFetchMs(path, kSelectMembers);
    TDM dm(nullptr, QStringLiteral("bench"), path);
    TableDataset *members = dm.TBMEMBRO;

    printFigure({QStringLiteral("isql_select_tbmembro"), isqlMs, QStringLiteral("ms")});
    const Figure open = openFigure(dm, isqlMs);
    printFigure(open);
    const Figure memory = memoryFigure(dm);
    printFigure(memory);

    members->open();
    const double search = searchMs(dm);
    printFigure({QStringLiteral("search_keystroke"), search, QStringLiteral("ms")});
    printFigure({QStringLiteral("search_rows"), double(members->recordCount()), QStringLiteral("rows")});
    int code = 0;
    const double newCode = newCodeMs(members, dm.TBMEMBROMEMCODIGO->index(), code);
    printFigure({QStringLiteral("new_code_scan"), newCode, QStringLiteral("ms")});
    printFigure({QStringLiteral("new_code_value"), double(code), QStringLiteral("code")});
    members->close();

    const ApplyFigures applies = applyFigures(dm, unlogged);

    printTarget({QStringLiteral("open_tbmembro.ratio_vs_query"), open.ratioTo(QStringLiteral("query")), false, 0.6});
    printTarget({QStringLiteral("open_tbmembro.ratio_vs_isql"), open.ratioTo(QStringLiteral("isql")), false, 1.5});
    printTarget({QStringLiteral("memory_tbmembro.ratio_vs_model"), memory.ratioTo(QStringLiteral("model")), false, 0.5});
    printTarget({QStringLiteral("search_keystroke"), search, true, 20.0});
    printTarget({QStringLiteral("new_code_scan"), newCode, true, 5.0});
    printApplyTargets(applies);

    reportFigures(dm);
    exportFigures(dm);
}

} // namespace

int main(int argc, char **argv)
{
    // Reports measure text with real fonts: a headless platform will do.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    Q_INIT_RESOURCE(resources); // the windows' icons
    QApplication app(argc, argv);
    useBrazilianLocale();
    QStringList args = app.arguments().mid(1);
    QString church = QDir::temp().filePath(QStringLiteral("kelmara-bench-igreja"));
    const qsizetype churchOption = args.indexOf(QStringLiteral("--igreja"));
    if (churchOption >= 0 && churchOption + 1 < args.size()) {
        church = args[churchOption + 1];
        args.remove(churchOption, 2);
    }
    if (args.removeAll(QStringLiteral("--sem-igreja")) > 0)
        church.clear();
    if (const qsizetype network = args.indexOf(QStringLiteral("--rede")); network >= 0) {
        QList<NetworkLink> links = {{5, 50}, {20, 20}};
        if (network + 1 < args.size() && !args[network + 1].startsWith(u'-')) {
            const QStringList link = args[network + 1].split(u',');
            links = {{link.value(0).toInt(), link.value(1).toDouble()}};
            args.remove(network + 1);
        }
        args.remove(network);
        if (links.first().megabits <= 0 || !args.isEmpty()) {
            QTextStream(stderr) << "uso: kelmara-bench --rede [MS,MBIT] [--igreja PASTA]" << Qt::endl;
            return 1;
        }
        try {
            networkFigures(church.isEmpty() ? QDir::temp().filePath(QStringLiteral("kelmara-bench-igreja")) : church,
                           links);
        } catch (const DbError &e) {
            QTextStream(stderr) << "kelmara-bench: " << e.text() << Qt::endl;
            return 1;
        }
        return 0;
    }
    const bool passwordsOnly = args.removeAll(QStringLiteral("--senhas")) > 0;
    const bool writes = args.removeAll(QStringLiteral("--gravacoes")) > 0;
    if (args.size() > 1 || (!args.isEmpty() && args.first().startsWith(u'-'))) {
        QTextStream(stderr) << "uso: kelmara-bench [ARQUIVO] [--igreja PASTA | --sem-igreja] [--senhas] | [ARQUIVO] --gravacoes | --rede [MS,MBIT]"
                            << Qt::endl;
        return 1;
    }
    const QString path = args.isEmpty() ? QDir::temp().filePath(QStringLiteral("kelmara-bench.gdb")) : args.first();
    try {
        if (writes) {
            writesOnly(path);
            return 0;
        }
        passwordFigures();
        if (passwordsOnly)
            return 0;
        // While the process is fresh: its memory is the program's own.
        if (!church.isEmpty())
            photoChurchFigures(church);
        run(path);
        backupFigures(path, {});
    } catch (const DbError &e) {
        QTextStream(stderr) << "kelmara-bench: " << e.text() << Qt::endl;
        return 1;
    }
    return 0;
}
