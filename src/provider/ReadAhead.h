#pragma once

#include <QSqlDatabase>

#include <ibase.h>

#include <functional>
#include <future>

// Reads done beside the windows, one at a time and in order, on a thread of
// their own with an attachment of their own to the same database (so a
// transfer of theirs never holds up a statement of the windows, and on a
// network their traffic is compressed), so that what the next step will
// need is there when the user takes it: the tables the main window used to
// read at "Entrar", the photographs of the rows next to the one on screen.
namespace ReadAhead {

// Queues `job` for the connection `db`; the job gets the attachment of the
// reads beside it. Its result, or its DbError, comes through the future. A
// job still queued when the reads of `db` stop is never run: its future then
// holds a broken promise.
template <class T>
std::future<T> later(const QSqlDatabase &db, std::function<T(isc_db_handle)> job);

// Waits for the job that runs, drops the queued ones and detaches: before
// the connection closes.
void stop(const QSqlDatabase &db);

namespace detail {
void queue(const QSqlDatabase &db, std::function<void(isc_db_handle)> job);
}

template <class T>
std::future<T> later(const QSqlDatabase &db, std::function<T(isc_db_handle)> job)
{
    auto task = std::make_shared<std::packaged_task<T(isc_db_handle)>>(std::move(job));
    std::future<T> result = task->get_future();
    detail::queue(db, [task](isc_db_handle attachment) { (*task)(attachment); });
    return result;
}

} // namespace ReadAhead
