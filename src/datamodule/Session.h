#pragma once

#include "Accounts.h"

#include <QSqlDatabase>

#include <optional>

// Who is signed in, kept in this one place for the whole run: the account
// (code, user name, full name) and its profile. Starting the session makes
// every table of DM that the profile may not change read-only, so that only
// what the profile allows can be stored, whatever window or code tries.
// The session ends with DM. Starting it also tells the engine who is signed
// in on DM's connection (for the change log) and logs the sign-in.
namespace Session {

void start(const Account &account);
// Tells the engine on `db` who is signed in, from this computer
// (ChangeLog::tellSession): for every connection that writes, at its start
// and again when it is opened anew.
void tellEngine(const QSqlDatabase &db);
void end();
const std::optional<Account> &current();

// What the signed-in account may do with `area`; nothing while nobody is signed in.
Access access(Area area);
inline bool mayChange(Area area) { return access(area) == Access::Change; }

// "MARIA (Tesouraria)": the full name (or the user name) and the profile;
// empty while nobody is signed in.
QString caption();

} // namespace Session
