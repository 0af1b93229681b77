#pragma once

#include "Backup.h"

#include <QObject>

class QThread;

// Runs one piece of backup work on a worker thread of its own, so the
// windows keep answering while the engine copies or restores. The services
// calls block for as long as the engine works between two lines of output
// (seconds on a table of photographs), which polling from the window thread
// could not hide; the work uses only its own services attachments and
// connections, never the program's. Progress and the end arrive as signals
// on the thread that owns the task.
class BackupTask : public QObject
{
    Q_OBJECT
public:
    using Work = std::function<void(const Backup::Progress &)>;

    explicit BackupTask(Work work, QObject *parent = nullptr);
    ~BackupTask() override; // waits for the work to end

    void start();
    // Starts the work and runs the event loop until it ended. False when it
    // raised a DbError, whose text `failure()` then holds.
    bool run();
    bool running() const;
    const QString &failure() const { return m_failure; }

signals:
    void progress(int percent, const QString &step);
    void finished();

private:
    Work m_work;
    QThread *m_thread = nullptr;
    QString m_failure;
    bool m_done = false;
};
