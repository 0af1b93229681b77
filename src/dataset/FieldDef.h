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
    QString inputMask;     // the Qt input mask a box types the column through, where it has one
    // The level of the database's structure that added the column: 0 for the
    // first structure. A database kept at an earlier level lacks it; it then
    // reads as empty and is never written.
    int level = 0;
};

// A date typed whole through its box: day, month and a four-digit year, every
// digit required (in Qt's masks "9" is a required digit), "_" where none is typed yet.
inline const QString kDateInputMask = QStringLiteral("99/99/9999;_");

using FieldDefs = QVector<FieldDef>;
