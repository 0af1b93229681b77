#include "PasswordBench.h"

#include "BenchKit.h"
#include "datamodule/PasswordHash.h"

using namespace Bench;

// The check is what a user waits for at each sign-in, and what slows down
// whoever tries passwords against a copy of the database: it should take
// 0.2 to 0.5 s on an office computer.
void passwordFigures()
{
    const PasswordHash::Cost cost = PasswordHash::current();
    QString stored;
    const double make = bestOf(kRuns, [&] { return timedMs([&] { stored = PasswordHash::make(QStringLiteral("senha do bench")); }); });
    bool matched = false;
    const double check = bestOf(kRuns, [&] {
        return timedMs([&] { matched = PasswordHash::matches(stored, QStringLiteral("senha do bench")); });
    });
    printFigure({QStringLiteral("password_cost_passes"), double(cost.passes), QStringLiteral("passes")});
    printFigure({QStringLiteral("password_cost_memory"), double(cost.memory) / (1024.0 * 1024.0), QStringLiteral("MiB")});
    printFigure({QStringLiteral("password_hash"), make, QStringLiteral("ms")});
    printFigure({QStringLiteral("password_check"), matched ? std::optional<double>(check) : std::nullopt, QStringLiteral("ms")});
    printTarget({QStringLiteral("password_check"), check, false, 500.0});
}
