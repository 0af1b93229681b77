#pragma once

#include "ParameterCodes.h"

#include <QMap>
#include <QString>

// The church's data kept as rows of the shared parameters table (codes in
// ParameterCodes.h). Read and written over every row, whatever search the
// parameters window left on the table.
namespace ChurchData {

// The value stored under `code`; empty when there is no such row.
QString value(int code);
// The values of every datum of the church, by code.
QMap<int, QString> values();
// Writes the values that differ from the stored ones and applies at once.
// A new row gets its description; an emptied value keeps its row. On a
// refusal (DbError) nothing is written and the table is as it was.
void store(const QMap<int, QString> &values);

// A value to print, or a line to fill by hand when it is empty.
QString orBlank(const QString &value, int blankLength = 30);

} // namespace ChurchData
