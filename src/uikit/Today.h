#pragma once

#include <QDate>

// Today's date for the whole program; tests can fix it.
namespace Today {
QDate date();
void setForTests(const QDate &day); // an invalid date goes back to the system clock
} // namespace Today
