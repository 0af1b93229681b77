#include "EngineErrors.h"

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
    for (const KnownRefusal &known : kKnownRefusals)
        if (text.contains(QLatin1String(known.engineText), Qt::CaseInsensitive))
            return DbError(withEngineText(QString::fromUtf8(known.portuguese), text), known.reason, text);
    return DbError(text, DbError::Reason::Other, text);
}

DbError connectionNotOpen(const QString &connectionName)
{
    return DbError(QStringLiteral("A conexão \"%1\" com o banco de dados não está aberta.").arg(connectionName));
}
