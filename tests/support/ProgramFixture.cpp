#include "ProgramFixture.h"

#include "reports/engine/PrintPreview.h"

#include "datamodule/PasswordHash.h"
#include "datamodule/Session.h"
#include "datamodule/SystemPaths.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QTimer>

ProgramFixture::ProgramFixture()
{
    SystemPaths::setDriveRoot(m_root.path());
    writeFile(QStringLiteral("C:\\aliaslivro.txt"), db.folder().toLocal8Bit());
}

ProgramFixture::~ProgramFixture()
{
    SystemPaths::setDriveRoot(QStringLiteral("/"));
}

QString ProgramFixture::fixedPath(const QString &windowsPath) const
{
    return SystemPaths::fixedPath(windowsPath);
}

void ProgramFixture::writeFile(const QString &windowsPath, const QByteArray &bytes) const
{
    const QString path = fixedPath(windowsPath);
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

QByteArray ProgramFixture::readFile(const QString &windowsPath) const
{
    QFile f(fixedPath(windowsPath));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void startSession(Profile profile)
{
    Account account;
    account.code = 1;
    account.userName = QStringLiteral("master");
    account.profile = profile;
    Session::start(account);
}

void addAccount(const TestDatabase &db, const NewAccount &a)
{
    db.exec("INSERT INTO TUSUARIO (USUCODIGO, USULOGIN, USUPERFIL, USUATIVO, USUHASH, USUTROCARSENHA) "
            "VALUES (?, ?, ?, ?, ?, ?)",
            {a.code, a.userName, a.profile, a.active, PasswordHash::make(a.password), a.temporary ? 1 : 0});
}

namespace {
// Polls until `ready` gives a window, then runs `action` on it once.
void whenReady(std::function<QWidget *()> ready, std::function<void(QWidget *)> action)
{
    auto *timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, ready, action] {
        if (QWidget *window = ready()) {
            timer->stop();
            timer->deleteLater();
            action(window);
        }
    });
    timer->start();
}
} // namespace

void whenModalOpens(std::function<void(QWidget *)> action)
{
    whenReady([] { return QApplication::activeModalWidget(); }, action);
}

void whenPreviewLaidOut(std::function<void(PrintPreview *)> action)
{
    whenReady(
        []() -> QWidget * {
            auto *preview = qobject_cast<PrintPreview *>(QApplication::activeModalWidget());
            return preview && preview->isLaidOut() ? preview : nullptr;
        },
        [action](QWidget *window) { action(static_cast<PrintPreview *>(window)); });
}
