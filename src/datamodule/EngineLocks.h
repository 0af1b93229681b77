#pragma once

#include <QString>

// The embedded Firebird engine keeps its lock files in one folder shared by
// every process of the computer: the one named by FIREBIRD_LOCK, else the
// engine's default (/tmp/firebird on Debian), which belongs to whoever ran the
// engine first and is closed to everyone else. A build for several users of
// one computer names a folder of its own at build time, writable by their
// group, so that each of them can open the database after another.
namespace EngineLocks {

QString builtInFolder(); // empty: the engine's default
bool isRoot();

// Points the engine at `folder` before the first connection, unless
// FIREBIRD_LOCK is already set or `folder` is empty. Not for root: the engine
// hands root's lock files to the firebird account, which would shut the group
// out of a shared folder, so root keeps the engine's default.
void useFolder(const QString &folder = builtInFolder(), bool runningAsRoot = isRoot());

} // namespace EngineLocks
