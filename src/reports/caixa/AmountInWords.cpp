#include "AmountInWords.h"

#include <QLocale>
#include <QStringList>

#include <cmath>
#include <vector>

namespace AmountInWords {

namespace {

const char *const kUnits[] = {"",       "um",       "dois",     "três",      "quatro",    "cinco",    "seis",
                              "sete",   "oito",     "nove",     "dez",       "onze",      "doze",     "treze",
                              "quatorze", "quinze", "dezesseis", "dezessete", "dezoito",  "dezenove"};
const char *const kTens[] = {"", "", "vinte", "trinta", "quarenta", "cinquenta", "sessenta", "setenta", "oitenta",
                             "noventa"};
const char *const kHundreds[] = {"",           "cento",     "duzentos",   "trezentos",  "quatrocentos",
                                 "quinhentos", "seiscentos", "setecentos", "oitocentos", "novecentos"};

struct Scale
{
    const char *one;
    const char *many;
};
// Groups of three digits, from the units up.
const Scale kScales[] = {{"", ""}, {"mil", "mil"}, {"milhão", "milhões"}, {"bilhão", "bilhões"},
                         {"trilhão", "trilhões"}};
constexpr qint64 kBeyond = 1'000'000'000'000'000; // a thousand trilhões

QString word(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

// 1 to 999: "cem", "cento e um", "vinte e um".
QString belowThousand(int n)
{
    if (n == 100)
        return QStringLiteral("cem");
    QStringList parts;
    if (n >= 100)
        parts << word(kHundreds[n / 100]);
    const int rest = n % 100;
    if (rest >= 20) {
        parts << word(kTens[rest / 10]);
        if (rest % 10)
            parts << word(kUnits[rest % 10]);
    } else if (rest > 0) {
        parts << word(kUnits[rest]);
    }
    return parts.join(QStringLiteral(" e "));
}

// One group with its scale: "mil" (never "um mil"), "dois mil", "um milhão".
QString group(int value, int scale)
{
    if (scale == 0)
        return belowThousand(value);
    if (scale == 1 && value == 1)
        return QStringLiteral("mil");
    return belowThousand(value) + u' ' + word(value == 1 ? kScales[scale].one : kScales[scale].many);
}

// The groups are joined by commas, except that "e" joins the last one when it
// is below a hundred or a round hundred: "mil e cem", "mil, cento e um",
// "um milhão e quinhentos mil", "dois milhões, trezentos mil e um".
QString wholeNumber(qint64 n)
{
    if (n == 0)
        return QStringLiteral("zero");
    std::vector<std::pair<int, int>> groups; // value, scale; highest first
    for (int scale = 0; n > 0; ++scale, n /= 1000)
        if (n % 1000)
            groups.insert(groups.begin(), {int(n % 1000), scale});
    QString text;
    for (size_t i = 0; i < groups.size(); ++i) {
        if (i > 0) {
            const int value = groups[i].first;
            const bool last = i + 1 == groups.size();
            text += last && (value < 100 || value % 100 == 0) ? QStringLiteral(" e ") : QStringLiteral(", ");
        }
        text += group(groups[i].first, groups[i].second);
    }
    return text;
}

} // namespace

QString reais(double amount)
{
    const qint64 cents = std::llround(std::abs(amount) * 100);
    const qint64 whole = cents / 100;
    const int fraction = int(cents % 100);
    if (whole >= kBeyond)
        return QLocale().toString(amount, 'f', 2);
    QString text;
    if (whole > 0 || fraction == 0) {
        text = wholeNumber(whole);
        if (whole == 1)
            text += QStringLiteral(" real");
        else if (whole >= 1'000'000 && whole % 1'000'000 == 0)
            text += QStringLiteral(" de reais"); // "um milhão de reais"
        else
            text += QStringLiteral(" reais");
    }
    if (fraction > 0) {
        if (!text.isEmpty())
            text += QStringLiteral(" e ");
        text += belowThousand(fraction) + (fraction == 1 ? QStringLiteral(" centavo") : QStringLiteral(" centavos"));
    }
    if (amount < 0 && cents > 0)
        text = QStringLiteral("menos ") + text;
    return text;
}

} // namespace AmountInWords
