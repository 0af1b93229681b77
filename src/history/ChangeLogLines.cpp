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
    if (filter.from.isValid() || filter.to.isValid())
        parts << QStringLiteral("Período: %1 a %2")
                     .arg(filter.from.isValid() ? day(filter.from) : QStringLiteral("o início"),
                          filter.to.isValid() ? day(filter.to) : QStringLiteral("hoje"));
    else
        parts << QStringLiteral("Período: todo");
    parts << QStringLiteral("conta: %1").arg(filter.account.isEmpty() ? QStringLiteral("todas") : filter.account);
    parts << QStringLiteral("cadastro: %1")
                 .arg(filter.table.isEmpty() ? QStringLiteral("todos") : ChangeLog::captionOf(filter.table));
    if (!filter.row.isNull())
        parts << QStringLiteral("código: %1").arg(filter.row.toInt());
    return parts.join(QStringLiteral("; "));
}

} // namespace ChangeLogLines
