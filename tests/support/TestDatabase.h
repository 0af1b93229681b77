#pragma once

#include "TestKit.h"
#include "datamodule/UDM.h"

#include <QTemporaryDir>
#include <QVariant>
#include <functional>
#include <memory>

// A fresh copy of the test run's template database (the creation script's
// result) in a temporary folder of its own, deleted with this object.
class TestDatabase
{
public:
    TestDatabase();
    // A fresh copy of another database file (see firstLevelTemplate).
    explicit TestDatabase(const QString &templateFile);
    ~TestDatabase();

    // A database of the first structure, as the creation script alone makes
    // it and as databases stored before any upgrade are: made once per test
    // program.
    static QString firstLevelTemplate();

    QString folder() const { return m_dir.path(); }
    QString path() const;

    // A data module on this database; `connectionName` must be unique while it lives.
    std::unique_ptr<TDM> connect(const QString &connectionName = QStringLiteral("LIVRO")) const;

    // Direct access through a connection of its own, to set up rows and to
    // check what really reached the database.
    void exec(const QString &sql, const QVariantList &values = {}) const;
    QVariant scalar(const QString &sql, const QVariantList &values = {}) const;
    QList<QVariantList> rows(const QString &sql, const QVariantList &values = {}) const;
    // Closes that connection, so another process or a server can have the
    // file (the embedded engine holds it exclusively); the next exec opens it again.
    void disconnect() const;

private:
    QTemporaryDir m_dir;
    QString m_connection;
};

// The last arguments of an engine tool (isql, gfix) opening `databasePath`:
// the user and password, then the database.
QStringList engineToolArguments(const QString &databasePath);
