#pragma once

#include "dataset/FieldDef.h"

#include <QVector>

// The eight tables of LIVRO.GDB as the program handles them: each with its
// table name, the stem of its dataset chain in DM, and its columns in order.
struct TableDef
{
    QString table; // TMEMBRO
    QString stem;  // MEMBRO: SQLMEMBRO, DSPMEMBRO, TBMEMBRO, DSMEMBRO
    FieldDefs columns;
};

namespace Schema {

inline const QString kDateMask = QStringLiteral("!99/99/0000;1;_");
inline const QString kTaxNumberMask = QStringLiteral("000\\-000\\-000-00;1;_");

const QVector<TableDef> &tables();
const TableDef &table(const QString &stem);

} // namespace Schema
