#include "NetworkBench.h"

#include "BenchKit.h"
#include "DemoData.h"
#include "FirebirdServer.h"
#include "cashbook/UMovimentacoes.h"
#include "datamodule/SystemPaths.h"
#include "datamodule/UDM.h"
#include "dataset/DbError.h"
#include "main/UMenu.h"
#include "registers/UMembro.h"
#include "signin/ULogin.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QProcess>
#include <QTemporaryDir>
#include <QToolButton>

#include <memory>

using namespace Bench;

namespace {

const int kMembers = 1500;
const int kPhotoKilobytes = 250;
const int kMovements = 20000;
const int kBooks = 24;
const int kNextMembers = 30;
const int kSaves = 3;
const int kLookMs = 500;              // a user's look at a member before the next
const int kLookAtMainWindowMs = 2000; // at today's events, before the first register

// kelmara-rede between the program and the server, for as long as this lives.
class Relay
{
public:
    Relay(int port, int serverPort, const NetworkLink &link)
    {
        m_process.setProgram(QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("kelmara-rede")));
        m_process.setArguments({QString::number(port), QString::number(serverPort), QString::number(link.delayMs),
                                QString::number(link.megabits), QStringLiteral("3600")});
        m_process.start();
        if (!m_process.waitForReadyRead(10000) || !m_process.readLine().startsWith("pronto"))
            throw DbError(QStringLiteral("kelmara-rede não começou: ") + m_process.errorString());
    }
    ~Relay()
    {
        m_process.closeWriteChannel(); // it stops when its input closes
        if (!m_process.waitForFinished(5000))
            m_process.kill();
    }
    void reset()
    {
        m_process.write("0\n");
        m_process.waitForBytesWritten();
    }
    // Round trips and bytes of the program's own connection since the last
    // reset; what it reads beside the windows goes on a second connection.
    std::pair<int, qint64> counts()
    {
        m_process.write("?\n");
        while (!m_process.canReadLine() && m_process.waitForReadyRead(5000)) {
        }
        const QList<QByteArray> words = m_process.readLine().trimmed().split(' ');
        return {words.value(5).toInt(), words.value(6).toLongLong()};
    }

private:
    QProcess m_process;
};

struct Step
{
    QString name;
    double ms = 0;
    double roundTrips = 0;
    double kilobytes = 0;
};

// Times `work` and counts the round trips it took, divided by `times`.
Step measured(Relay &relay, const QString &name, int times, const std::function<void()> &work)
{
    relay.reset();
    const double ms = timedMs(work);
    const auto [trips, bytes] = relay.counts();
    return {name, ms / times, double(trips) / times, double(bytes) / 1024.0 / times};
}

// A moment of looking at the window, the events processed.
void pause(int ms = kLookMs)
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
}

// `press` done kNextMembers times, each followed by a pause; the time and the
// round trips of the presses alone, per press.
Step pressedWithPauses(Relay &relay, const QString &name, const std::function<void(int)> &press)
{
    Step total{name};
    for (int i = 0; i < kNextMembers; ++i) {
        const Step once = measured(relay, name, 1, [&] {
            press(i);
            QApplication::processEvents();
        });
        total.ms += once.ms / kNextMembers;
        total.roundTrips += once.roundTrips / kNextMembers;
        total.kilobytes += once.kilobytes / kNextMembers;
        pause();
    }
    return total;
}

void ensureChurch(const QString &path)
{
    if (QFileInfo::exists(path))
        return;
    QTextStream(stderr) << "Criando " << path << " com " << kMembers << " membros com fotografias de " << kPhotoKilobytes
                        << " KB e " << kMovements << " movimentações..." << Qt::endl;
    QDir().mkpath(QFileInfo(path).path());
    DemoSizes sizes;
    sizes.members = kMembers;
    sizes.photos = kMembers;
    sizes.photoKilobytes = kPhotoKilobytes;
    sizes.movements = kMovements;
    sizes.books = kBooks;
    fillDemoData(path, sizes);
}

