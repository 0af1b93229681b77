#include "Session.h"

#include "ChangeLog.h"
#include "UDM.h"

namespace Session {

namespace {

std::optional<Account> &signedIn()
{
    static std::optional<Account> account;
    return account;
}

} // namespace

void start(const Account &account)
{
    signedIn() = account;
    tellEngine(DM->SQLConnection1());
    ChangeLog::recordSignIn(DM->SQLConnection1(), account.userName, account.code, true);
    for (TableDataset *table : DM->tables()) {
        const Area area = Profiles::areaOfTable(table->objectName().mid(2)); // "TBMEMBRO": MEMBRO
        table->setReadOnly(access(area) != Access::Change, Profiles::readOnlyRefusal(account.profile, area));
    }
}

void tellEngine(const QSqlDatabase &db)
{
    if (signedIn())
        ChangeLog::tellSession(db, signedIn()->userName, ChangeLog::workstationName());
}

void end()
{
    signedIn().reset();
}

const std::optional<Account> &current()
{
    return signedIn();
}

Access access(Area area)
{
    return signedIn() ? Profiles::access(signedIn()->profile, area) : Access::None;
}

QString caption()
{
    if (!signedIn())
        return {};
    return QStringLiteral("%1 (%2)").arg(signedIn()->shownName(), Profiles::name(signedIn()->profile));
}

} // namespace Session
