#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <array>

// One month of a cash book year: its book (the first of the month and year
// in the books table, as the cash book report finds it), the figures its
// movements give, and the balances stored on the book.
struct CashMonth
{
    int month = 0;    // 1 to 12
    int books = 0;    // books of this month and year; 0: none
    int bookCode = 0; // the first of them
    QString description;
    double previous = 0; // the chain computed from the movements
    double entries = 0;
    double exits = 0;
    double current = 0;
    double storedPrevious = 0; // LIVSALDOANTERIOR; empty reads 0, as the report reads it
    double storedCurrent = 0;  // LIVSALDOATUAL
    QDate closedOn;            // LIVFECHADOEM: the month was closed, its balances stored then
    QString closedBy;

    bool hasBook() const { return books > 0; }
    bool closed() const { return closedOn.isValid(); }
    // Stored balances more than half a cent away from the computed ones: the
    // month's report was made before a movement of it, or of a month before
    // it, was changed (or was never made). Never so for a closed month, whose
    // balances were settled when it closed.
    bool stale() const;
};

// The twelve months of one year as the cash book report chains them, but
// computed from the movements in the database, not from stored balances:
// January opens with the balance stored on December of the year before; a
// month's previous balance is the computed current balance of the month
// before, or 0 when that month has no book. Reads; writes nothing.
class CashYear
{
public:
    static CashYear compute(int year);
    // Whether any book of the shared books table is of `year` (and of a month 1 to 12).
    static bool hasBooks(int year);
    // The latest year with a book of a month 1 to 12; 0 when there is none.
    static int latestYear();

    int year = 0;
    double opening = 0; // the balance that opens January
    std::array<CashMonth, 12> months;

    double entries() const;
    double exits() const;
    double closing() const; // the current balance of the last month with a book
    bool anyStale() const;

private:
    static QList<int> bookYears();
};
