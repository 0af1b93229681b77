#include "TestKit.h"

#include "dataset/Dataset.h"
#include "dataset/DbError.h"
#include "uikit/KelmaraApplication.h"

QString dbErrorOf(const std::function<void()> &action)
{
    try {
        action();
    } catch (const DbError &e) {
        return e.text().isEmpty() ? QStringLiteral("(DbError without text)") : e.text();
    }
    return {};
}

QStringList walk(Dataset &dataset, const QString &column)
{
    QStringList values;
    Field *field = dataset.fieldByName(column);
    for (dataset.first(); !dataset.eof(); dataset.next())
        values << field->asString();
    return values;
}

void setUpTestProgram()
{
    useBrazilianLocale();
}
