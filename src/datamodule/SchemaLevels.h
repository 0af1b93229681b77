#pragma once

#include <QList>
#include <QSqlDatabase>
#include <QString>

#include <iterator>

// The levels of LIVRO.GDB's structure after the first, each what it adds to
// a stored database. A level is its columns and tables, marked
// since(level, kind) in SchemaColumns.h, and one line of kLevels below:
// what it brings (for the messages of the upgrade), the rows it writes, in
// the transaction after the one that added its structure, and the objects
// of the engine it creates besides tables and columns (triggers, a
// sequence, an exception), in the same transaction as its columns. Adding a
// level is those things; SchemaUpgrade does the rest.
namespace SchemaLevels {

// The rows of a level, written into a database whose structure has it.
// DbError stops the upgrade, which then leaves the database as it was.
using WriteRows = void (*)(const QSqlDatabase &db);

// An object of the engine that a level creates: its kind as DDL names it
// ("TRIGGER", "SEQUENCE", "EXCEPTION", "INDEX", "TABLE"), its name (unique
// among every kind) and the statement that creates it.
struct SchemaObject
{
    QString kind;
    QString name;
    QString create;
};
// The objects of a level for a database brought to `level` (a trigger that
// logs a table's columns names the columns of that level), in creation order.
using Objects = QList<SchemaObject> (*)(int level);

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
    Objects objects = nullptr;
};

// Level 1: the categories of the cash book, with a starting set (into an
// empty table, so categories of the users' own are kept).
void writeStartingCategories(const QSqlDatabase &db);
// Level 2: every account gets a profile (Administrador: an account could do
// everything before), is active, and its password is turned into its hash,
// the plain column emptied; the old password still signs in.
void protectStoredPasswords(const QSqlDatabase &db);
// Level 3: the change log (its table and the triggers that write it on
// every table) and the rules of closed months, kept by the engine.
QList<SchemaObject> changeLogAndClosedMonths(int level);
// Level 4: the roll of members; every member stored before it is on the
// roll as active (Roll::kActive).
void markMembersActive(const QSqlDatabase &db);
// And the trigger that keeps the roll's history (Roll::schemaObjects).
QList<SchemaObject> rollHistory(int level);
// Level 5: the models of the church's documents and the documents issued,
// numbered per kind and year (Documents).
QList<SchemaObject> documentNumbers(int level);
// Level 6: a statement line is imported once (its account and identity are
// unique), and a movement is matched to one line at most.
QList<SchemaObject> statementLineIndexes(int level);
// Level 7: the day a member was anonymised; the change log's protection then
// lets the anonymisation take that member's old values out of the log's
// details (ChangeLog::schemaObjects).

inline constexpr Level kLevels[] = {
    {1, "as categorias do caixa e os dízimos por membro",
     "O caixa agora tem categorias, e cada movimentação pode ter o membro que a deu e um documento.",
     "Gravando as categorias iniciais...", writeStartingCategories},
    {2, "os perfis das contas e as senhas protegidas",
     "Cada conta agora tem um perfil, que diz o que ela pode fazer, e as senhas são guardadas protegidas. As "
     "contas que já existiam ficaram com o perfil Administrador, para que ninguém perca o que já fazia: dê a "
     "cada uma o seu perfil em Configurações > Usuários.",
     "Protegendo as senhas das contas...", protectStoredPasswords, true},
    {3, "o histórico de alterações e o fechamento dos meses do caixa",
     "O banco de dados agora guarda quem incluiu, alterou ou excluiu cada registro, de qual computador e quando "
     "(Configurações > Histórico de Alterações), e um mês do caixa pode ser fechado em Cadastro do Livro Caixa do "
     "Mês: depois de fechado, nenhum lançamento dele muda em nenhum computador.",
     nullptr, nullptr, false, changeLogAndClosedMonths},
    {4, "o rol de membros e o consentimento de cada membro",
     "Cada membro agora tem a sua situação no rol (ativo, afastado, transferido, falecido, desligado), a admissão, "
     "o batismo, a saída e o consentimento para o uso dos seus dados, na página Rol de Cadastro de Membros, com o "
     "histórico de cada mudança. Os membros que já existiam ficaram como ativos. Quem não está ativo sai das listas "
     "de aniversariantes, das carteirinhas e dos relatórios de membros, a não ser que o filtro SITUAÇÃO o peça.",
     "Marcando os membros como ativos...", markMembersActive, false, rollHistory},
    {5, "os documentos dos membros (cartas e certificados)",
     "Cadastro de Membros agora emite, para cada membro, a carta de transferência, a carta de recomendação, os "
     "certificados de batismo e de apresentação de criança e a declaração de membro, numerados por tipo e ano e "
     "anotados no histórico do membro. O texto de cada um pode ser mudado em Configurações > Modelos de "
     "Documentos.",
     nullptr, nullptr, false, documentNumbers},
    {6, "a importação do extrato bancário",
     "O extrato do banco (arquivo OFX) agora pode ser importado em Movimentações de Caixa > Importar Extrato: cada "
     "lançamento do banco é conferido com um do livro, ignorado ou lançado, e nunca é importado duas vezes.",
     nullptr, nullptr, false, statementLineIndexes},
    {7, "os dados de cada membro e a sua anonimização",
     "Na página Rol de Cadastro de Membros, Dados do Membro imprime tudo o que a igreja guarda sobre um membro, para "
     "quando ele pedir, e Anonimizar (só o Administrador) apaga os dados pessoais de um membro que pedir, inclusive "
     "no histórico de alterações, mantendo a situação, as datas do rol e as movimentações do caixa.",
     nullptr, nullptr, false, nullptr},
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
