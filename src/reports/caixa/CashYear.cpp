#include "CashYear.h"

#include "datamodule/UDM.h"
#include "provider/QueryDataset.h"
#include "dataset/TableDataset.h"

#include <QHash>
#include <algorithm>
#include <cmath>

namespace {

constexpr double HalfCent = 0.005;

const QStringList kTotalsSql = {
    QStringLiteral("SELECT TMOVIMETACOES.MOVLIVRO, TMOVIMETACOES.MOVDEBITOCREDITO, SUM(TMOVIMETACOES.MOVVALOR) AS TOTAL"),
    QStringLiteral("FROM TMOVIMETACOES"),
    QStringLiteral("WHERE TMOVIMETACOES.MOVLIVRO IN (SELECT TLIVRO.LIVCODIGO FROM TLIVRO WHERE TLIVRO.LIVANO = :ano)"),
    QStringLiteral("GROUP BY TMOVIMETACOES.MOVLIVRO, TMOVIMETACOES.MOVDEBITOCREDITO")};

TableDataset *openBooks()
{
    DM->SQLLIVRO->setActive(true);
    DM->TBLIVRO->open();
    return DM->TBLIVRO;
}

struct Totals
{
    double entries = 0;
    double exits = 0;
};

// Entries and exits of every book of `year`, by book code; kinds other than
// "ENTRADA" and "SAIDA" count nowhere, as in the cash book report.
QHash<int, Totals> totalsByBook(int year)
{
    QueryDataset query(QStringLiteral("QTotais"), DM->connectionName());
    query.setSql(kTotalsSql);
    query.setParam(QStringLiteral("ano"), year);
    query.open();
    QHash<int, Totals> totals;
    for (query.first(); !query.eof(); query.next()) {
        Totals &book = totals[query.fieldByName(QStringLiteral("MOVLIVRO"))->asInteger()];
        const QString kind = query.fieldByName(QStringLiteral("MOVDEBITOCREDITO"))->asString();
        const double sum = query.fieldByName(QStringLiteral("TOTAL"))->asFloat();
        if (kind == QLatin1String("ENTRADA"))
            book.entries += sum;
        else if (kind == QLatin1String("SAIDA"))
            book.exits += sum;
    }
    return totals;
}

} // namespace

bool CashMonth::stale() const
{
    return hasBook() && !closed()
        && (std::abs(storedPrevious - previous) > HalfCent || std::abs(storedCurrent - current) > HalfCent);
}

// The years of the books of months 1 to 12, in table order.
QList<int> CashYear::bookYears()
{
    TableDataset *books = openBooks();
    const int monthColumn = DM->TBLIVROLIVMES->index();
    const int yearColumn = DM->TBLIVROLIVANO->index();
    QList<int> years;
    for (int i = 0; i < books->allRowCount(); ++i) {
        const int month = books->allRowValue(i, monthColumn).toInt();
        const QVariant year = books->allRowValue(i, yearColumn);
        if (month >= 1 && month <= 12 && !year.isNull())
            years << year.toInt();
    }
    return years;
}

bool CashYear::hasBooks(int year)
{
    return bookYears().contains(year);
}

int CashYear::latestYear()
{
    const QList<int> years = bookYears();
    return years.isEmpty() ? 0 : *std::max_element(years.begin(), years.end());
}

CashYear CashYear::compute(int year)
{
    CashYear result;
    result.year = year;
    TableDataset *books = openBooks();
    const int code = DM->TBLIVROLIVCODIGO->index();
    const int monthColumn = DM->TBLIVROLIVMES->index();
    const int yearColumn = DM->TBLIVROLIVANO->index();
    bool decemberFound = false;
    for (int i = 0; i < books->allRowCount(); ++i) {
        const int month = books->allRowValue(i, monthColumn).toInt();
        const QVariant bookYear = books->allRowValue(i, yearColumn);
        if (month < 1 || month > 12 || bookYear.isNull())
            continue;
        if (month == 12 && bookYear.toInt() == year - 1 && !decemberFound) {
            result.opening = books->allRowValue(i, DM->TBLIVROLIVSALDOATUAL->index()).toDouble();
            decemberFound = true;
        }
        if (bookYear.toInt() != year)
            continue;
        CashMonth &m = result.months[month - 1];
        if (m.books++ > 0)
            continue;
        m.bookCode = books->allRowValue(i, code).toInt();
        m.description = books->allRowValue(i, DM->TBLIVROLIVDESCRICAO->index()).toString();
        m.storedPrevious = books->allRowValue(i, DM->TBLIVROLIVSALDOANTERIOR->index()).toDouble();
        m.storedCurrent = books->allRowValue(i, DM->TBLIVROLIVSALDOATUAL->index()).toDouble();
        m.closedOn = books->allRowValue(i, DM->TBLIVROLIVFECHADOEM->index()).toDate();
        m.closedBy = books->allRowValue(i, DM->TBLIVROLIVFECHADOPOR->index()).toString();
    }

    const QHash<int, Totals> totals = totalsByBook(year);
    double carried = result.opening;
    for (int i = 0; i < 12; ++i) {
        CashMonth &m = result.months[i];
        m.month = i + 1;
        if (!m.hasBook()) {
            carried = 0; // the month after takes 0, as its report does
            continue;
        }
        const Totals book = totals.value(m.bookCode);
        m.previous = carried;
        m.entries = book.entries;
        m.exits = book.exits;
        m.current = m.previous + m.entries - m.exits;
        carried = m.current;
    }
    return result;
}

double CashYear::entries() const
{
    double sum = 0;
    for (const CashMonth &m : months)
        sum += m.entries;
    return sum;
}

double CashYear::exits() const
{
    double sum = 0;
    for (const CashMonth &m : months)
        sum += m.exits;
    return sum;
}

double CashYear::closing() const
{
    for (auto m = months.rbegin(); m != months.rend(); ++m)
        if (m->hasBook())
            return m->current;
    return opening;
}

bool CashYear::anyStale() const
{
    for (const CashMonth &m : months)
        if (m.stale())
            return true;
    return false;
}
