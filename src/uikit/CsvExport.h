#pragma once

#include <QStringList>
#include <QVariant>

#include <functional>

// Tables saved as CSV files that a spreadsheet set to Portuguese opens as
// they are: UTF-8 with a byte-order mark, ";" between fields, each line
// ended by CR LF, dates as dd/mm/aaaa, amounts as 1234,56, whole numbers
// plain. A field holding ";", a quote or a line break is put in quotes, its
// quotes doubled and its line breaks kept inside the quotes. A text that a
// spreadsheet would take for a formula (beginning with "=", "+", "-" or "@")
// gets an apostrophe in front, so opening the file never runs anything.
namespace CsvExport {

// One value as it stands in the file: a text, an integer, a double (an
// amount), a date, or nothing.
QString field(const QVariant &value);

// Writes a line of `titles`, then `rowCount` lines, `cells(row)` giving the
// values of each, to `path`: into a temporary file that takes the name only
// when it is complete. A failure raises a DbError saying why and leaves no
// new file; a file that had the name before stays as it was.
void write(const QString &path, const QStringList &titles, int rowCount,
           const std::function<QVariantList(int row)> &cells);
// What the windows say after writing `rowCount` rows to `path`:
// "Planilha salva em "C:\...\x.csv": 12 registros."
QString saved(const QString &path, int rowCount);

} // namespace CsvExport
