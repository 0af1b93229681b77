#include "BackupTask.h"

#include "dataset/DbError.h"

#include <QEventLoop>
#include <QThread>

BackupTask::BackupTask(Work work, QObject *parent) : QObject(parent), m_work(std::move(work))
{
}

BackupTask::~BackupTask()
{
    if (m_thread) {
        m_thread->wait();
        delete m_thread;
    }
}

void BackupTask::start()
{
    if (m_thread) {
        m_thread->wait();
        delete m_thread;
    }
    m_done = false;
    m_failure.clear();
    const Backup::Progress report = [this](int percent, const QString &step) {
        QMetaObject::invokeMethod(this, [this, percent, step] { emit progress(percent, step); }, Qt::QueuedConnection);
    };
    m_thread = QThread::create([this, report] {
        try {
            m_work(report);
        } catch (const DbError &e) {
            m_failure = e.text();
        } catch (const std::exception &e) {
            m_failure = QString::fromLocal8Bit(e.what());
        }
    });
    connect(m_thread, &QThread::finished, this, [this] {
        m_done = true;
        emit finished();
    });
    m_thread->start();
}

bool BackupTask::run()
{
    QEventLoop loop;
    connect(this, &BackupTask::finished, &loop, &QEventLoop::quit);
    start();
    if (!m_done)
        loop.exec();
    if (!m_done) { // the loop was told to end (the program is quitting): the work ends first
        m_thread->wait();
        m_done = true;
    }
    return m_failure.isEmpty();
}

bool BackupTask::running() const
{
    return m_thread && !m_done;
}
