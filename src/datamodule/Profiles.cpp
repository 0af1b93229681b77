#include "Profiles.h"

#include "dataset/DbError.h"

#include <QHash>

namespace Profiles {

namespace {

constexpr Access N = Access::None, R = Access::Read, C = Access::Change;

// One row per profile, one column per Area, in the order of their enums.
constexpr Access kAccess[4][8] = {
    //                Members Employees Cash Configuration Backup Restore History Documents
    /* Administrador */ {C, C, C, C, C, C, R, C},
    /* Secretaria    */ {C, N, N, N, C, N, N, C},
    /* Tesouraria    */ {R, C, C, N, C, N, N, N},
    /* Consulta      */ {R, R, R, N, C, N, R, N},
};

// What each area's refusal calls it.
const char *const kAreaWords[] = {"os membros e os eventos",    "os funcionários e os cargos", "o caixa",
                                  "a configuração e as contas", "as cópias de segurança",      "as cópias de segurança",
                                  "o histórico de alterações",  "os documentos dos membros"};

} // namespace

Access access(Profile profile, Area area)
{
    return kAccess[int(profile)][int(area)];
}

const QStringList &names()
{
    static const QStringList all{QStringLiteral("Administrador"), QStringLiteral("Secretaria"),
                                 QStringLiteral("Tesouraria"), QStringLiteral("Consulta")};
    return all;
}

QString name(Profile profile)
{
    return names().at(int(profile));
}

std::optional<Profile> named(const QString &name)
{
    const qsizetype index = names().indexOf(name);
    if (index < 0)
        return std::nullopt;
    return Profile(index);
}

Area areaOfTable(const QString &stem)
{
    static const QHash<QString, Area> areas{
        {QStringLiteral("MEMBRO"), Area::Members},         {QStringLiteral("EVENTO"), Area::Members},
        {QStringLiteral("ROL"), Area::Members},
        {QStringLiteral("FUNCIONARIO"), Area::Employees},  {QStringLiteral("CARGO"), Area::Employees},
        {QStringLiteral("LIVRO"), Area::Cash},             {QStringLiteral("MOVIMENTACOES"), Area::Cash},
        {QStringLiteral("CATEGORIA"), Area::Cash},         {QStringLiteral("EXTRATO"), Area::Cash},
        {QStringLiteral("PARAMENTROS"), Area::Configuration},
        {QStringLiteral("USUARIO"), Area::Configuration},
        {QStringLiteral("MODELO"), Area::Documents},       {QStringLiteral("DOCUMENTO"), Area::Documents},
    };
    const auto it = areas.constFind(stem);
    if (it == areas.constEnd())
        throw DbError(QStringLiteral("A tabela %1 não pertence a nenhuma parte do programa.").arg(stem));
    return *it;
}

QString readOnlyRefusal(Profile profile, Area area)
{
    return QStringLiteral("O perfil %1 não altera %2: nada foi gravado.")
        .arg(name(profile), QString::fromUtf8(kAreaWords[int(area)]));
}

} // namespace Profiles
