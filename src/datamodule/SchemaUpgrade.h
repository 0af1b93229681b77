#pragma once

#include <QSqlDatabase>
#include <QStringList>

#include <functional>

// The level of a stored LIVRO.GDB's structure and the bringing of an older
// one up to date. Only ever adds: a table and nullable columns, with rows of
// their own, so that an older copy of the program keeps working on the same
// file. The level is kept in the parameter row ParameterCode::SchemaLevel;
// a database without that row is at level 0, the first structure.
namespace SchemaUpgrade {

// The level this program brings databases to. Level 1: the categories of
// the cash book (TCATEGORIA, with a starting set) and, on each movement,
// its category, the member who gave it and a receipt or document number.
constexpr int kLevel = 1;

// The level the database says it is at; 0 when it keeps none.
int storedLevel(const QSqlDatabase &db);
// The program's tables and columns the database lacks ("TCATEGORIA",
// "TMOVIMETACOES.MOVMEMBRO"), in the order they are added.
QStringList missing(const QSqlDatabase &db);
// Whether a level after the first adds `table` (TCATEGORIA): a database of
// an older level lacks it.
bool addedByUpgrade(const QString &table);
// Below the program's level, or lacking something of it.
bool behind(const QSqlDatabase &db);
// Whether the categories, and the member and document of movements, may be
// used: the database is at level 1 or later and holds all of it.
bool categoriesAvailable(const QSqlDatabase &db);

// Why the program may not bring the database up to date, found by trying
// every change in a transaction that is then rolled back; empty when it may.
QString refusal(const QSqlDatabase &db);

// "O banco de dados não foi atualizado e continua como estava..." with what
// that means for the run: the sentence every failure to bring it up to date ends with.
QString unchangedNote();

// Named before each step, so that a window can show it (and a test make a
// step fail by throwing).
using Step = std::function<void(const QString &step)>;

// Adds what the database lacks, then writes the starting categories (into an
// empty table) and the level. The engine cannot fill a table in the
// transaction that creates it, so the structure is one transaction and the
// rows and the level another; when the second fails, what the first added is
// dropped again. DbError in Portuguese on a failure: the level (and, unless
// even the dropping failed, the structure) is as it was.
void bringUpToDate(const QSqlDatabase &db, const Step &beforeStep = {});

} // namespace SchemaUpgrade
