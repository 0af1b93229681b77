#pragma once

#include <QDateTime>
#include <QList>
#include <QMap>
#include <QString>

#include <optional>

// What a database holds, as the check of a copy counts it.
struct BackupCounts
{
    QMap<QString, qint64> rows; // rows of each table, by table name
    qint64 photographs = 0;     // members' and employees' pictures
    qint64 photographBytes = 0;

    qint64 members() const { return rows.value(QStringLiteral("TMEMBRO")); }
    qint64 movements() const { return rows.value(QStringLiteral("TMOVIMETACOES")); }
    qint64 books() const { return rows.value(QStringLiteral("TLIVRO")); }
    qint64 totalRows() const;
    // "1.234 membros, 5.678 movimentos, 12 livros e 300 fotografias"
    QString summary() const;
    bool operator==(const BackupCounts &) const = default;

    // One "name=value" line each, as the record beside a checked copy keeps them.
    QByteArray toText() const;
    static std::optional<BackupCounts> fromText(const QByteArray &text);
};

// A copy found in a folder of copies.
struct BackupCopy
{
    enum class Status { Checked, Failed, Unchecked };

    QString path;
    QDateTime made;
    qint64 size = 0;
    Status status = Status::Unchecked;
    QString tag; // "antes-da-atualizacao" and the like; empty for an ordinary copy
    std::optional<BackupCounts> counts; // what the check counted when it was made
};

// The folder of copies and the names in it. A copy is made as
// "LIVRO-AAAAMMDD-HHMMSS[-tag].fbk.parcial", renamed to
// "LIVRO-AAAAMMDD-HHMMSS[-tag].fbk" once its check passed (with a record
// "….fbk.conferida" of what it holds beside it) or to
// "…-falhou.fbk" when the check failed. Any other ".fbk" in the folder is a
// foreign copy: listed as unchecked, never deleted.
namespace BackupFolder {

inline const QString kFolderName = QStringLiteral("Copias de Seguranca");
inline const QString kFailedSuffix = QStringLiteral("-falhou");
inline const QString kPartialSuffix = QStringLiteral(".parcial");
inline const QString kRecordSuffix = QStringLiteral(".conferida");

// "Copias de Seguranca" in the folder of a local database file.
QString besideDatabase(const QString &databaseFile);

QString copyName(const QDateTime &made, const QString &tag = {});
QString failedName(const QString &copyName);

// Every ".fbk" of the folder, newest first.
QList<BackupCopy> list(const QString &folder);
std::optional<BackupCopy> newestChecked(const QString &folder);
// No checked copy, or the newest is more than seven days old.
bool reminderDue(const QString &folder, const QDateTime &now);

// What pruning keeps of the checked ordinary copies: together they take at
// most this much, but the three newest stay whatever their size.
inline constexpr qint64 kMostBytesKept = qint64(20) * 1024 * 1024 * 1024; // 20 GB
inline constexpr int kAlwaysKept = 3;

// Keeps the ten newest checked ordinary copies and the newest of each of the
// last twelve months (this one included), as far as they fit in `mostBytes`
// newest first (the three newest always), and deletes the other checked
// ordinary copies with their records; also the partial files that an
// interrupted copy left more than an hour ago. Failed, tagged and foreign
// copies are never deleted, nor counted. The names of the deleted copies.
QStringList prune(const QString &folder, const QDateTime &now, qint64 mostBytes = kMostBytesKept);

} // namespace BackupFolder
