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

} // namespace ChurchData
