#pragma once

#include "datamodule/ChangeLog.h"

#include <QStringList>
#include <QVariantList>

// The columns of the change log as the history window, its printout and its
// spreadsheet show them, written once.
namespace ChangeLogLines {

// "DATA E HORA", "CONTA", "COMPUTADOR", "CADASTRO", "CÓDIGO", "OPERAÇÃO", "DETALHES".
const QStringList &titles();
// The line's values in the order of titles(): when ("05/06/2011 14:30:12"),
// who (a change outside the program with its database user), the computer,
// the register by its caption, the row's code, the operation and the details.
QVariantList cells(const ChangeLog::Entry &entry);

// The filter as a line of text for the printout: "Período: de 01/05/2011 a
// 31/05/2011; conta: todas; cadastro: Membros; código: 12".
QString describe(const ChangeLog::Filter &filter);

} // namespace ChangeLogLines
