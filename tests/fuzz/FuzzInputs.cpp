#include "FuzzInputs.h"

#include "dataset/DbError.h"
#include "dataset/Field.h"
#include "dataset/LikeFilter.h"
#include "dataset/TableDataset.h"
#include "dataset/Win1252.h"
#include "statement/OfxReader.h"

#include <QRegularExpression>
#include <QSet>

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

// Any bytes are read as statements or refused with a message naming a line
// of the file; every line read has a valid date, a finite amount that is not
// zero and an identity of its own within its statement.
QString checkStatement(const QByteArray &raw)
{
    QList<Ofx::Statement> statements;
    try {
        statements = Ofx::read(raw);
    } catch (const DbError &e) {
        static const QRegularExpression named(QStringLiteral("^Linha (\\d+) do arquivo: .+ Nada do arquivo foi importado\\.$"));
        const QRegularExpressionMatch m = named.match(e.text());
        const int lines = int(raw.count('\n') + raw.count('\r')) + 1;
        if (!m.hasMatch() || m.captured(1).toInt() < 1 || m.captured(1).toInt() > lines)
            return QStringLiteral("the refusal \"%1\" names no line of the file").arg(e.text());
        return {};
    }
    for (const Ofx::Statement &s : statements) {
        QSet<QString> identities;
        for (const Ofx::Line &l : s.lines) {
            if (!l.date.isValid() || !std::isfinite(l.amount) || l.amount == 0)
                return QStringLiteral("a line with the date %1 and the amount %2").arg(l.date.toString()).arg(l.amount);
            if (l.identity.isEmpty() || identities.contains(l.identity))
                return QStringLiteral("the identity \"%1\" is empty or repeated").arg(l.identity);
            identities.insert(l.identity);
        }
    }
    return {};
}

} // namespace

QString checkFuzzInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return {};
    const QByteArray raw(reinterpret_cast<const char *>(data) + 1, qsizetype(size - 1));
    const QString text = QString::fromUtf8(raw);
    switch (data[0] % 4) {
    case 0:
        return checkFilter(text, raw);
    case 1:
        return checkDate(text);
    case 2:
        return checkMoney(text);
    default:
        return checkStatement(raw);
    }
}
