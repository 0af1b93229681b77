#include "ReadAhead.h"

#include "FirebirdClient.h"
#include "dataset/DbError.h"

#include <condition_variable>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <thread>

namespace ReadAhead {

namespace {

using Job = std::function<void(isc_db_handle)>;

class Worker
{
public:
    explicit Worker(const QSqlDatabase &db)
        : m_database(db.databaseName()), m_user(db.userName()), m_password(db.password()), m_thread([this] { run(); })
    {
    }
    ~Worker()
    {
        {
            std::lock_guard lock(m_mutex);
            m_stopping = true;
            m_jobs.clear();
        }
        m_wake.notify_one();
        m_thread.join();
    }
    void add(Job job)
    {
        {
            std::lock_guard lock(m_mutex);
            m_jobs.push_back(std::move(job));
        }
        m_wake.notify_one();
    }

private:
    // The attachment is made on the worker's thread with its first job; when
    // it cannot be made, each job gets none and fails with the reason.
    void run()
    {
        std::unique_ptr<Firebird::Attachment> attachment;
        for (;;) {
            Job job;
            {
                std::unique_lock lock(m_mutex);
                m_wake.wait(lock, [this] { return m_stopping || !m_jobs.empty(); });
                if (m_stopping)
                    return;
                job = std::move(m_jobs.front());
                m_jobs.pop_front();
            }
            if (!attachment) {
                try {
                    attachment = std::make_unique<Firebird::Attachment>(m_database, m_user, m_password);
                } catch (const DbError &) {
                }
            }
            job(attachment ? attachment->handle() : 0); // a packaged task: what it throws goes into its future
        }
    }

    const QString m_database, m_user, m_password;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<Job> m_jobs;
    bool m_stopping = false;
    std::thread m_thread;
};

std::mutex g_workersMutex;
std::map<QString, std::unique_ptr<Worker>> g_workers; // by connection name

} // namespace

namespace detail {

void queue(const QSqlDatabase &db, Job job)
{
    std::lock_guard lock(g_workersMutex);
    std::unique_ptr<Worker> &worker = g_workers[db.connectionName()];
    if (!worker)
        worker = std::make_unique<Worker>(db);
    worker->add(std::move(job));
}

} // namespace detail

void stop(const QSqlDatabase &db)
{
    std::unique_ptr<Worker> worker;
    {
        std::lock_guard lock(g_workersMutex);
        auto found = g_workers.find(db.connectionName());
        if (found == g_workers.end())
            return;
        worker = std::move(found->second);
        g_workers.erase(found);
    }
    worker.reset(); // outside the lock: the running job may take a while
}

} // namespace ReadAhead
