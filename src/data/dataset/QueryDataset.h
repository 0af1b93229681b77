#pragma once

#include "Dataset.h"
#include "RowStore.h"

#include <QMap>
#include <QStringList>

// A report query: SQL lines with parameters, run on the program's connection
// and read whole; then walked with first/next/eof and read through typed
// fields. Parameters are bound as values (never pasted into the SQL text),
// by name (":livro") or by position.
class QueryDataset : public Dataset
{
    Q_OBJECT
public:
    QueryDataset(const QString &name, const QString &connectionName, QObject *parent = nullptr);

    const QStringList &sql() const { return m_sql; }
    void clearSql();
    void addSql(const QString &line);
    void setSql(const QStringList &lines);

    void setParam(const QString &name, const QVariant &value);
    void setParam(int position, const QVariant &value);
    // Gives the fields of these columns a display mask (for example a tax number).
    void setFieldMask(const QString &column, const QString &mask) { m_masks.insert(column.toUpper(), mask); }

    void open();
    void close();

    int recordCount() const override { return m_rows.rowCount(); }
    QVariant fieldValue(int column) const override;
    void setFieldValue(int column, const QVariant &value) override;

private:
    FieldDefs fieldDefsOf(const class QSqlRecord &record) const;

    QString m_connection;
    QStringList m_sql;
    QMap<QString, QVariant> m_named;
    QMap<int, QVariant> m_positional;
    QMap<QString, QString> m_masks;
    RowStore m_rows;
};
