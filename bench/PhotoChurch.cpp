#include "PhotoChurch.h"

#include "BackupBench.h"
#include "BenchKit.h"
#include "SecretaryLists.h"
#include "DemoData.h"
#include "backup/Backup.h"
#include "datamodule/SystemPaths.h"
#include "datamodule/UDM.h"
#include "controls/DBImage.h"
#include "main/PhotoReduction.h"
#include "main/UMenu.h"
#include "registers/UMembro.h"
#include "signin/ULogin.h"
#include "uikit/Pictures.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QToolButton>

#include <limits>
#include <memory>

using namespace Bench;

namespace {

const int kMembers = 1500;
const int kPhotoKilobytes = 2400;
const int kBrowsed = 100;

QString churchFile(const QString &folder, bool photos)
{
    return QDir(folder).filePath(photos ? QStringLiteral("fotos/LIVRO.GDB") : QStringLiteral("sem-fotos/LIVRO.GDB"));
}

// The same members (the demo's rows come from a fixed seed), with or without photographs.
void ensureChurch(const QString &path, bool photos)
{
    if (QFileInfo::exists(path))
        return;
    QTextStream(stderr) << "Criando " << path << " com " << kMembers << " membros"
                        << (photos ? " e suas fotografias (alguns minutos)..." : "...") << Qt::endl;
    QDir().mkpath(QFileInfo(path).path());
    DemoSizes sizes;
    sizes.members = kMembers;
    sizes.photos = photos ? kMembers : 0;
    sizes.photoKilobytes = kPhotoKilobytes;
    fillDemoData(path, sizes);
}

struct TableFigures
{
    double openMs;
    std::optional<double> memoryMiB;
};

TableFigures membersTable(const QString &path)
{
    TDM dm(nullptr, QStringLiteral("bench-igreja"), path);
    TableDataset *members = dm.TBMEMBRO;
    const double open = bestOf(kQuickRuns, [&] {
        members->close();
        return timedMs([&] { members->open(); });
    });
    members->close();
    const auto memory = growthMiB([&](const Probe &probe) {
        members->open();
        probe();
        members->close();
    });
    return {open, memory};
}

// One photograph fetched from the database, and one fetched and shown in the
// members window's picture box; best of ten members not read before.
std::pair<double, double> photoOnDemand(const QString &path)
{
    TDM dm(nullptr, QStringLiteral("bench-foto"), path);
    TableDataset *members = dm.TBMEMBRO;
    members->open();
    double read = std::numeric_limits<double>::infinity(), shown = read;
    for (int i = 0; i < 10; ++i) {
        members->moveTo(i);
        read = std::min(read, timedMs([&] { dm.TBMEMBROMEMFOTO->asBytes(); }));
    }
    DBImage box(dm.DSMEMBRO, QStringLiteral("MEMFOTO"));
    box.setFixedSize(150, 150);
    for (int i = 10; i < 20; ++i)
        shown = std::min(shown, timedMs([&] { members->moveTo(i); }));
    return {read, shown};
}

struct ReductionFigures
{
    double surveyMs = 0;
    int found = 0;
    double reduceOneMs = std::numeric_limits<double>::infinity();
};

// What "Cópia de Segurança" does with photographs stored larger than the
// program stores them: the survey when the window opens, and one photograph
// read and stored again as "Buscar" stores it (the reduction of one, less
// its write); best of a few runs, of five members.
ReductionFigures photoReduction(const QString &path)
{
    ReductionFigures f;
    Backup::withConnection(path, [&](const QSqlDatabase &db) {
        f.surveyMs = bestOf(kRuns, [&] {
            return timedMs([&] { f.found = int(PhotoReduction::survey(db).photos.size()); });
        });
        QSqlQuery read(db);
        read.prepare(QStringLiteral("SELECT MEMFOTO FROM TMEMBRO WHERE MEMCODIGO = ?"));
        for (int code = 1; code <= 5; ++code)
            f.reduceOneMs = std::min(f.reduceOneMs, timedMs([&] {
                                         read.bindValue(0, code);
                                         if (read.exec() && read.next())
                                             Pictures::forStorage(read.value(0).toByteArray());
                                         read.finish();
                                     }));
    });
    return f;
}

struct StartFigures
{
    double connectMs = 0;
    double signInMs = 0;
    std::optional<double> residentMiB;
};

// The program as a user starts it: the alias file names the church's folder,
// the sign-in window connects, "Entrar" opens the main window with today's
// events; then "Cadastro de Membros" and the arrow through 100 members.
StartFigures startProgram(const QString &path)
{
    QTemporaryDir driveRoot;
    SystemPaths::setDriveRoot(driveRoot.path());
    QFile alias(SystemPaths::fixedPath(QStringLiteral("C:\\aliaslivro.txt")));
    alias.open(QIODevice::WriteOnly);
    alias.write(QFileInfo(path).absolutePath().toLocal8Bit());
    alias.close();

    StartFigures figures;
    std::unique_ptr<TFLogin> login;
    figures.connectMs = timedMs([&] { login = std::make_unique<TFLogin>(); });
    QObject::connect(login.get(), &TFLogin::signedIn, login.get(), [&] { (new TFMenu(login.get()))->show(); });
    login->show();
    QApplication::processEvents();
    login->txtLogin->setText(QStringLiteral("master"));
    login->txtSenha->setText(QStringLiteral("ravlen"));
    TFMenu *menu = nullptr;
    figures.signInMs = timedMs([&] {
        login->btnEntrar->click();
        while (!(menu = shownTopLevel<TFMenu>()))
            QApplication::processEvents();
        QApplication::processEvents();
    });
    auto *members = new TFMembro(menu);
    members->show();
    QApplication::processEvents();
    for (int i = 0; i < kBrowsed; ++i) {
        DM->TBMEMBRO->next();
        QApplication::processEvents();
    }
    figures.residentMiB = residentMiB();
    login.reset();
    SystemPaths::setDriveRoot(QStringLiteral("/"));
    return figures;
}

} // namespace

