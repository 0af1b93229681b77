#pragma once

#include "dataset/Dataset.h"
#include "dataset/RowStore.h"

#include <QMap>
#include <QStringList>

#include <memory>

namespace Firebird {
class Transaction;
}

// A report query: SQL lines with parameters, run on the program's connection
// and read whole; then walked with first/next/eof and read through typed
// fields. Parameters are bound as values (never pasted into the SQL text),
// by name (":livro", any case) or by position. Pictures are not read with the
// rows: while the query is open its read stays open too, and a picture is
// fetched when its row's value is asked for.
class QueryDataset : public Dataset
{
    Q_OBJECT
public:
    QueryDataset(const QString &name, const QString &connectionName, QObject *parent = nullptr);
    ~QueryDataset() override;

    const QStringList &sql() const { return m_sql; }
    void clearSql();
    void addSql(const QString &line);
    void setSql(const QStringList &lines);

    void setParam(const QString &name, const QVariant &value);
    void setParam(int position, const QVariant &value);

    void open();
    void close();

    int recordCount() const override { return m_rows.rowCount(); }
    QVariant fieldValue(int column) const override;
    void setFieldValue(int column, const QVariant &value) override;

private:
    QVariantList parameterValues(const QStringList &order) const;


    QString m_connection;
    QStringList m_sql;
    QMap<QString, QVariant> m_named;
    QMap<int, QVariant> m_positional;
    RowStore m_rows;
    std::unique_ptr<Firebird::Transaction> m_pictures; // open while a picture may be asked for
    mutable int m_fetchedRow = -1;
    mutable int m_fetchedColumn = -1;
    mutable QByteArray m_fetched;
};
