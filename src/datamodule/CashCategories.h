#pragma once

#include "dataset/LikeFilter.h"

#include <QHash>
#include <QString>

class TableDataset;

// The categories of the cash book and the givers of movements, as the
// windows and reports read them from the shared tables of DM.
namespace CashCategories {

inline const QString kEntry = QStringLiteral("ENTRADA");
inline const QString kExit = QStringLiteral("SAIDA");
inline const QString kNoCategory = QStringLiteral("Sem categoria");

// Whether DM's database has them: the windows and reports that use them
// hide or leave out what needs them when it has not.
bool available();

// Every stored value of `valueColumn` by the row's `codeColumn`, whatever
// search the shared table has (opened when closed): category descriptions,
// members' names.
QHash<int, QString> byCode(TableDataset *table, const QString &codeColumn, const QString &valueColumn);
QHash<int, QString> categoryDescriptions();
QHash<int, QString> memberNames();

// The kind of the stored category `code`; empty when there is none.
QString kindOf(int code);

// The filter of TBCATEGORIA that leaves the categories of `kind` visible
// (none for an empty kind).
LikeFilter kindFilter(const QString &kind);

} // namespace CashCategories
