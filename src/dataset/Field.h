#pragma once

#include "FieldDef.h"

#include <QDate>
#include <QObject>
#include <QVariant>

#include <functional>

class Dataset;

// A date typed as dd/mm/yyyy (or d/m/yyyy); DbError when the text is no date.
QDate dateFromText(const QString &text);

// One column of a dataset, read and written on the dataset's current row
// (or on the row being edited). Values put into a field are checked and
// converted to the column's type here, so what reaches the row is valid:
// texts are cut to the column width, empty texts become empty (NULL), a text
// with a character the database cannot hold is refused.
class Field : public QObject
{
    Q_OBJECT
public:
    Field(Dataset *dataset, int index, FieldDef def);

    const QString &fieldName() const { return m_def.name; }
    const FieldDef &def() const { return m_def; }
    FieldType type() const { return m_def.type; }
    int size() const { return m_def.size; }
    bool required() const { return m_def.required; }
    const QString &inputMask() const { return m_def.inputMask; }
    int index() const { return m_index; }
    Dataset *dataset() const { return m_dataset; }
    // How messages name the column to the user: the caption of the box that
    // shows it, set by the window that builds the box; the column name while
    // no window has set one.
    const QString &displayLabel() const { return m_displayLabel.isEmpty() ? m_def.name : m_displayLabel; }
    void setDisplayLabel(const QString &caption) { m_displayLabel = caption; }

    QVariant value() const;
    bool isNull() const { return value().isNull(); }
    int asInteger() const;      // empty reads 0
    double asFloat() const;     // empty reads 0
    QString asString() const;   // dates as dd/MM/yyyy, numbers plain
    QDate asDate() const;       // empty reads an invalid date
    QByteArray asBytes() const;
    QString displayText() const; // dates in the short format, money in the currency format
    QString editText() const;    // the text an edit box shows while it is being edited

    void setValue(const QVariant &value);
    void setAsInteger(int value) { setValue(value); }
    void setAsFloat(double value) { setValue(value); }
    void setAsDate(const QDate &value) { setValue(value); }
    void setAsBytes(const QByteArray &value) { setValue(value); }
    void setAsString(const QString &text); // parsed by the column's type
    void clear() { setValue(QVariant()); }
    // Blob columns: the file's bytes, through `prepare` when one is given.
    void loadFromFile(const QString &path, const std::function<QByteArray(const QByteArray &)> &prepare = {});

    // The value `value` converted to the column's type, or a DbError.
    QVariant normalized(const QVariant &value) const;
    // Display text of a stored value of this column.
    QString displayTextOf(const QVariant &value) const;

private:
    QVariant parsed(const QString &text) const;

    Dataset *m_dataset;
    int m_index;
    FieldDef m_def;
    QString m_displayLabel;
};
