#include "EngineErrors.h"

#include <QRegularExpression>
#include <QSqlError>

namespace {

struct KnownRefusal
{
    const char *engineText; // part of the engine's message
    const char *portuguese;
    DbError::Reason reason = DbError::Reason::Other;
};

const KnownRefusal kKnownRefusals[] = {
    {"violation of PRIMARY or UNIQUE KEY",
     "Já existe um registro com este código: outra estação gravou um registro com ele há pouco. "
     "Nada foi gravado. Cancele e clique em Novo para receber o próximo código livre.",
     DbError::Reason::DuplicateKey},
    {"No space left on device",
     "Não há espaço livre no disco do banco de dados. Nada foi gravado: libere espaço no disco e salve de novo."},
    {"no permission for read-write access",
     "O arquivo do banco de dados está protegido contra gravação (somente leitura). "
     "Peça a quem cuida do computador que libere a gravação no arquivo."},
    {"no permission for",
     "O usuário com que o programa entra no servidor não tem permissão para estes dados: ele precisa ser o dono do "
     "banco de dados, que o recebe restaurando uma cópia com esse usuário (veja o LEIA-ME)."},
    {"read-only database",
     "O banco de dados está marcado como somente leitura; nada pode ser gravado nele."},
    {"Cannot transliterate character",
     "Um texto tem um caractere que o banco de dados não consegue guardar. Nada foi gravado."},
};

// The message of a refusal by the database's rules: the line after the
// exception's name, among the lines the client joins ("exception 1 -
// KELMARA_RECUSA - O livro ... - At trigger ...").
QString ruleRefusalIn(const QString &text)
{
    static const QRegularExpression lineBreak(QStringLiteral("\\s+-\\s+|\\s*\\n-?"));
    const QStringList lines = text.split(lineBreak);
    const qsizetype name = lines.indexOf(QLatin1String(kRuleRefusal));
    return name >= 0 && name + 1 < lines.size() ? lines.at(name + 1).trimmed() : QString();
}

} // namespace

DbError dbErrorFrom(const QSqlError &error)
{
    QString text = error.databaseText().trimmed();
    if (text.isEmpty())
        text = error.text().trimmed();
    return dbErrorFromEngine(text);
}

DbError dbErrorFromEngine(const QString &engineText)
{
    const QString text = engineText.trimmed();
    if (const QString refusal = ruleRefusalIn(text); !refusal.isEmpty())
        return DbError(refusal, DbError::Reason::Other, text);
    for (const KnownRefusal &known : kKnownRefusals)
        if (text.contains(QLatin1String(known.engineText), Qt::CaseInsensitive))
            return DbError(withEngineText(QString::fromUtf8(known.portuguese), text), known.reason, text);
    return DbError(text, DbError::Reason::Other, text);
}

DbError connectionNotOpen(const QString &connectionName)
{
    return DbError(QStringLiteral("A conexão \"%1\" com o banco de dados não está aberta.").arg(connectionName));
}
