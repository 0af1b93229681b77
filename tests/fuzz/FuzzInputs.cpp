#include "FuzzInputs.h"

#include "dataset/DbError.h"
#include "dataset/Field.h"
#include "dataset/LikeFilter.h"
#include "dataset/TableDataset.h"
#include "dataset/Win1252.h"

#include <cmath>

namespace {

// A dataset only to give the fields their column types; it is never opened.
const TableDataset &columns()
{
    static const TableDataset dataset(QStringLiteral("TBFUZZ"),
                                      {{QStringLiteral("DATA"), FieldType::Date},
                                       {QStringLiteral("VALOR"), FieldType::Money},
                                       {QStringLiteral("NOME"), FieldType::Text, 50}});
    return dataset;
}

// Any expression is parsed or refused with a DbError; the expression the
// search builds from any text is always accepted and finds that text.
QString checkFilter(const QString &text, const QByteArray &raw)
{
    try {
        const LikeFilter f = LikeFilter::parse(text);
        f.matches(std::string_view(raw.constData(), size_t(raw.size())));
    } catch (const DbError &) {
    }
    const QString expression =
        QStringLiteral("(UPPER(NOME) LIKE UPPER('%%1%'))").arg(QString(text).replace(u'\'', QStringLiteral("''")));
    try {
        const LikeFilter f = LikeFilter::parse(expression);
        QByteArray row;
        if (!text.isEmpty() && !text.contains(u'%') && !text.contains(u'_') && Win1252::encode(text, row)) {
            row = "X" + row + "Y";
            if (!f.matches(std::string_view(row.constData(), size_t(row.size()))))
                return QStringLiteral("the search for \"%1\" does not find it").arg(text);
        }
    } catch (const DbError &e) {
        return QStringLiteral("the search expression was refused: ") + e.text();
    }
    return {};
}

// A text typed as a date is a valid date or refused; a valid one reads back the same.
QString checkDate(const QString &text)
{
    Field *date = columns().fieldByName(QStringLiteral("DATA"));
    QVariant value;
    try {
        value = date->normalized(text);
    } catch (const DbError &) {
        return {};
    }
    if (value.isNull())
        return {};
    const QDate d = value.toDate();
    if (!d.isValid())
        return QStringLiteral("\"%1\" gave an invalid date").arg(text);
    if (date->normalized(d.toString(QStringLiteral("dd/MM/yyyy"))).toDate() != d)
        return QStringLiteral("\"%1\" does not read back").arg(text);
    return {};
}

// A text typed as an amount is a finite number or refused.
QString checkMoney(const QString &text)
{
    Field *money = columns().fieldByName(QStringLiteral("VALOR"));
    QVariant value;
    try {
        value = money->normalized(text);
    } catch (const DbError &) {
        return {};
    }
    if (!value.isNull() && !std::isfinite(value.toDouble()))
        return QStringLiteral("\"%1\" gave the amount %2").arg(text).arg(value.toDouble());
    return {};
}

} // namespace

QString checkFuzzInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return {};
    const QByteArray raw(reinterpret_cast<const char *>(data) + 1, qsizetype(size - 1));
    const QString text = QString::fromUtf8(raw);
    switch (data[0] % 3) {
    case 0:
        return checkFilter(text, raw);
    case 1:
        return checkDate(text);
    default:
        return checkMoney(text);
    }
}
