#pragma once

#include <QList>
#include <QString>

// The program across an office network: a real Firebird server on the
// loopback, reached through kelmara-rede, which adds the delay of each round
// trip and limits the bandwidth. On a church of 1,500 members with 250 KB
// photographs and 20,000 movements (made below `folder` when absent), the
// user's steps from "Entrar" to saving a movement, each with the time and
// the round trips it took.
struct NetworkLink
{
    int delayMs = 0; // per round trip, half each way
    double megabits = 0;
};

void networkFigures(const QString &folder, const QList<NetworkLink> &links);
