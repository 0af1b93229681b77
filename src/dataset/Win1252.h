#pragma once

#include <QByteArray>
#include <array>
#include <QString>

// Texts are kept in memory as bytes of the Windows-1252 code page, the
// character set of the database's text columns: one byte a character, and
// 256-entry tables fold small letters (accented ones too) into capitals and,
// for searches, accented letters into their base letters.
namespace Win1252 {

// Encodes text; returns false (and the first character that has no byte in
// the code page in *bad) when the text cannot be stored.
bool encode(const QString &text, QByteArray &out, QChar *bad = nullptr);
// Encodes into `dst`, which holds text.size() bytes; false when a character
// has no byte in the code page.
bool encodeInto(const QString &text, char *dst);
QString decode(const char *bytes, qsizetype length);
// The code-page byte of one character, -1 when it has none.
int byteOf(QChar c);
inline QString decode(const QByteArray &bytes) { return decode(bytes.constData(), bytes.size()); }

// Capital letter of a code-page byte ("á" -> "Á", "ç" -> "Ç", "ÿ" -> "Ÿ").
extern const std::array<unsigned char, 256> upper;
// What searches compare: the capital letter without its accent ("á", "Ã"
// -> "A", "ç" -> "C"), so that "JOAO" finds "JOÃO".
extern const std::array<unsigned char, 256> searchFold;

// The message that refuses a text with a character outside the code page.
QString refusal(const QString &columnName, QChar bad);

} // namespace Win1252
