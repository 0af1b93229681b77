#include "CategoryTotals.h"

#include "datamodule/CashCategories.h"
#include "datamodule/UDM.h"
#include "provider/QueryDataset.h"

#include <QMap>
#include <algorithm>

namespace {

const QString kSelect = QStringLiteral(
    "SELECT TMOVIMETACOES.MOVLIVRO, TMOVIMETACOES.MOVDEBITOCREDITO, TCATEGORIA.CATCODIGO, TCATEGORIA.CATDESCRICAO, "
    "SUM(TMOVIMETACOES.MOVVALOR) AS TOTAL, COUNT(*) AS LANCAMENTOS");
const QString kFrom =
    QStringLiteral("FROM TMOVIMETACOES LEFT JOIN TCATEGORIA ON TCATEGORIA.CATCODIGO = TMOVIMETACOES.MOVCATEGORIA");
const QString kGroup = QStringLiteral("GROUP BY TMOVIMETACOES.MOVLIVRO, TMOVIMETACOES.MOVDEBITOCREDITO, "
                                      "TCATEGORIA.CATCODIGO, TCATEGORIA.CATDESCRICAO");

double sum(const QList<CategoryTotal> &totals)
{
    double total = 0;
    for (const CategoryTotal &t : totals)
        total += t.amount;
    return total;
}

// The query's lines of the books wanted, joined by kind and category.
CategoryTotals gather(QueryDataset &query, const std::function<bool(int book)> &wanted)
{
    query.open();
    QMap<int, CategoryTotal> entries, exits; // by code; -1 for none
    for (query.first(); !query.eof(); query.next()) {
        if (!wanted(query.fieldByName(QStringLiteral("MOVLIVRO"))->asInteger()))
            continue;
        const QString kind = query.fieldByName(QStringLiteral("MOVDEBITOCREDITO"))->asString();
        if (kind != CashCategories::kEntry && kind != CashCategories::kExit)
            continue;
        Field *code = query.fieldByName(QStringLiteral("CATCODIGO"));
        CategoryTotal &t = (kind == CashCategories::kEntry ? entries : exits)[code->isNull() ? -1 : code->asInteger()];
        if (!code->isNull()) {
            t.code = code->asInteger();
            t.description = query.fieldByName(QStringLiteral("CATDESCRICAO"))->asString();
        } else {
            t.description = CashCategories::kNoCategory;
        }
        t.amount += query.fieldByName(QStringLiteral("TOTAL"))->asFloat();
        t.movements += query.fieldByName(QStringLiteral("LANCAMENTOS"))->asInteger();
    }
    const auto ordered = [](QMap<int, CategoryTotal> &byCode) {
        QList<CategoryTotal> list;
        for (auto it = byCode.begin(); it != byCode.end(); ++it)
            if (it.key() >= 0)
                list << it.value();
        if (byCode.contains(-1))
            list << byCode.value(-1);
        return list;
    };
    return {ordered(entries), ordered(exits)};
}

} // namespace

double CategoryTotals::entriesTotal() const
{
    return sum(entries);
}

double CategoryTotals::exitsTotal() const
{
    return sum(exits);
}

CategoryTotals CategoryTotals::ofBook(int bookCode)
{
    QueryDataset query(QStringLiteral("QCategorias"), DM->connectionName());
    query.setSql({kSelect, kFrom, QStringLiteral("WHERE TMOVIMETACOES.MOVLIVRO = :livro"), kGroup});
    query.setParam(QStringLiteral("livro"), bookCode);
    return gather(query, [](int) { return true; });
}

CategoryTotals CategoryTotals::ofYear(int year, const QSet<int> &books)
{
    QueryDataset query(QStringLiteral("QCategorias"), DM->connectionName());
    query.setSql({kSelect, kFrom,
                  QStringLiteral("WHERE TMOVIMETACOES.MOVLIVRO IN (SELECT TLIVRO.LIVCODIGO FROM TLIVRO WHERE "
                                 "TLIVRO.LIVANO = :ano)"),
                  kGroup});
    query.setParam(QStringLiteral("ano"), year);
    return gather(query, [&books](int book) { return books.contains(book); });
}
