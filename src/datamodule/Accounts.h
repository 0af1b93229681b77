#pragma once

#include "Profiles.h"

#include <QString>

#include <optional>

// An account of TUSUARIO as the program uses it.
struct Account
{
    int code = 0;
    QString userName;
    QString fullName;
    Profile profile = Profile::Administrador;
    bool active = true;
    bool temporaryPassword = false; // to be changed at the next sign-in

    QString shownName() const { return fullName.isEmpty() ? userName : fullName; }
};

// The accounts of DM's TBUSUARIO: signing in, the rules for user names and
// passwords, the default account and the last Administrador. Every function
// opens TBUSUARIO when it is closed and reads the rows in memory, leaving
// its current row where it is.
namespace Accounts {

// The default account of a new database, as the first program had it.
inline const QString kDefaultUserName = QStringLiteral("master");
inline const QString kDefaultPassword = QStringLiteral("ravlen");
constexpr int kShortestPassword = 8;
// USUATIVO
inline const QString kYes = QStringLiteral("SIM");
inline const QString kNo = QStringLiteral("NÃO");

// The level of the database's structure that brought profiles and hashes.
constexpr int kProfilesLevel = 2;

// Whether DM's database keeps profiles and hashed passwords (level 2).
// Below it, as before profiles: each account signs in with the password
// stored as it was typed and is an Administrador.
bool profilesAvailable();

struct SignIn
{
    enum class Outcome { Accepted, Refused, Waiting, Inactive };
    Outcome outcome = Outcome::Refused;
    Account account;       // Accepted and Inactive
    int secondsToWait = 0; // Waiting
};
// The user name (exact, capitals counting) and password checked against
// the accounts; the wrong ones are counted (SignInAttempts), and while an
// account waits nothing is checked. A sign-in it refuses is logged
// (ChangeLog); the session logs the ones that go in.
SignIn check(const QString &userName, const QString &password);
// What the sign-in says when `result` lets nobody in: the wrong pair
// ("Senha ou Login Incorretos !"), the wait, or the inactive account.
QString refusalOf(const SignIn &result, const QString &userName);

std::optional<Account> byCode(int code);

// Why `password` may not be the new password of `userName`; empty when it may.
QString passwordRefusal(const QString &userName, const QString &password);
// Why the account `code` may not be named `userName` (empty, or another
// account's name, capitals or not); empty when it may.
QString userNameRefusal(const QString &userName, int code);

// Into the row of TBUSUARIO being edited: the hash of `password`, the
// plain column emptied, and whether the password is temporary.
void putPassword(const QString &password, bool temporary);

// The default account still signs in with its first password.
bool defaultPasswordInUse();
// There is no account but the default one.
bool onlyDefaultAccount();

// The last active Administrador stays one: why the row being edited may not
// be saved as it is (or, `deleting`, the current row not be deleted); empty
// when it may.
QString lastAdministratorRefusal(bool deleting);

} // namespace Accounts
