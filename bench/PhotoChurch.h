#pragma once

#include <QString>

// Figures on a real church's data: 1,500 members, each with a photograph of
// 2,400 KB as a phone takes it (a 3.6 GB LIVRO.GDB), against the same members
// without photographs: opening the members table, its memory, one photograph
// read and shown on demand, the program's start from "Entrar" to the main
// window, with its memory after browsing 100 members, and the backup window's
// survey of the photographs to reduce and the reduction of one. The two databases are
// made below `folder` when absent (the photographs take some minutes).
void photoChurchFigures(const QString &folder);
