#pragma once

#include <QDateTime>
#include <QString>

// The wrong passwords typed for each account name, in a row, kept in the
// memory of the running program (a new start begins anew): after five, the
// account waits thirty seconds before its next try, and again after every
// further wrong one, until a right one. The sign-in and the change of
// password count together, so neither is a way around the other.
namespace SignInAttempts {

constexpr int kTriesBeforeWaiting = 5;
constexpr int kSecondsToWait = 30;

// Seconds until `userName` may try again; 0 when it may now.
int secondsToWait(const QString &userName);
void wrong(const QString &userName);
void right(const QString &userName);

// The clock the waits are measured with; tests set their own (an invalid
// time goes back to the system clock) and forget every count.
QDateTime now();
void setClockForTests(const QDateTime &now);
void forgetAll();

} // namespace SignInAttempts
