#include "Documents.h"

#include "Statements.h"
#include "dataset/DbError.h"


namespace Documents {

namespace {

// Tries before a clash is given up: each try sees the numbers the others committed.
constexpr int kTries = 5;

// A refusal another workstation's document caused: the same number (or
// code) committed meanwhile, or still being written.
bool clashed(const DbError &e)
{
    const QString engine = e.engineText();
    return e.reason() == DbError::Reason::DuplicateKey || engine.contains(QLatin1String("deadlock"))
           || engine.contains(QLatin1String("lock conflict")) || engine.contains(QLatin1String("concurrent"));
}

int nextOf(const QSqlDatabase &db, const QString &sql, const QVariantList &values = {})
{
    QSqlQuery q = Statements::run(db, sql, values);
    return q.next() ? q.value(0).toInt() + 1 : 1;
}

Issued tryIssue(const QSqlDatabase &db, const Request &r)
{
    Statements::Transaction t(db);
    Issued issued;
    issued.year = r.date.year();
    issued.number = nextOf(db, QStringLiteral("SELECT COALESCE(MAX(DOCNUMERO), 0) FROM TDOCUMENTO "
                                              "WHERE DOCTIPO = ? AND DOCANO = ?"),
                           {r.kind, issued.year});
    issued.code = nextOf(db, QStringLiteral("SELECT COALESCE(MAX(DOCCODIGO), 0) FROM TDOCUMENTO"));
    const QString details = r.details.left(250);
    const QVariant detailsOrNull = details.isEmpty() ? QVariant(QMetaType::fromType<QString>()) : QVariant(details);
    Statements::run(db,
                    QStringLiteral("INSERT INTO TDOCUMENTO (DOCCODIGO, DOCMEMBRO, DOCTIPO, DOCANO, DOCNUMERO, DOCDATA, "
                                   "DOCDETALHES) VALUES (?, ?, ?, ?, ?, ?, ?)"),
                    {issued.code, r.member, r.kind, issued.year, issued.number, r.date,
                     detailsOrNull});
    const int line = nextOf(db, QStringLiteral("SELECT COALESCE(MAX(ROLCODIGO), 0) FROM TROL"));
    Statements::run(db,
                    QStringLiteral("INSERT INTO TROL (ROLCODIGO, ROLMEMBRO, ROLDATA, ROLDESCRICAO, ROLREFERENCIA, "
                                   "ROLOBSERVACAO) VALUES (?, ?, ?, ?, ?, ?)"),
                    {line, r.member, r.date, QStringLiteral("Documento emitido: %1").arg(r.kind).left(100),
                     title(r.kind, issued.number, issued.year).left(60),
                     detailsOrNull});
    t.commit();
    return issued;
}

} // namespace

QList<SchemaLevels::SchemaObject> schemaObjects(int)
{
    return {{QStringLiteral("INDEX"), kNumberIndex,
             QStringLiteral("CREATE UNIQUE INDEX %1 ON TDOCUMENTO (DOCTIPO, DOCANO, DOCNUMERO)").arg(kNumberIndex)}};
}

QString title(const QString &kind, int number, int year)
{
    return QStringLiteral("%1 nº %2/%3").arg(kind).arg(number).arg(year);
}

Issued issue(const QSqlDatabase &db, const Request &request)
{
    for (int attempt = 1;; ++attempt) {
        try {
            return tryIssue(db, request);
        } catch (const DbError &e) {
            if (attempt == kTries || !clashed(e))
                throw;
        }
    }
}

} // namespace Documents
