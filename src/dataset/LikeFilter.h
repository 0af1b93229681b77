#pragma once

#include <QByteArray>
#include <QString>

#include <string_view>

// The one filter expression the program builds for its searches:
//     (UPPER(COLUMN) LIKE UPPER('pattern'))
// parsed, never evaluated as code. The pattern is a SQL LIKE pattern ("%"
// any run of characters, "_" one character, a doubled quote is one quote),
// compared with capitals and small letters alike and with accented letters
// as their base letters ("JOAO" finds "JOÃO", "conceicao" "CONCEIÇÃO"). A
// row whose column is empty never passes.
class LikeFilter
{
public:
    // `column` LIKE `pattern`, the pattern as meant (a quote is one quote).
    LikeFilter(const QString &column, const QString &pattern);
    // What a search box asks for: `column` containing `text`, "%text%".
    static LikeFilter containing(const QString &column, const QString &text);
    // Parses `expression`; a DbError names what is wrong.
    static LikeFilter parse(const QString &expression);

    const QString &column() const { return m_column; }
    // The filter written as its one expression, which parse reads back.
    QString expression() const;
    bool matches(std::string_view columnBytes) const;

private:
    bool matchPattern(const unsigned char *s, size_t n) const;

    QString m_column;
    QString m_patternText;
    QByteArray m_pattern;      // capital letters without accents, code page 1252
    QByteArray m_literal;      // the text between "%...%" when that is all there is
    bool m_simpleContains = false;
    bool m_matchesNothing = false; // the pattern has a character no text can hold
};
