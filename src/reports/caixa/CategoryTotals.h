#pragma once

#include <QList>
#include <QSet>
#include <QString>
#include <QVariant>

// What one category adds up to over a set of movements.
struct CategoryTotal
{
    QVariant code; // null: the movements without a category (or with one no longer stored)
    QString description;
    double amount = 0;
    int movements = 0;
};

// Entries and exits of some books by category, read from the database: the
// stored categories by their code, then "Sem categoria". Movements of any
// other kind than "ENTRADA" and "SAIDA" count nowhere, as in the cash book.
struct CategoryTotals
{
    QList<CategoryTotal> entries;
    QList<CategoryTotal> exits;

    double entriesTotal() const;
    double exitsTotal() const;

    static CategoryTotals ofBook(int bookCode);
    // The books of `year` among `books` (the books each month counts).
    static CategoryTotals ofYear(int year, const QSet<int> &books);
};
