#include "TestDatabase.h"

#include "datamodule/ChangeLog.h"
#include "datamodule/PasswordHash.h"
#include "datamodule/Schema.h"

#include <QtTest>

namespace {

// A column as "NAME type width charset" with the numbers Firebird keeps in RDB$FIELDS:
// 8 INTEGER, 27 DOUBLE PRECISION, 12 DATE, 37 VARCHAR (characters, WIN1252), 261 BLOB (binary).
QString describe(const FieldDef &def)
{
    static const QHash<FieldType, int> kTypes = {{FieldType::Integer, 8}, {FieldType::Money, 27},
                                                  {FieldType::Date, 12}, {FieldType::Text, 37},
                                                  {FieldType::Blob, 261}};
    const bool text = def.type == FieldType::Text;
    return QStringLiteral("%1 %2 %3 %4").arg(def.name).arg(kTypes[def.type]).arg(text ? def.size : 0)
        .arg(text ? "WIN1252" : "");
}

QStringList columnsInDatabase(const TestDatabase &db, const QString &table)
{
    QStringList columns;
    for (const QVariantList &r : db.rows(
             "SELECT TRIM(rf.RDB$FIELD_NAME), f.RDB$FIELD_TYPE, COALESCE(f.RDB$CHARACTER_LENGTH, 0), "
             "       COALESCE(TRIM(cs.RDB$CHARACTER_SET_NAME), ''), f.RDB$FIELD_SUB_TYPE "
             "FROM RDB$RELATION_FIELDS rf JOIN RDB$FIELDS f ON f.RDB$FIELD_NAME = rf.RDB$FIELD_SOURCE "
             "LEFT JOIN RDB$CHARACTER_SETS cs ON cs.RDB$CHARACTER_SET_ID = f.RDB$CHARACTER_SET_ID "
             "  AND f.RDB$FIELD_TYPE = 37 "
             "WHERE rf.RDB$RELATION_NAME = ? ORDER BY rf.RDB$FIELD_POSITION",
             {table})) {
        const int type = r[1].toInt() == 261 && r[4].toInt() != 0 ? -261 : r[1].toInt(); // text blob
        columns << QStringLiteral("%1 %2 %3 %4").arg(r[0].toString()).arg(type).arg(r[2].toInt()).arg(r[3].toString());
    }
    return columns;
}

} // namespace

class TestSchema : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { setUpTestProgram(); }

    void creationScriptMatchesTheProgramsColumns()
    {
        TestDatabase db;
        QStringList programTables;
        for (const TableDef &t : Schema::tables()) {
            programTables << t.table;
            QStringList expected, keys;
            for (const FieldDef &def : t.columns) {
                expected << describe(def);
                if (def.required)
                    keys << def.name;
            }
            QCOMPARE(columnsInDatabase(db, t.table), expected);

            QStringList primaryKey;
            for (const QVariantList &r :
                 db.rows("SELECT TRIM(s.RDB$FIELD_NAME) FROM RDB$RELATION_CONSTRAINTS c "
                         "JOIN RDB$INDEX_SEGMENTS s ON s.RDB$INDEX_NAME = c.RDB$INDEX_NAME "
                         "WHERE c.RDB$RELATION_NAME = ? AND c.RDB$CONSTRAINT_TYPE = 'PRIMARY KEY'",
                         {t.table}))
                primaryKey << r[0].toString();
            QCOMPARE(primaryKey, keys);
            QCOMPARE(keys.size(), 1);
        }

        QStringList databaseTables;
        for (const QVariantList &r : db.rows("SELECT TRIM(RDB$RELATION_NAME) FROM RDB$RELATIONS "
                                             "WHERE RDB$SYSTEM_FLAG = 0 AND RDB$VIEW_BLR IS NULL"))
            databaseTables << r[0].toString();
        programTables << ChangeLog::kTable; // written by the engine, read by query (tst_schemaupgrade)
        databaseTables.sort();
        programTables.sort();
        QCOMPARE(databaseTables, programTables);
        // The default account, an Administrador whose first password was a
        // hash from the start: the file never held it as typed.
        QCOMPARE(db.rows("SELECT USUCODIGO, USULOGIN, COALESCE(USUSENHA, '-'), USUPERFIL, USUATIVO, USUTROCARSENHA "
                         "FROM TUSUARIO"),
                 QList<QVariantList>({{1, "master", "-", "Administrador", "SIM", 0}}));
        QVERIFY(PasswordHash::matches(db.scalar("SELECT USUHASH FROM TUSUARIO").toString(), "ravlen"));
        db.disconnect();
        QFile file(db.path());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(!file.readAll().contains("ravlen"));
    }
};

QTEST_MAIN(TestSchema)
#include "tst_schema.moc"
