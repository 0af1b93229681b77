#include "ChangeLogLines.h"

namespace ChangeLogLines {

namespace {

QString day(const QDate &date)
{
    return date.toString(QStringLiteral("dd/MM/yyyy"));
}

} // namespace

const QStringList &titles()
{
    static const QStringList all{QStringLiteral("DATA E HORA"), QStringLiteral("CONTA"),    QStringLiteral("COMPUTADOR"),
                                 QStringLiteral("CADASTRO"),    QStringLiteral("CÓDIGO"),   QStringLiteral("OPERAÇÃO"),
                                 QStringLiteral("DETALHES")};
    return all;
}

QVariantList cells(const ChangeLog::Entry &entry)
{
    const QString who = entry.account == ChangeLog::kOutsideProgram
                            ? QStringLiteral("%1 %2").arg(entry.account, entry.databaseUser)
                            : entry.account;
    return {entry.when.toString(QStringLiteral("dd/MM/yyyy HH:mm:ss")),
            who,
            entry.workstation,
            ChangeLog::captionOf(entry.table),
            entry.row,
            entry.operation,
            entry.details};
}

QString describe(const ChangeLog::Filter &filter)
{
    QStringList parts;
    if (filter.from.isValid() && filter.to.isValid())
        parts << QStringLiteral("Período: de %1 a %2").arg(day(filter.from), day(filter.to));
    else if (filter.from.isValid())
        parts << QStringLiteral("Período: desde %1").arg(day(filter.from));
    else if (filter.to.isValid())
        parts << QStringLiteral("Período: até %1").arg(day(filter.to));
    else
        parts << QStringLiteral("Período: todo o histórico");
    parts << QStringLiteral("conta: %1").arg(filter.account.isEmpty() ? QStringLiteral("todas") : filter.account);
    parts << QStringLiteral("cadastro: %1")
                 .arg(filter.table.isEmpty() ? QStringLiteral("todos") : ChangeLog::captionOf(filter.table));
    if (!filter.row.isNull())
        parts << QStringLiteral("código: %1").arg(filter.row.toInt());
    return parts.join(QStringLiteral("; "));
}

} // namespace ChangeLogLines
