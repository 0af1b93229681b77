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

// The tax number (CPF): eleven digits, all required, typed and stored as
// "000.000.000-00". A CPF stored by older versions as "000-000-000-00" is
// shown by its digits in the same mask.
inline const QString kTaxNumberMask = QStringLiteral("999.999.999-99;_");

const QVector<TableDef> &tables();
const TableDef &table(const QString &stem);

} // namespace Schema
