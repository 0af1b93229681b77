#include "TaxNumber.h"

namespace TaxNumber {

namespace {

int lengthOf(Kind kind)
{
    return kind == Kind::Cpf ? 11 : 14;
}

// A digit, or for a CNPJ a capital letter.
bool counts(Kind kind, QChar c)
{
    return (c >= u'0' && c <= u'9') || (kind == Kind::Cnpj && c >= u'A' && c <= u'Z');
}

// The check digit of `chars` by the Receita Federal's rule: weights 2, 3, ...
// from the right (back to 2 after `topWeight`), the rest of the sum by 11.
// A CNPJ's letters count from 17 ("A") on, their code less that of "0".
int checkDigit(const QString &chars, int topWeight)
{
    int sum = 0;
    int weight = 2;
    for (qsizetype i = chars.size() - 1; i >= 0; --i) {
        sum += (chars.at(i).unicode() - u'0') * weight;
        weight = weight == topWeight ? 2 : weight + 1;
    }
    const int rest = sum % 11;
    return rest < 2 ? 0 : 11 - rest;
}

bool onlyCharactersAndSeparators(Kind kind, const QString &text)
{
    for (QChar c : text.toUpper())
        if (!counts(kind, c) && !QStringLiteral(" ./-").contains(c))
            return false;
    return true;
}

} // namespace

QString charactersOf(Kind kind, const QString &text)
{
    QString chars;
    for (QChar c : text.toUpper())
        if (counts(kind, c))
            chars += c;
    return chars;
}

bool isValid(Kind kind, const QString &text)
{
    const QString chars = charactersOf(kind, text);
    if (chars.isEmpty() && text.trimmed().isEmpty())
        return true;
    const int length = lengthOf(kind);
    if (!onlyCharactersAndSeparators(kind, text) || chars.size() != length || chars.count(chars.at(0)) == length)
        return false;
    const QString base = chars.left(length - 2);
    const int topWeight = kind == Kind::Cpf ? 11 : 9;
    const int first = checkDigit(base, topWeight);
    const int second = checkDigit(base + QString::number(first), topWeight);
    return chars.right(2) == QString::number(first) + QString::number(second);
}

QString formatted(Kind kind, const QString &text)
{
    const QString chars = charactersOf(kind, text);
    if (chars.size() != lengthOf(kind) || !onlyCharactersAndSeparators(kind, text))
        return text.trimmed();
    if (kind == Kind::Cpf)
        return QStringLiteral("%1.%2.%3-%4").arg(chars.mid(0, 3), chars.mid(3, 3), chars.mid(6, 3), chars.mid(9, 2));
    return QStringLiteral("%1.%2.%3/%4-%5")
        .arg(chars.mid(0, 2), chars.mid(2, 3), chars.mid(5, 3), chars.mid(8, 4), chars.mid(12, 2));
}

QString doubtOn(Kind kind, const QString &text)
{
    if (isValid(kind, text))
        return {};
    return QStringLiteral("O %1 %2 não é válido. Salvar assim mesmo?")
        .arg(kind == Kind::Cpf ? QStringLiteral("CPF") : QStringLiteral("CNPJ"), formatted(kind, text));
}

} // namespace TaxNumber
