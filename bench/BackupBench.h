#pragma once

#include <QString>

// Figures of making a checked copy of the database at `path` as "Fazer Cópia"
// does (the copy, the check, the whole, the file's size), each name followed
// by `suffix`.
void backupFigures(const QString &path, const QString &suffix);
