#pragma once

#include <QString>

// Keeps the launcher batch file reduced to its one launcher line. The plain
// form runs at sign-in; the server-marker form runs when the program closes
// and acts only where the database server's read-me file exists.
namespace LauncherRepair {

inline const QString kBatchFile = QStringLiteral("C:\\Kelmara\\Kelmara.bat");
inline const QString kLauncherLine = QStringLiteral("START c:\\Kelmara\\Kelmara.exe");
inline const QString kServerMarker = QStringLiteral("C:\\Arquivos de programas\\Firebird\\Firebird_2_0\\leia-me.txt");

enum class Form { Plain, ServerMarker };

// DbError when the batch file exists but cannot be read or rewritten.
void run(Form form);

} // namespace LauncherRepair
