#include "SchemaLevels.h"

#include "Accounts.h"
#include "ChangeLog.h"
#include "ClosedMonths.h"
#include "Documents.h"
#include "PasswordHash.h"
#include "Profiles.h"
#include "Roll.h"
#include "Statements.h"

#include <QSqlQuery>

namespace SchemaLevels {

namespace {

struct StartingCategory
{
    const char *description; // UTF-8
    const char *kind;
};
constexpr StartingCategory kStartingCategories[] = {
    {"DÍZIMOS", "ENTRADA"},
    {"OFERTAS", "ENTRADA"},
    {"OFERTAS DE MISSÕES", "ENTRADA"},
    {"CAMPANHAS E OFERTAS ESPECIAIS", "ENTRADA"},
    {"DOAÇÕES", "ENTRADA"},
    {"OUTRAS ENTRADAS", "ENTRADA"},
    {"SALÁRIOS E PREBENDAS", "SAIDA"},
    {"ENERGIA ELÉTRICA", "SAIDA"},
    {"ÁGUA E ESGOTO", "SAIDA"},
    {"ALUGUEL", "SAIDA"},
    {"TELEFONE E INTERNET", "SAIDA"},
    {"MANUTENÇÃO E LIMPEZA", "SAIDA"},
    {"MISSÕES", "SAIDA"},
    {"AÇÃO SOCIAL", "SAIDA"},
    {"OUTRAS SAÍDAS", "SAIDA"},
};

} // namespace

void writeStartingCategories(const QSqlDatabase &db)
{
    if (Statements::anyRow(db, QStringLiteral("SELECT FIRST 1 1 FROM TCATEGORIA")))
        return; // categories of the users' own, kept as they are
    int code = 0;
    for (const StartingCategory &c : kStartingCategories)
        Statements::run(db, QStringLiteral("INSERT INTO TCATEGORIA (CATCODIGO, CATDESCRICAO, CATTIPO) VALUES (?, ?, ?)"),
                        {++code, QString::fromUtf8(c.description), QString::fromLatin1(c.kind)});
}

void protectStoredPasswords(const QSqlDatabase &db)
{
    QList<std::pair<int, QString>> accounts;
    QSqlQuery stored = Statements::run(db, QStringLiteral("SELECT USUCODIGO, USUSENHA FROM TUSUARIO WHERE USUHASH IS NULL"));
    while (stored.next())
        accounts.append({stored.value(0).toInt(), stored.value(1).toString()});
    for (const auto &[code, password] : accounts)
        Statements::run(db,
                        QStringLiteral("UPDATE TUSUARIO SET USUHASH = ?, USUSENHA = NULL, USUPERFIL = ?, USUATIVO = ?, "
                                       "USUTROCARSENHA = 0 WHERE USUCODIGO = ?"),
                        {PasswordHash::make(password), Profiles::name(Profile::Administrador), Accounts::kYes, code});
}

QList<SchemaObject> changeLogAndClosedMonths(int level)
{
    return ChangeLog::schemaObjects(level) + ClosedMonths::schemaObjects();
}

void markMembersActive(const QSqlDatabase &db)
{
    Statements::run(db, QStringLiteral("UPDATE TMEMBRO SET MEMSITUACAO = ? WHERE MEMSITUACAO IS NULL"), {Roll::kActive});
}

QList<SchemaObject> rollHistory(int level)
{
    return Roll::schemaObjects(level);
}

QList<SchemaObject> documentNumbers(int level)
{
    return Documents::schemaObjects(level);
}

QList<SchemaObject> statementLineIndexes(int)
{
    return {{QStringLiteral("INDEX"), QStringLiteral("TEXTRATO_IDENTIDADE"),
             QStringLiteral("CREATE UNIQUE INDEX TEXTRATO_IDENTIDADE ON TEXTRATO (EXTCONTA, EXTIDENTIDADE)")},
            {QStringLiteral("INDEX"), QStringLiteral("TEXTRATO_MOVIMENTO"),
             QStringLiteral("CREATE UNIQUE INDEX TEXTRATO_MOVIMENTO ON TEXTRATO (EXTMOVIMENTO)")}};
}

} // namespace SchemaLevels
