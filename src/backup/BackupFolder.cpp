#include "BackupFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>

namespace {

const QString kStampFormat = QStringLiteral("yyyyMMdd-HHmmss");
const QString kPhotographs = QStringLiteral("fotografias");
const QString kPhotographBytes = QStringLiteral("bytes_das_fotografias");

QString counted(qint64 n, const char *one, const char *many)
{
    return QLocale().toString(n) + u' ' + QString::fromUtf8(n == 1 ? one : many);
}

// "LIVRO-20261208-143000-antes-da-atualizacao-falhou.fbk": stamp, tag, failed.
const QRegularExpression &ownName()
{
    static const QRegularExpression re(QStringLiteral("^LIVRO-(\\d{8}-\\d{6})((?:-[a-z0-9]+)*)\\.fbk$"),
                                       QRegularExpression::CaseInsensitiveOption);
    return re;
}

std::optional<BackupCounts> readRecord(const QString &copyPath)
{
    QFile record(copyPath + BackupFolder::kRecordSuffix);
    if (!record.open(QIODevice::ReadOnly))
        return std::nullopt;
    return BackupCounts::fromText(record.read(64 * 1024));
}

BackupCopy describe(const QFileInfo &file)
{
    BackupCopy copy;
    copy.path = file.absoluteFilePath();
    copy.size = file.size();
    copy.made = file.lastModified();
    const QRegularExpressionMatch m = ownName().match(file.fileName());
    const QDateTime stamp = m.hasMatch() ? QDateTime::fromString(m.captured(1), kStampFormat) : QDateTime();
    if (!stamp.isValid())
        return copy; // a foreign copy
    copy.made = stamp;
    QString rest = m.captured(2).mid(1);
    if (rest == BackupFolder::kFailedSuffix.mid(1) || rest.endsWith(BackupFolder::kFailedSuffix)) {
        copy.status = BackupCopy::Status::Failed;
        rest.chop(std::min(rest.size(), BackupFolder::kFailedSuffix.size()));
    } else {
        copy.counts = readRecord(copy.path);
        copy.status = copy.counts ? BackupCopy::Status::Checked : BackupCopy::Status::Unchecked;
    }
    copy.tag = rest;
    return copy;
}

bool prunable(const BackupCopy &copy)
{
    return copy.status == BackupCopy::Status::Checked && copy.tag.isEmpty();
}

// The copies that pruning keeps, out of the prunable ones (newest first):
// by count and month, then newest first as long as they fit in `mostBytes`.
QSet<QString> keptCopies(const QList<BackupCopy> &copies, const QDate &today, qint64 mostBytes)
{
    QSet<QString> kept;
    for (qsizetype i = 0; i < copies.size() && i < 10; ++i)
        kept << copies[i].path;
    for (int back = 0; back < 12; ++back) {
        const QDate month = today.addMonths(-back);
        const auto newest = std::find_if(copies.begin(), copies.end(), [&](const BackupCopy &c) {
            return c.made.date().year() == month.year() && c.made.date().month() == month.month();
        });
        if (newest != copies.end())
            kept << newest->path;
    }
    qint64 total = 0;
    int counted = 0;
    for (const BackupCopy &copy : copies) {
        if (!kept.contains(copy.path))
            continue;
        total += copy.size;
        if (++counted > BackupFolder::kAlwaysKept && total > mostBytes)
            kept.remove(copy.path);
    }
    return kept;
}

} // namespace

qint64 BackupCounts::totalRows() const
{
    qint64 total = 0;
    for (qint64 n : rows)
        total += n;
    return total;
}

QString BackupCounts::summary() const
{
    return QStringLiteral("%1, %2, %3 e %4")
        .arg(counted(members(), "membro", "membros"), counted(movements(), "movimento", "movimentos"),
             counted(books(), "livro", "livros"), counted(photographs, "fotografia", "fotografias"));
}

QByteArray BackupCounts::toText() const
{
    QByteArray text;
    for (auto it = rows.begin(); it != rows.end(); ++it)
        text += it.key().toUtf8() + '=' + QByteArray::number(it.value()) + '\n';
    text += kPhotographs.toUtf8() + '=' + QByteArray::number(photographs) + '\n';
    text += kPhotographBytes.toUtf8() + '=' + QByteArray::number(photographBytes) + '\n';
    return text;
}

std::optional<BackupCounts> BackupCounts::fromText(const QByteArray &text)
{
    BackupCounts counts;
    bool complete = false;
    for (const QByteArray &line : text.split('\n')) {
        const qsizetype eq = line.indexOf('=');
        if (eq <= 0)
            continue;
        bool ok = false;
        const qint64 value = line.mid(eq + 1).trimmed().toLongLong(&ok);
        if (!ok)
            return std::nullopt;
        const QString name = QString::fromUtf8(line.left(eq));
        if (name == kPhotographs)
            counts.photographs = value;
        else if (name == kPhotographBytes) {
            counts.photographBytes = value;
            complete = true;
        } else
            counts.rows.insert(name, value);
    }
    if (!complete || counts.rows.isEmpty())
        return std::nullopt;
    return counts;
}

namespace BackupFolder {

QString besideDatabase(const QString &databaseFile)
{
    return QFileInfo(databaseFile).absoluteDir().filePath(kFolderName);
}

QString copyName(const QDateTime &made, const QString &tag)
{
    return QStringLiteral("LIVRO-") + made.toString(kStampFormat) + (tag.isEmpty() ? QString() : u'-' + tag)
           + QStringLiteral(".fbk");
}

QString failedName(const QString &copyName)
{
    QString name = copyName;
    return name.insert(name.size() - 4, kFailedSuffix);
}

QList<BackupCopy> list(const QString &folder)
{
    QList<BackupCopy> copies;
    const QDir dir(folder);
    for (const QFileInfo &file : dir.entryInfoList({QStringLiteral("*.fbk"), QStringLiteral("*.FBK")}, QDir::Files))
        copies << describe(file);
    std::stable_sort(copies.begin(), copies.end(), [](const BackupCopy &a, const BackupCopy &b) { return a.made > b.made; });
    return copies;
}

std::optional<BackupCopy> newestChecked(const QString &folder)
{
    for (const BackupCopy &copy : list(folder))
        if (copy.status == BackupCopy::Status::Checked)
            return copy;
    return std::nullopt;
}

bool reminderDue(const QString &folder, const QDateTime &now)
{
    const std::optional<BackupCopy> newest = newestChecked(folder);
    return !newest || newest->made.addDays(7) < now;
}

QStringList prune(const QString &folder, const QDateTime &now, qint64 mostBytes)
{
    QList<BackupCopy> copies = list(folder);
    copies.removeIf([](const BackupCopy &c) { return !prunable(c); });
    const QSet<QString> kept = keptCopies(copies, now.date(), mostBytes);
    QStringList deleted;
    for (const BackupCopy &copy : copies) {
        if (kept.contains(copy.path) || !QFile::remove(copy.path))
            continue;
        QFile::remove(copy.path + kRecordSuffix);
        deleted << QFileInfo(copy.path).fileName();
    }
    const QDir dir(folder);
    for (const QFileInfo &partial : dir.entryInfoList({u'*' + kPartialSuffix}, QDir::Files))
        if (partial.lastModified().addSecs(3600) < now)
            QFile::remove(partial.absoluteFilePath());
    return deleted;
}

} // namespace BackupFolder
