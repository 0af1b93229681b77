#include "DocumentModels.h"

#include "reports/base/ChurchPrint.h"

#include "datamodule/ChurchData.h"
#include "datamodule/TaxNumber.h"
#include "datamodule/UDM.h"
#include "dataset/DbError.h"

#include <QRegularExpression>

namespace DocumentModels {

namespace {

struct KindInfo
{
    Kind kind;
    const char *name; // UTF-8
    bool certificate;
};
constexpr KindInfo kKinds[] = {
    {Kind::Transfer, "Carta de Transferência", false},
    {Kind::Recommendation, "Carta de Recomendação", false},
    {Kind::Baptism, "Certificado de Batismo", true},
    {Kind::ChildPresentation, "Certificado de Apresentação de Criança", true},
    {Kind::Membership, "Declaração de Membro", false},
};

// Every kind's fields: the member as the register keeps them, the church
// as "Dados da Igreja" keeps it, the day and the number.
const QList<Field> &commonFields()
{
    static const QList<Field> all{
        {"NOME", "nome do membro"},
        {"CPF", "CPF do membro"},
        {"RG", "RG do membro"},
        {"DATA_NASCIMENTO", "data de nascimento"},
        {"NACIONALIDADE", "país ou nacionalidade"},
        {"ESTADO_CIVIL", "estado civil"},
        {"PAI", "nome do pai"},
        {"MAE", "nome da mãe"},
        {"DATA_BATISMO", "data do batismo (página Rol)"},
        {"DATA_ADMISSAO", "data da admissão (página Rol)"},
        {"NUMERO_ROL", "número do membro no rol"},
        {"IGREJA", "nome da igreja"},
        {"CNPJ", "CNPJ da igreja"},
        {"ENDERECO_IGREJA", "endereço da igreja"},
        {"CIDADE", "cidade / UF da igreja"},
        {"PASTOR", "pastor(a) ou presidente"},
        {"HOJE_POR_EXTENSO", "a data de hoje por extenso"},
        {"NUMERO", "número do documento (7/2026)"},
    };
    return all;
}

QList<Field> ownFields(Kind kind)
{
    switch (kind) {
    case Kind::Transfer:
        return {{"IGREJA_DESTINO", "igreja que recebe o membro"},
                {"CIDADE_DESTINO", "cidade da igreja que recebe"},
                {"VALIDA_ATE", "data até quando a carta vale"}};
    case Kind::Baptism:
        return {{"OFICIANTE", "quem batizou"}};
    case Kind::ChildPresentation:
        return {{"DATA_APRESENTACAO", "data da apresentação"}, {"OFICIANTE", "quem apresentou a criança"}};
    case Kind::Recommendation:
    case Kind::Membership:
        break;
    }
    return {};
}

const KindInfo &infoOf(Kind kind)
{
    for (const KindInfo &k : kKinds)
        if (k.kind == kind)
            return k;
    return kKinds[0];
}

const char *originalOf(Kind kind)
{
    switch (kind) {
    case Kind::Transfer:
        return "À {IGREJA_DESTINO}, em {CIDADE_DESTINO}.\n\n"
               "Amados irmãos em Cristo,\n\n"
               "A {IGREJA}, inscrita no CNPJ {CNPJ}, com sede em {ENDERECO_IGREJA}, {CIDADE}, declara que {NOME} "
               "é membro desta igreja, em plena comunhão, e, atendendo ao seu pedido, concede-lhe esta carta de "
               "transferência, recomendando-o(a) ao vosso amor cristão e à vossa comunhão.\n\n"
               "Recebido(a) o(a) irmão(ã), pedimos que nos devolvam o canhoto abaixo, assinado, para que o seu nome "
               "seja baixado do nosso rol de membros.\n\n"
               "Esta carta é válida até {VALIDA_ATE}.\n\n"
               "{CIDADE}, {HOJE_POR_EXTENSO}.";
    case Kind::Recommendation:
        return "A quem possa interessar.\n\n"
               "A {IGREJA}, inscrita no CNPJ {CNPJ}, com sede em {ENDERECO_IGREJA}, {CIDADE}, recomenda {NOME}, "
               "membro desta igreja em plena comunhão, ao amor cristão e à comunhão das igrejas irmãs, pedindo que "
               "o(a) recebam no Senhor, como convém aos santos.\n\n"
               "{CIDADE}, {HOJE_POR_EXTENSO}.";
    case Kind::Baptism:
        return "Certificamos que {NOME}, nascido(a) em {DATA_NASCIMENTO}, filho(a) de {PAI} e de {MAE}, tendo feito "
               "pública profissão de fé em Jesus Cristo, foi batizado(a) em {DATA_BATISMO} por {OFICIANTE}, na "
               "{IGREJA}.\n\n"
               "{CIDADE}, {HOJE_POR_EXTENSO}.";
    case Kind::ChildPresentation:
        return "Certificamos que a criança {NOME}, nascida em {DATA_NASCIMENTO}, filha de {PAI} e de {MAE}, foi "
               "apresentada ao Senhor na {IGREJA} em {DATA_APRESENTACAO}, por {OFICIANTE}.\n\n"
               "\"Deixai vir a mim as crianças, e não as impeçais.\" (Marcos 10.14)\n\n"
               "{CIDADE}, {HOJE_POR_EXTENSO}.";
    case Kind::Membership:
        return "Declaramos, para os devidos fins, que {NOME}, CPF {CPF}, é membro da {IGREJA}, inscrita no CNPJ "
               "{CNPJ}, com sede em {ENDERECO_IGREJA}, {CIDADE}, desde {DATA_ADMISSAO}, estando em plena comunhão "
               "com esta igreja.\n\n"
               "{CIDADE}, {HOJE_POR_EXTENSO}.";
    }
    return "";
}

const QRegularExpression &fieldPattern()
{
    static const QRegularExpression pattern(QStringLiteral("\\{([^{}\\n]*)\\}"));
    return pattern;
}

// The stored model row of `kind` in the models' table: its index, or -1.
int storedRow(Kind kind)
{
    TableDataset *models = DM->TBMODELO;
    models->open();
    const int kindColumn = DM->TBMODELOMODTIPO->index();
    for (int i = 0; i < models->allRowCount(); ++i)
        if (models->allRowValue(i, kindColumn).toString() == name(kind))
            return i;
    return -1;
}

// The value of `column` on the member's row of the members' table, as stored
// (whatever search the register has on); null when there is no such column.
QVariant memberValue(int row, const QString &column)
{
    const ::Field *field = DM->TBMEMBRO->findField(column);
    return field ? DM->TBMEMBRO->allRowValue(row, field->index()) : QVariant();
}

int memberRow(int member)
{
    TableDataset *members = DM->TBMEMBRO;
    members->open();
    const int code = DM->TBMEMBROMEMCODIGO->index();
    for (int i = 0; i < members->allRowCount(); ++i)
        if (members->allRowValue(i, code).toInt() == member)
            return i;
    throw DbError(QStringLiteral("O membro de código %1 não está no cadastro.").arg(member));
}

QString textOf(const QVariant &value)
{
    if (value.typeId() == QMetaType::QDate)
        return written(value.toDate());
    return value.toString().trimmed();
}

} // namespace

const QList<Kind> &kinds()
{
    static const QList<Kind> all{Kind::Transfer, Kind::Recommendation, Kind::Baptism, Kind::ChildPresentation,
                                 Kind::Membership};
    return all;
}

QString name(Kind kind)
{
    return QString::fromUtf8(infoOf(kind).name);
}

std::optional<Kind> named(const QString &text)
{
    for (const KindInfo &k : kKinds)
        if (QString::fromUtf8(k.name) == text)
            return k.kind;
    return std::nullopt;
}

bool isCertificate(Kind kind)
{
    return infoOf(kind).certificate;
}

QList<Field> fields(Kind kind)
{
    return commonFields() + ownFields(kind);
}

QList<Field> askedFields(Kind kind)
{
    return ownFields(kind);
}

bool isDateField(const QString &field)
{
    return field.startsWith(QLatin1String("DATA_")) || field == QLatin1String("VALIDA_ATE");
}

QString original(Kind kind)
{
    return QString::fromUtf8(originalOf(kind));
}

QString returnSlip()
{
    return QStringLiteral("A {IGREJA_DESTINO}, em {CIDADE_DESTINO}, comunica à {IGREJA}, {CIDADE}, que {NOME} foi "
                          "recebido(a) como membro em ____/____/________, com a carta de transferência nº {NUMERO}.");
}

QString model(Kind kind)
{
    const int row = storedRow(kind);
    if (row < 0)
        return original(kind);
    const QString own = DM->TBMODELO->allRowValue(row, DM->TBMODELOMODTEXTO->index()).toString();
    return own.trimmed().isEmpty() ? original(kind) : own;
}

bool hasOwnModel(Kind kind)
{
    return storedRow(kind) >= 0;
}

void store(Kind kind, const QString &text)
{
    check(kind, text);
    const bool own = !text.trimmed().isEmpty() && text != original(kind);
    TableDataset *models = DM->TBMODELO;
    const bool filtered = models->filtered();
    models->setFiltered(false);
    try {
        const bool stored = models->locate(QStringLiteral("MODTIPO"), {name(kind)});
        if (stored && !own) {
            models->del();
        } else if (own) {
            if (stored) {
                models->edit();
            } else {
                models->insert();
                DM->TBMODELOMODCODIGO->setAsInteger(models->nextCode(DM->TBMODELOMODCODIGO->index()));
                DM->TBMODELOMODTIPO->setAsString(name(kind));
            }
            DM->TBMODELOMODTEXTO->setAsString(text);
            models->post();
        }
        if (models->hasPendingChanges())
            models->applyUpdates(0);
    } catch (const DbError &) {
        models->cancel();
        models->cancelUpdates();
        models->setFiltered(filtered);
        throw;
    }
    models->setFiltered(filtered);
}

QStringList fieldsIn(const QString &text)
{
    QStringList names;
    for (auto it = fieldPattern().globalMatch(text); it.hasNext();) {
        const QString field = it.next().captured(1).trimmed().toUpper();
        if (!names.contains(field))
            names << field;
    }
    return names;
}

void check(Kind kind, const QString &text)
{
    QStringList known, unknown;
    for (const Field &f : fields(kind))
        known << f.name;
    for (const QString &field : fieldsIn(text))
        if (!known.contains(field))
            unknown << u'{' + field + u'}';
    if (unknown.isEmpty())
        return;
    throw DbError(QStringLiteral("%1 %2 não %3 no modelo \"%4\". Corrija o texto ou use um dos campos da lista ao "
                                 "lado. Nada foi gravado.")
                      .arg(unknown.size() == 1 ? QStringLiteral("O campo") : QStringLiteral("Os campos"),
                           unknown.join(QStringLiteral(", ")),
                           unknown.size() == 1 ? QStringLiteral("existe") : QStringLiteral("existem"), name(kind)));
}

QString fill(Kind kind, const QString &text, const QHash<QString, QString> &values)
{
    check(kind, text);
    QString filled;
    qsizetype from = 0;
    for (auto it = fieldPattern().globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        filled += text.mid(from, m.capturedStart() - from);
        filled += ChurchData::orBlank(values.value(m.captured(1).trimmed().toUpper()), 20);
        from = m.capturedEnd();
    }
    return filled + text.mid(from);
}

QHash<QString, QString> values(int member, const QDate &today, const QString &number,
                               const QHash<QString, QVariant> &asked)
{
    const int row = memberRow(member);
    const auto of = [row](const char *column) { return textOf(memberValue(row, QString::fromLatin1(column))); };
    QHash<QString, QString> v{
        {"NOME", of("MEMNOME")},
        {"CPF", TaxNumber::formatted(TaxNumber::Kind::Cpf, of("MEMCPF"))},
        {"RG", of("MEMRG")},
        {"DATA_NASCIMENTO", of("MEMDATANASC")},
        {"NACIONALIDADE", of("MEMPAISNACAO")},
        {"ESTADO_CIVIL", of("MEMESTADOCIVIL")},
        {"PAI", of("MEMNOMEPAI")},
        {"MAE", of("MEMNOMEMAE")},
        {"DATA_BATISMO", of("MEMDATABATISMO")},
        {"DATA_ADMISSAO", of("MEMDATAADMISSAO")},
        {"NUMERO_ROL", of("MEMNUMROL")},
        {"IGREJA", ChurchData::value(ParameterCode::ChurchName).trimmed()},
        {"CNPJ", ChurchData::value(ParameterCode::Cnpj).trimmed()},
        {"ENDERECO_IGREJA", ChurchData::value(ParameterCode::Address).trimmed()},
        {"CIDADE", ChurchData::value(ParameterCode::CityState).trimmed()},
        {"PASTOR", ChurchData::value(ParameterCode::Pastor).trimmed()},
        {"HOJE_POR_EXTENSO", written(today)},
        {"NUMERO", number},
    };
    for (auto it = asked.constBegin(); it != asked.constEnd(); ++it)
        v.insert(it.key(), textOf(it.value()));
    return v;
}

QString written(const QDate &date)
{
    return date.isValid() ? ChurchPrint::longDate(date) : QString();
}

} // namespace DocumentModels
