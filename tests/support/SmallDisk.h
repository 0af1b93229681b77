#pragma once

#include <QFile>
#include <QProcess>
#include <QString>

#include <unistd.h>

// A small file system of its own (tmpfs) below `dir`, unmounted when this
// goes; mounting needs root, so `mounted` says whether there is one.
class SmallDisk
{
public:
    SmallDisk(const QString &dir, int megabytes) : m_dir(dir)
    {
        mounted = geteuid() == 0
            && run({QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                    QStringLiteral("size=%1k").arg(megabytes * 1024), QStringLiteral("tmpfs"), dir});
    }
    ~SmallDisk()
    {
        if (mounted)
            QProcess::execute(QStringLiteral("umount"), {m_dir});
    }
    bool makeReadOnly() { return run({QStringLiteral("-o"), QStringLiteral("remount,ro"), m_dir}); }
    // Writes a filler file until the disk is full.
    void fill() const
    {
        QFile filler(m_dir + QStringLiteral("/enchimento"));
        filler.open(QIODevice::WriteOnly);
        const QByteArray block(64 * 1024, 'x');
        while (filler.write(block) == block.size() && filler.flush()) {
        }
    }
    void freeSpace() const { QFile::remove(m_dir + QStringLiteral("/enchimento")); }

    bool mounted = false;

private:
    static bool run(const QStringList &arguments)
    {
        return QProcess::execute(QStringLiteral("mount"), arguments) == 0;
    }
    QString m_dir;
};

inline const char *const kNeedsRoot = "needs root to mount a small file system (tmpfs); run the suite as root to cover it";