// The user's steps, as in the windows, through the relay.
QList<Step> userSteps(Relay &relay)
{
    QList<Step> steps;
    auto login = std::make_unique<TFLogin>();
    QObject::connect(login.get(), &TFLogin::signedIn, login.get(), [&] { (new TFMenu(login.get()))->show(); });
    login->show();
    QApplication::processEvents();
    login->txtLogin->setText(QStringLiteral("master"));
    login->txtSenha->setText(QStringLiteral("ravlen"));
    TFMenu *menu = nullptr;
    steps << measured(relay, QStringLiteral("net_entrar_to_main_window"), 1, [&] {
        login->btnEntrar->click();
        while (!(menu = shownTopLevel<TFMenu>()))
            QApplication::processEvents();
        QApplication::processEvents();
    });
    pause(kLookAtMainWindowMs);
    TFMembro *members = nullptr;
    steps << measured(relay, QStringLiteral("net_open_tbmembro"), 1, [&] {
        members = new TFMembro(menu);
        members->show();
        QApplication::processEvents();
    });
    // A member far from the one on screen (a search, the grid): its
    // photograph not read ahead.
    steps << pressedWithPauses(relay, QStringLiteral("net_member_photo_not_read_ahead"), [&](int i) {
        DM->TBMEMBRO->moveTo(100 + 5 * i);
    });
    // "Próximo" as a user presses it, looking at each member a moment: the
    // next photograph was read meanwhile.
    DM->TBMEMBRO->moveTo(400);
    QApplication::processEvents();
    pause();
    steps << pressedWithPauses(relay, QStringLiteral("net_next_member_with_photo"), [&](int) {
        DM->TBMEMBRO->next();
    });
    members->close();
    delete members;
    pause(); // the user goes to the cash book; what the main window read ahead is there
    TFMovimentacoes *movements = nullptr;
    steps << measured(relay, QStringLiteral("net_open_movements"), 1, [&] {
        movements = new TFMovimentacoes(menu);
        movements->show();
        QApplication::processEvents();
    });
    Step save{QStringLiteral("net_save_movement"), std::numeric_limits<double>::infinity()};
    for (int i = 0; i < kSaves; ++i) {
        movements->btnNovoClick();
        DM->TBMOVIMENTACOESMOVDESCRICAO->setValue(QStringLiteral("OFERTA DO CULTO"));
        DM->TBMOVIMENTACOESMOVLIVRO->setValue(1);
        DM->TBMOVIMENTACOESMOVVALOR->setValue(150.0);
        DM->TBMOVIMENTACOESMOVDEBITOCREDITO->setValue(QStringLiteral("ENTRADA"));
        DM->TBMOVIMENTACOESMOVDATA->setValue(QDate(2026, 1, 4));
        const Step once = measured(relay, save.name, 1, [&] { movements->btnSalvarClick(); });
        if (once.ms < save.ms)
            save = once;
    }
    steps << save;
    movements->close();
    delete movements;
    login.reset();
    return steps;
}

QString linkName(const NetworkLink &link)
{
    return QStringLiteral("[%1,%2]").arg(link.delayMs).arg(link.megabits);
}

} // namespace

void networkFigures(const QString &folder, const QList<NetworkLink> &links)
{
    const QString path = QDir(folder).filePath(QStringLiteral("rede/LIVRO.GDB"));
    ensureChurch(path);
    FirebirdServer server;
    if (!server.missing.isEmpty() || !server.failure.isEmpty()) {
        QTextStream(stderr) << "kelmara-bench --rede: " << server.missing << server.failure << Qt::endl;
        return;
    }
    QTemporaryDir driveRoot;
    SystemPaths::setDriveRoot(driveRoot.path());
    const int relayPort = server.port() + 1;
    QList<std::pair<NetworkLink, QList<Step>>> results;
    for (const NetworkLink &link : QList<NetworkLink>{{0, 10000}} + links) {
        QFile alias(SystemPaths::fixedPath(QStringLiteral("C:\\aliaslivro.txt")));
        alias.open(QIODevice::WriteOnly);
        alias.write(QStringLiteral("127.0.0.1/%1:%2").arg(relayPort).arg(QFileInfo(path).absolutePath()).toUtf8());
        alias.close();
        Relay relay(relayPort, server.port(), link);
        const QList<Step> steps = userSteps(relay);
        for (const Step &s : steps) {
            printFigure({s.name + linkName(link), s.ms, QStringLiteral("ms")});
            printFigure({s.name + linkName(link) + QStringLiteral(".round_trips"), s.roundTrips, QStringLiteral("count")});
            printFigure({s.name + linkName(link) + QStringLiteral(".kilobytes"), s.kilobytes, QStringLiteral("KiB")});
        }
        results.append({link, steps});
    }
    SystemPaths::setDriveRoot(QStringLiteral("/"));
    const QList<std::tuple<QString, double, double>> targets = {
        {QStringLiteral("net_entrar_to_main_window"), 1000.0, 20},
        {QStringLiteral("net_next_member_with_photo"), 150.0, 0},
        {QStringLiteral("net_member_photo_not_read_ahead"), 250.0, 2},
        {QStringLiteral("net_open_movements"), 600.0, -1},
        {QStringLiteral("net_save_movement"), 100.0, 3},
    };
    for (const auto &[link, steps] : results) {
        if (link.delayMs != 20 || link.megabits != 20)
            continue;
        for (const Step &s : steps)
            for (const auto &[name, ms, trips] : targets) {
                if (s.name != name)
                    continue;
                printTarget({name + linkName(link), s.ms, true, ms});
                if (trips >= 0)
                    printTarget({name + linkName(link) + QStringLiteral(".round_trips"), s.roundTrips, false, trips});
            }
    }
}
