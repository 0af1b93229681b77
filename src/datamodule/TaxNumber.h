#pragma once

#include <QString>

// The Brazilian tax numbers the program keeps: a person's CPF (eleven
// digits, "000.000.000-00") and the church's CNPJ (fourteen characters,
// "00.000.000/0000-00", letters allowed before the two check digits). Both
// are read by their characters alone, so "172-588-395-34" is the same CPF as
// "172.588.395-34".
namespace TaxNumber {

enum class Kind { Cpf, Cnpj };

// The digits (and, for a CNPJ, the letters in capitals) of `text`.
QString charactersOf(Kind kind, const QString &text);
// Whether `text` is empty or a number of its kind: the right count of
// characters, not one character repeated, the check digits right, nothing
// but the usual separators (" ./-") besides.
bool isValid(Kind kind, const QString &text);
// `text` in the usual format when it has the count of characters of its
// kind and nothing but the usual separators besides; otherwise as typed,
// without the blanks around it.
QString formatted(Kind kind, const QString &text);
// "O CPF 123.456.789-01 não é válido. Salvar assim mesmo?" for a number
// that is not valid; empty for a valid or empty one.
QString doubtOn(Kind kind, const QString &text);

} // namespace TaxNumber
