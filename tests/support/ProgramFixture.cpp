#include "ProgramFixture.h"

#include "data/SystemPaths.h"

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

void whenModalOpens(std::function<void(QWidget *)> action)
{
    auto *timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, action] {
        if (QWidget *modal = QApplication::activeModalWidget()) {
            timer->stop();
            timer->deleteLater();
            action(modal);
        }
    });
    timer->start();
}
