#pragma once

#include <QString>

// Creates a new LIVRO.GDB at `path` with the program's eight tables and the
// default account, from the creation script db/criar_banco.sql. An existing
// file is never touched: DbError says so, as it does for any refusal.
void createDatabase(const QString &path);
