#pragma once

#include <QSqlDatabase>

#include <iterator>

// The levels of LIVRO.GDB's structure after the first, each what it adds to
// a stored database. A level is its columns and tables, marked
// since(level, kind) in SchemaColumns.h, and one line of kLevels below:
// what it brings (for the messages of the upgrade) and the rows it writes,
// in the transaction after the one that added its structure. Adding a level
// is those two things; SchemaUpgrade does the rest.
namespace SchemaLevels {

// The rows of a level, written into a database whose structure has it.
// DbError stops the upgrade, which then leaves the database as it was.
using WriteRows = void (*)(const QSqlDatabase &db);

struct Level
{
    int number;
    const char *brings;  // what the program goes without below this level (UTF-8): "as categorias do caixa ..."
    const char *brought; // what the box after the upgrade tells (UTF-8), a sentence or two
    const char *rowsStep; // the rows' step, as the progress box names it (UTF-8)
    WriteRows writeRows;
    // The rows it changes held what must not stay in the file (passwords as
    // typed): the engine leaves the space of old row versions as it was, so
    // the file is made anew from a copy after the upgrade.
    bool remakesFile = false;
};

// Level 1: the categories of the cash book, with a starting set (into an
// empty table, so categories of the users' own are kept).
void writeStartingCategories(const QSqlDatabase &db);
// Level 2: every account gets a profile (Administrador: an account could do
// everything before), is active, and its password is turned into its hash,
// the plain column emptied; the old password still signs in.
void protectStoredPasswords(const QSqlDatabase &db);

inline constexpr Level kLevels[] = {
    {1, "as categorias do caixa e os dízimos por membro",
     "O caixa agora tem categorias, e cada movimentação pode ter o membro que a deu e um documento.",
     "Gravando as categorias iniciais...", writeStartingCategories},
    {2, "os perfis das contas e as senhas protegidas",
     "Cada conta agora tem um perfil, que diz o que ela pode fazer, e as senhas são guardadas protegidas. As "
     "contas que já existiam ficaram com o perfil Administrador, para que ninguém perca o que já fazia: dê a "
     "cada uma o seu perfil em Configurações > Usuários.",
     "Protegendo as senhas das contas...", protectStoredPasswords, true},
};

inline constexpr int kLatest = int(std::size(kLevels));

// The levels in order, numbered from 1 without a gap.
constexpr bool numberedInOrder()
{
    for (int i = 0; i < kLatest; ++i)
        if (kLevels[i].number != i + 1)
            return false;
    return true;
}
static_assert(numberedInOrder(), "kLevels: one line per level, from 1 up");

} // namespace SchemaLevels
