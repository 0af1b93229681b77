#pragma once

#include "MemoryTable.h"

#include <QString>
#include <memory>

// Tables in memory for the report engine's tests, opened.

// Positions 1 to `count`: "CARGO <n>", salary 1000 + n.
inline std::unique_ptr<MemoryTable> positionsTable(int count)
{
    auto table = std::make_unique<MemoryTable>(
        QStringLiteral("TBCARGO"),
        FieldDefs{codeDef("CARCODIGO"), textDef("CARDESCRICAO", 40), typedDef("CARSALARIO", FieldType::Money)});
    for (int code = 1; code <= count; ++code)
        table->store({{"CARCODIGO", code},
                      {"CARDESCRICAO", QStringLiteral("CARGO %1").arg(code)},
                      {"CARSALARIO", 1000.0 + code}});
    table->dataset()->open();
    return table;
}

// Members with a name and a photograph: one row per (name, picture bytes).
inline std::unique_ptr<MemoryTable> membersTable(const QList<std::pair<QString, QByteArray>> &members)
{
    auto table = std::make_unique<MemoryTable>(
        QStringLiteral("TBMEMBRO"),
        FieldDefs{codeDef("MEMCODIGO"), textDef("MEMNOME", 50), typedDef("MEMFOTO", FieldType::Blob)});
    for (int i = 0; i < members.size(); ++i)
        table->store({{"MEMCODIGO", i + 1}, {"MEMNOME", members[i].first}, {"MEMFOTO", members[i].second}});
    table->dataset()->open();
    return table;
}
