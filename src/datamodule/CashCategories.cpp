#include "CashCategories.h"

#include "SchemaUpgrade.h"
#include "UDM.h"
#include "dataset/TableDataset.h"
#include "dataset/TableProvider.h"

namespace CashCategories {

bool available()
{
    return DM && SchemaUpgrade::categoriesAvailable(DM->SQLConnection1());
}

QHash<int, QString> byCode(TableDataset *table, const QString &codeColumn, const QString &valueColumn)
{
    table->provider()->openSource();
    table->open();
    const int code = table->fieldByName(codeColumn)->index();
    const int value = table->fieldByName(valueColumn)->index();
    QHash<int, QString> values;
    values.reserve(table->allRowCount());
    for (int i = 0; i < table->allRowCount(); ++i)
        values.insert(table->allRowValue(i, code).toInt(), table->allRowValue(i, value).toString());
    return values;
}

QHash<int, QString> categoryDescriptions()
{
    return byCode(DM->TBCATEGORIA, QStringLiteral("CATCODIGO"), QStringLiteral("CATDESCRICAO"));
}

QHash<int, QString> memberNames()
{
    return byCode(DM->TBMEMBRO, QStringLiteral("MEMCODIGO"), QStringLiteral("MEMNOME"));
}

QString kindOf(int code)
{
    return byCode(DM->TBCATEGORIA, QStringLiteral("CATCODIGO"), QStringLiteral("CATTIPO")).value(code);
}

LikeFilter kindFilter(const QString &kind)
{
    return LikeFilter(QStringLiteral("CATTIPO"), kind);
}

} // namespace CashCategories
