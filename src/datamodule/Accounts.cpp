#include "Accounts.h"

#include "ChangeLog.h"
#include "PasswordHash.h"
#include "SchemaUpgrade.h"
#include "SignInAttempts.h"
#include "UDM.h"
#include "dataset/TableProvider.h"

namespace Accounts {

namespace {

TableDataset *accounts()
{
    TableDataset *table = DM->TBUSUARIO;
    table->provider()->openSource();
    table->open();
    return table;
}

QVariant at(int row, const Field *column)
{
    return DM->TBUSUARIO->allRowValue(row, column->index());
}

QString userNameAt(int row)
{
    return at(row, DM->TBUSUARIOUSULOGIN).toString();
}

// An unknown profile (a value typed into the database by hand) is the one
// that may do least; only "SIM" is active.
Account accountAt(int row, bool withProfiles)
{
    Account a;
    a.code = at(row, DM->TBUSUARIOUSUCODIGO).toInt();
    a.userName = userNameAt(row);
    if (!withProfiles)
        return a;
    a.fullName = at(row, DM->TBUSUARIOUSUNOME).toString();
    a.profile = Profiles::named(at(row, DM->TBUSUARIOUSUPERFIL).toString()).value_or(Profile::Consulta);
    a.active = at(row, DM->TBUSUARIOUSUATIVO).toString() == kYes;
    a.temporaryPassword = at(row, DM->TBUSUARIOUSUTROCARSENHA).toInt() != 0;
    return a;
}

bool passwordMatches(int row, const QString &password, bool hashed)
{
    if (hashed)
        return PasswordHash::matches(at(row, DM->TBUSUARIOUSUHASH).toString(), password);
    return at(row, DM->TBUSUARIOUSUSENHA).toString() == password;
}

bool activeAdministrator(const Account &a)
{
    return a.active && a.profile == Profile::Administrador;
}

} // namespace

bool profilesAvailable()
{
    return DM && SchemaUpgrade::available(DM->SQLConnection1(), kProfilesLevel);
}

namespace {

// The code of the account named `userName` (exactly); null when none is.
QVariant codeOf(const QString &userName)
{
    const TableDataset *table = accounts();
    for (int row = 0; row < table->allRowCount(); ++row)
        if (userNameAt(row) == userName)
            return at(row, DM->TBUSUARIOUSUCODIGO);
    return {};
}

SignIn checked(const QString &userName, const QString &password)
{
    if (const int wait = SignInAttempts::secondsToWait(userName); wait > 0)
        return {SignIn::Outcome::Waiting, {}, wait};
    const TableDataset *table = accounts();
    const bool hashed = profilesAvailable();
    for (int row = 0; row < table->allRowCount(); ++row) {
        if (userNameAt(row) != userName || !passwordMatches(row, password, hashed))
            continue;
        SignInAttempts::right(userName);
        const Account account = accountAt(row, hashed);
        return {account.active ? SignIn::Outcome::Accepted : SignIn::Outcome::Inactive, account, 0};
    }
    SignInAttempts::wrong(userName);
    return {};
}

} // namespace

SignIn check(const QString &userName, const QString &password)
{
    const SignIn result = checked(userName, password);
    if (result.outcome != SignIn::Outcome::Accepted)
        ChangeLog::recordSignIn(DM->SQLConnection1(), userName, codeOf(userName), false, refusalOf(result, userName));
    return result;
}

QString refusalOf(const SignIn &result, const QString &userName)
{
    switch (result.outcome) {
    case SignIn::Outcome::Waiting:
        return QStringLiteral("Foram digitadas %1 senhas erradas seguidas para o nome de usuário \"%2\". Aguarde %3 "
                              "e tente de novo.")
            .arg(SignInAttempts::kTriesBeforeWaiting)
            .arg(userName)
            .arg(result.secondsToWait == 1 ? QStringLiteral("1 segundo")
                                           : QStringLiteral("%1 segundos").arg(result.secondsToWait));
    case SignIn::Outcome::Inactive:
        return QStringLiteral("A conta \"%1\" está desativada e não entra no programa. Peça a um administrador que "
                              "a ative em Configurações > Usuários.")
            .arg(result.account.userName);
    case SignIn::Outcome::Refused:
    case SignIn::Outcome::Accepted:
        break;
    }
    return QStringLiteral("Senha ou Login Incorretos !");
}

std::optional<Account> byCode(int code)
{
    const TableDataset *table = accounts();
    const bool withProfiles = profilesAvailable();
    for (int row = 0; row < table->allRowCount(); ++row)
        if (at(row, DM->TBUSUARIOUSUCODIGO).toInt() == code)
            return accountAt(row, withProfiles);
    return std::nullopt;
}

QString passwordRefusal(const QString &userName, const QString &password)
{
    if (password.size() < kShortestPassword)
        return QStringLiteral("A nova senha precisa ter pelo menos %1 caracteres.").arg(kShortestPassword);
    if (password.compare(userName, Qt::CaseInsensitive) == 0)
        return QStringLiteral("A nova senha não pode ser o nome de usuário.");
    return {};
}

QString userNameRefusal(const QString &userName, int code)
{
    if (userName.trimmed().isEmpty())
        return QStringLiteral("Digite o nome de usuário da conta.");
    const TableDataset *table = accounts();
    for (int row = 0; row < table->allRowCount(); ++row)
        if (at(row, DM->TBUSUARIOUSUCODIGO).toInt() != code && userNameAt(row).compare(userName, Qt::CaseInsensitive) == 0)
            return QStringLiteral("Já existe outra conta com o nome de usuário \"%1\". Escolha outro nome.")
                .arg(userNameAt(row));
    return {};
}

void putPassword(const QString &password, bool temporary)
{
    DM->TBUSUARIOUSUHASH->setAsString(PasswordHash::make(password));
    DM->TBUSUARIOUSUSENHA->clear();
    DM->TBUSUARIOUSUTROCARSENHA->setAsInteger(temporary ? 1 : 0);
}

bool defaultPasswordInUse()
{
    const TableDataset *table = accounts();
    const bool hashed = profilesAvailable();
    for (int row = 0; row < table->allRowCount(); ++row)
        if (userNameAt(row) == kDefaultUserName && accountAt(row, hashed).active
            && passwordMatches(row, kDefaultPassword, hashed))
            return true;
    return false;
}

bool onlyDefaultAccount()
{
    const TableDataset *table = accounts();
    return table->allRowCount() == 1 && userNameAt(0) == kDefaultUserName;
}

QString lastAdministratorRefusal(bool deleting)
{
    const TableDataset *table = accounts();
    const int code = DM->TBUSUARIOUSUCODIGO->asInteger();
    bool wasOne = false;
    QString name;
    for (int row = 0; row < table->allRowCount(); ++row) {
        const Account stored = accountAt(row, true);
        if (stored.code == code) {
            wasOne = activeAdministrator(stored);
            name = stored.userName;
        } else if (activeAdministrator(stored)) {
            return {};
        }
    }
    if (!wasOne)
        return {};
    if (!deleting && DM->TBUSUARIOUSUPERFIL->asString() == Profiles::name(Profile::Administrador)
        && DM->TBUSUARIOUSUATIVO->asString() == kYes)
        return {};
    return QStringLiteral("A conta \"%1\" é a última conta ativa com o perfil Administrador: ela não pode ser %2. "
                          "Dê antes o perfil Administrador a outra conta ativa.")
        .arg(name, deleting ? QStringLiteral("excluída") : QStringLiteral("desativada nem receber outro perfil"));
}

} // namespace Accounts
