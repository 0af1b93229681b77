#pragma once

#include <QString>
#include <QStringList>
#include <functional>

class Dataset;

// What every test program uses, with or without a database.

// The text of the DbError that `action` raises; empty when it raises none.
QString dbErrorOf(const std::function<void()> &action);

// asString of `column` on every visible row of `dataset`, walking first..eof.
QStringList walk(Dataset &dataset, const QString &column);

// Locale and today's date as the program sets them, for test main functions.
void setUpTestProgram();
