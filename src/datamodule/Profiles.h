#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// Who may do what: each account has a profile, and the profile says, for
// each part of the program, whether the account changes it, only reads it
// or does not see it. The table in Profiles.cpp is the one place that decides;
// the main window applies it to its commands and the session to the tables.
enum class Profile { Administrador, Secretaria, Tesouraria, Consulta };

enum class Area {
    Members,       // members, events, birthdays, cards, member reports
    Employees,     // employees and positions (salaries)
    Cash,          // cash books, movements, categories, tithes, receipts, cash reports
    Configuration, // parameters, church data, accounts
    Backup,        // making a backup copy
    Restore,       // restoring a backup over the live data
    History,       // the change log: read only, by the conselho fiscal too
    Documents,     // the members' letters and certificates, and their models
};

enum class Access { None, Read, Change };

namespace Profiles {

Access access(Profile profile, Area area);

// The profiles by name, as stored in TUSUARIO.USUPERFIL and shown: "Tesouraria".
QString name(Profile profile);
std::optional<Profile> named(const QString &name);
const QStringList &names(); // in the table's order

// The part of the program that the table of DM with this stem (MEMBRO) belongs to.
Area areaOfTable(const QString &stem);
// What a read-only table of that part says when something tries to change it.
QString readOnlyRefusal(Profile profile, Area area);

} // namespace Profiles
