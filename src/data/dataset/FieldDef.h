#pragma once

#include <QString>
#include <QVector>

// How a column is handled: integer, text of at most `size` characters,
// money (double shown in currency format), date without time, or raw bytes.
enum class FieldType { Integer, Text, Money, Date, Blob };

struct FieldDef
{
    QString name;
    FieldType type = FieldType::Text;
    int size = 0;          // width of a text column, in characters
    bool required = false; // the code column of every table
    QString editMask;      // the column's input mask, where it has one
};

using FieldDefs = QVector<FieldDef>;
