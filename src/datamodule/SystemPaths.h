#pragma once

#include <QString>

// The fixed file names of the program and the database path. The names are
// written as on a Windows workstation ("C:\aliaslivro.txt"); elsewhere the
// drive root "C:\" stands for a folder chosen at build time (tests set their
// own) and "\" becomes "/".
namespace SystemPaths {

QString separator(); // "\" on Windows, "/" elsewhere
QString driveRoot();
void setDriveRoot(const QString &folder);
QString fixedPath(const QString &windowsPath); // "C:\aliaslivro.txt" -> this system's path

// The folder of the running program with its trailing separator, held for the run.
QString applicationFolder();
void setApplicationFolder(const QString &folder);
QString executableFolder(); // the folder of the executable, with its trailing separator

QString aliasFilePath();
// The connection file beside the alias file ("C:\conexao.txt"): the user and
// password for a database on a server (see credentialsFor).
QString connectionFilePath();
inline const QString kDatabaseFileName = QStringLiteral("LIVRO.GDB");

// The database file: the alias file's first line (as written) followed by
// "\LIVRO.GDB" when the alias file exists, else the application folder
// followed by "LIVRO.GDB". DbError when the alias file cannot be read.
QString databasePath();

} // namespace SystemPaths
