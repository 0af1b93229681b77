#include "ChurchData.h"

#include "UDM.h"
#include "dataset/DbError.h"
#include "dataset/TableDataset.h"

namespace ChurchData {

namespace {

QString descriptionOf(int code)
{
    for (const ParameterCode::Description &d : ParameterCode::kChurchData)
        if (d.code == code)
            return QString::fromUtf8(d.text);
    return {};
}

// Puts `text` under `code`: the row's value changed, or a new row with its
// description; an empty text creates no row.
void put(TableDataset *parameters, int code, const QString &text)
{
    if (parameters->locate(QStringLiteral("PARCODIGO"), {code})) {
        parameters->edit();
    } else {
        if (text.isEmpty())
            return;
        parameters->insert();
        DM->TBPARAMENTROSPARCODIGO->setAsInteger(code);
    }
    DM->TBPARAMENTROSPARVALOR->setAsString(text);
    if (DM->TBPARAMENTROSPAROBSERVACOES->isNull())
        DM->TBPARAMENTROSPAROBSERVACOES->setAsString(descriptionOf(code));
    parameters->post();
}

} // namespace

QString value(int code)
{
    TableDataset *parameters = DM->TBPARAMENTROS;
    parameters->open();
    const int codeColumn = DM->TBPARAMENTROSPARCODIGO->index();
    for (int i = 0; i < parameters->allRowCount(); ++i)
        if (parameters->allRowValue(i, codeColumn).toInt() == code)
            return parameters->allRowValue(i, DM->TBPARAMENTROSPARVALOR->index()).toString();
    return {};
}

QMap<int, QString> values()
{
    QMap<int, QString> result;
    for (const ParameterCode::Description &d : ParameterCode::kChurchData)
        result.insert(d.code, value(d.code));
    return result;
}

void store(const QMap<int, QString> &values)
{
    TableDataset *parameters = DM->TBPARAMENTROS;
    const QMap<int, QString> stored = ChurchData::values();
    // The rows a search hides are written too; the search is put back after.
    const bool filtered = parameters->filtered();
    parameters->setFiltered(false);
    try {
        for (auto it = values.constBegin(); it != values.constEnd(); ++it)
            if (it.value() != stored.value(it.key()))
                put(parameters, it.key(), it.value());
        if (parameters->hasPendingChanges())
            parameters->applyUpdates(0);
    } catch (const DbError &) {
        parameters->cancel();
        parameters->cancelUpdates();
        parameters->setFiltered(filtered);
        throw;
    }
    parameters->setFiltered(filtered);
}

QString orBlank(const QString &value, int blankLength)
{
    return value.trimmed().isEmpty() ? QString(blankLength, u'_') : value;
}

namespace {

// The value of a CNPJ character in its check: digits 0 to 9, letters from 17
// (A) on, as the Receita Federal counts them for alphanumeric numbers.
int checkValue(QChar c)
{
    return c.unicode() - u'0';
}

int checkDigit(const QString &chars)
{
    int sum = 0;
    int weight = 2;
    for (qsizetype i = chars.size() - 1; i >= 0; --i) {
        sum += checkValue(chars.at(i)) * weight;
        weight = weight == 9 ? 2 : weight + 1;
    }
    const int rest = sum % 11;
    return rest < 2 ? 0 : 11 - rest;
}

} // namespace

bool normalizeCnpj(const QString &text, QString &formatted)
{
    QString chars;
    for (QChar c : text.toUpper()) {
        if (c.isDigit() || (c >= u'A' && c <= u'Z'))
            chars += c;
        else if (!QStringLiteral(" ./-").contains(c))
            return false;
    }
    formatted.clear();
    if (chars.isEmpty())
        return true;
    if (chars.size() != 14 || !chars.right(2).at(0).isDigit() || !chars.right(2).at(1).isDigit()
        || chars.count(chars.at(0)) == 14)
        return false;
    const QString base = chars.left(12);
    const int first = checkDigit(base);
    const int second = checkDigit(base + QString::number(first));
    if (chars.right(2) != QString::number(first) + QString::number(second))
        return false;
    formatted = QStringLiteral("%1.%2.%3/%4-%5")
                    .arg(chars.mid(0, 2), chars.mid(2, 3), chars.mid(5, 3), chars.mid(8, 4), chars.mid(12, 2));
    return true;
}

} // namespace ChurchData