void photoChurchFigures(const QString &folder)
{
    const QString withPhotos = churchFile(folder, true), withoutPhotos = churchFile(folder, false);
    ensureChurch(withoutPhotos, false);
    ensureChurch(withPhotos, true);
    const TableFigures plain = membersTable(withoutPhotos);
    const TableFigures photos = membersTable(withPhotos);
    const auto openRatio = ratio(photos.openMs, plain.openMs);
    const auto memoryRatio = ratio(photos.memoryMiB, plain.memoryMiB);
    printFigure({QStringLiteral("open_tbmembro_fotos"), photos.openMs, QStringLiteral("ms"),
                 {{QStringLiteral("sem_fotos"), openRatio}}});
    printFigure({QStringLiteral("memory_tbmembro_fotos"), photos.memoryMiB, QStringLiteral("MiB"),
                 {{QStringLiteral("sem_fotos"), memoryRatio}}});
    const auto [readMs, shownMs] = photoOnDemand(withPhotos);
    printFigure({QStringLiteral("photo_read_on_demand"), readMs, QStringLiteral("ms")});
    printFigure({QStringLiteral("photo_read_and_shown"), shownMs, QStringLiteral("ms")});
    const StartFigures start = startProgram(withPhotos);
    printFigure({QStringLiteral("start_connect"), start.connectMs, QStringLiteral("ms")});
    printFigure({QStringLiteral("start_entrar_to_main_window"), start.signInMs, QStringLiteral("ms")});
    printFigure({QStringLiteral("memory_after_browsing_members"), start.residentMiB, QStringLiteral("MiB")});
    membershipCardFigures(withPhotos);
    const ReductionFigures reduction = photoReduction(withPhotos);
    printFigure({QStringLiteral("photo_survey"), reduction.surveyMs, QStringLiteral("ms")});
    printFigure({QStringLiteral("photo_survey_found"), double(reduction.found), QStringLiteral("photos")});
    printFigure({QStringLiteral("photo_reduce_one"), reduction.reduceOneMs, QStringLiteral("ms")});
    printFigure({QStringLiteral("photo_reduce_all_estimate"), reduction.reduceOneMs * reduction.found / 1000,
                 QStringLiteral("s")});

    backupFigures(withPhotos, QStringLiteral("_fotos"));

    printTarget({QStringLiteral("open_tbmembro_fotos.ratio_vs_sem_fotos"), openRatio, false, 1.2});
    printTarget({QStringLiteral("memory_tbmembro_fotos.ratio_vs_sem_fotos"), memoryRatio, false, 1.2});
    printTarget({QStringLiteral("photo_read_and_shown"), shownMs, true, 100.0});
    printTarget({QStringLiteral("photo_survey"), reduction.surveyMs, true, 1000.0});
    printTarget({QStringLiteral("start_entrar_to_main_window"), start.signInMs, true, 1000.0});
    printTarget({QStringLiteral("memory_after_browsing_members"), start.residentMiB, true, 250.0});
}
