#pragma once

#include "BackupFolder.h"
#include "provider/DatabaseLocation.h"

#include <QSqlDatabase>

#include <functional>
#include <memory>

class QTemporaryDir;
class TDM;

// Copies of the database made, checked and restored through the Firebird
// services manager: never by copying the file, which the engine holds open.
// The functions block; they touch no window and no connection of the
// program, so they may run on a worker thread (see BackupTask).
namespace Backup {

// The share of the work done (0 to 100) and what is being done.
using Progress = std::function<void(int percent, const QString &step)>;

// Runs `work` on a connection of its own to the database, opened and closed
// on the calling thread (so a worker thread may use it). DbError when it
// cannot be opened; whatever `work` throws goes on, the connection closed.
void withConnection(const QString &databasePath, const std::function<void(const QSqlDatabase &)> &work);

// What the database holds, through a connection of its own. DbError when it
// cannot be opened, is not a database of this program or is a restore that
// did not finish.
BackupCounts count(const QString &databasePath);

// Whether the database holds anything besides what it holds from the start:
// its sign-in accounts, the starting categories and its level.
bool holdsData(const QSqlDatabase &db);

// The folder of copies for this run: the one last chosen, else the folder
// "Copias de Seguranca" beside the database (on a server: the folder of the
// database on the server).
QString folderForRun(const QString &databasePath);
void chooseFolderForRun(const QString &folder);

// Makes a copy of the database into `folder` (on a server: the server's
// folder of the database) named LIVRO-AAAAMMDD-HHMMSS[-tag].fbk (a tag of
// lower-case letters, digits and hyphens, as "antes-da-atualizacao"), and checks
// it: restored into a temporary file, validated by the engine and counted
// against the database before and after the copy. Then prunes the folder.
// DbError, in Portuguese, when the copy could not be made (nothing is left
// under a copy's name) or failed its check (it is kept as "…-falhou.fbk").
// Of a local database nothing is written when the folder of the copy or the
// database's folder (where the test restore goes) has not room for it: each
// is estimated at the database file's size, or at what its rows and
// photographs take when that is less.
BackupCopy makeCheckedCopy(const QString &databasePath, const QString &folder, const QString &tag,
                           const Progress &progress);

// A copy restored into a new file beside the database and checked; the file
// goes with the last reference to it, unless it replaced the database.
struct RestoredCopy
{
    std::shared_ptr<QTemporaryDir> work;
    QString file;
    BackupCounts counts;
};

// Why `copy` cannot replace the database at all (it is on a server, where a
// restore is done on the server itself; the copy failed its check); empty
// when it may be tried.
QString restoreRefusal(const QString &databasePath, const BackupCopy &copy);

// Restores `copy` for replacing the database and checks it: validated,
// counted, and compared with what its record says it held. DbError when the
// database is on a server (a restore is done there), the copy failed its
// check, the database's folder has not room for what the copy holds (by its
// record; twice its size without one), or the restore fails; the database
// is not touched.
RestoredCopy restoreForReplacing(const QString &databasePath, const BackupCopy &copy, const Progress &progress);

// Puts a restored copy in the place of the database: closes the connection,
// keeps the current file as LIVRO-antes-da-restauracao-AAAAMMDD-HHMMSS.GDB
// beside it, moves the restored file in, reopens and re-reads every open
// table. The name of the kept file. DbError with the reason on any failure,
// and then the database is as it was, open and working. Refused while a table
// holds changes not yet written.
QString replaceDatabase(TDM &dm, const RestoredCopy &restored, const QDateTime &now);

} // namespace Backup
