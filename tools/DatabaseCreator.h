#pragma once

#include "datamodule/SchemaUpgrade.h"

#include <QString>

// Creates a new LIVRO.GDB at `path` with the program's tables and the default
// account: the creation script db/criar_banco.sql makes the first structure
// (level 0), which is then brought up to `level` as the program brings a
// stored database up to date, so new and updated databases are alike; the
// default account comes last, as a database of that level keeps it. An
// existing file is never touched: DbError says so, as it does for any refusal.
void createDatabase(const QString &path, int level = SchemaUpgrade::kLevel);
