#pragma once

#include "MemoryTable.h"

#include <memory>

// Tables in memory shaped as the program's, for the controls' tests: the
// columns the tests bind to, with the program's widths, types and masks.

inline std::unique_ptr<MemoryTable> membersTable()
{
    return std::make_unique<MemoryTable>(
        QStringLiteral("TBMEMBRO"),
        FieldDefs{codeDef("MEMCODIGO"), textDef("MEMNOME", 50), textDef("MEMENDERECO", 50),
                  typedDef("MEMDATANASC", FieldType::Date, kDateInputMask), textDef("MEMUF", 2),
                  typedDef("MEMFOTO", FieldType::Blob), textDef("MEMCONJUGE", 50), textDef("MEMSEXO", 10),
                  textDef("MEMCPF", 20, QStringLiteral("999.999.999-99;_"))});
}

inline std::unique_ptr<MemoryTable> employeesTable()
{
    return std::make_unique<MemoryTable>(
        QStringLiteral("TBFUNCIONARIO"),
        FieldDefs{codeDef("FUNCODIGO"), textDef("FUNNOME", 50), typedDef("FUNCARGO", FieldType::Integer),
                  typedDef("FUNSALARIO", FieldType::Money)});
}

inline std::unique_ptr<MemoryTable> positionsTable()
{
    return std::make_unique<MemoryTable>(
        QStringLiteral("TBCARGO"),
        FieldDefs{codeDef("CARCODIGO"), textDef("CARDESCRICAO", 40), typedDef("CARSALARIO", FieldType::Money)});
}

inline std::unique_ptr<MemoryTable> booksTable()
{
    return std::make_unique<MemoryTable>(QStringLiteral("TBLIVRO"),
                                         FieldDefs{codeDef("LIVCODIGO"), textDef("LIVOBSERVACAO", 250)});
}

inline std::unique_ptr<MemoryTable> movementsTable()
{
    return std::make_unique<MemoryTable>(
        QStringLiteral("TBMOVIMENTACOES"),
        FieldDefs{codeDef("MOVCODIGO"), textDef("MOVDESCRICAO", 50), typedDef("MOVVALOR", FieldType::Money),
                  typedDef("MOVDATA", FieldType::Date, kDateInputMask)});
}
