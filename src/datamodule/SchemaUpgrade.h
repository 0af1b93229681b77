#pragma once

#include "SchemaLevels.h"

#include <QSqlDatabase>
#include <QStringList>

#include <functional>

// The level of a stored LIVRO.GDB's structure and the bringing of an older
// one up to date. Only ever adds: tables, nullable columns and the engine's
// objects that keep the rules (triggers), with rows of their own, so that an
// older copy of the program keeps working on the same file. The level is kept in the parameter row ParameterCode::SchemaLevel;
// a database without that row is at level 0, the first structure.
namespace SchemaUpgrade {

// The level this program brings databases to: the last of
// SchemaLevels::kLevels. Level 1: the categories of the cash book
// (TCATEGORIA, with a starting set) and, on each movement, its category, the
// member who gave it and a receipt or document number. Level 2: the
// accounts' profiles, full names, whether they are active, and their
// passwords as hashes, to be changed at the next sign-in when temporary.
// Level 3: the change log written by the engine's triggers on every table,
// and the closing of cash book months, kept by triggers too. Level 4: the
// roll of members (situação, admission, exit, consent) and its history TROL.
// Level 5: the models of the members' documents and the documents issued.
// Level 6: the lines of bank statements imported, each once (TEXTRATO).
constexpr int kLevel = SchemaLevels::kLatest;

// The level the database says it is at; 0 when it keeps none.
int storedLevel(const QSqlDatabase &db);
// The program's tables, columns and objects the database lacks
// ("TCATEGORIA", "TMOVIMETACOES.MOVMEMBRO", "TMEMBRO_HISTORICO"), in the
// order they are added.
QStringList missing(const QSqlDatabase &db);
// Whether a level after the first adds `table` (TCATEGORIA): a database of
// an older level lacks it.
bool addedByUpgrade(const QString &table);
// Below the program's level, or lacking something of it.
bool behind(const QSqlDatabase &db);
// Whether what `level` brings may be used: the database is at that level or
// later and holds everything up to it.
bool available(const QSqlDatabase &db, int level);
// The categories, and the member and document of movements (level 1).
inline bool categoriesAvailable(const QSqlDatabase &db) { return available(db, 1); }

// Why the program may not bring the database up to date, found by trying
// every change in a transaction that is then rolled back; empty when it may.
QString refusal(const QSqlDatabase &db);

// What the levels above `level` bring, joined for a sentence: "as
// categorias do caixa e os dízimos por membro, e os perfis das contas ...".
QString bringsAbove(int level);
// What they brought, as the box after the upgrade says it: a paragraph each.
QString broughtAbove(int level);
// Whether one of them has the file made anew afterwards (Level::remakesFile).
bool remakesFileAbove(int level);

// "O banco de dados não foi atualizado e continua como estava..." with what
// that means for the run of a database at `level`: the sentence every
// failure to bring it up to date ends with.
QString unchangedNote(int level);

// Named before each step, so that a window can show it (and a test make a
// step fail by throwing).
using Step = std::function<void(const QString &step)>;

// Adds what the database lacks, then writes the rows of every level above
// the stored one (SchemaLevels) and the new level, so that a database of the
// first structure comes to the latest level in one run. The engine cannot
// fill a table in the transaction that creates it, so the structure is one
// transaction and the rows and the level another; when the second fails,
// what the first added is dropped again. A trigger of an earlier level whose
// text is another at the new one (the log's trigger of a table that gained
// columns) is remade in the second transaction, after the rows; the others
// are left as they are. DbError in Portuguese on a failure: the level (and, unless
// even the dropping failed, the structure) is as it was.
// `toLevel` stops at an earlier level (tests make databases of each level so).
void bringUpToDate(const QSqlDatabase &db, const Step &beforeStep = {}, int toLevel = kLevel);

} // namespace SchemaUpgrade
