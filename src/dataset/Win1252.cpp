#include "Win1252.h"

namespace {

// Unicode code points of the bytes 0x80..0x9F (0 where the code page has none).
constexpr char16_t kHigh[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

constexpr std::array<unsigned char, 256> makeUpper()
{
    std::array<unsigned char, 256> t{};
    for (int i = 0; i < 256; ++i)
        t[i] = static_cast<unsigned char>(i);
    for (int c = 'a'; c <= 'z'; ++c)
        t[c] = static_cast<unsigned char>(c - 32);
    for (int c = 0xE0; c <= 0xFE; ++c)
        if (c != 0xF7) // the division sign has no capital
            t[c] = static_cast<unsigned char>(c - 32);
    t[0x9A] = 0x8A; // š -> Š
    t[0x9C] = 0x8C; // œ -> Œ
    t[0x9E] = 0x8E; // ž -> Ž
    t[0xFF] = 0x9F; // ÿ -> Ÿ
    return t;
}

// The capital of a letter without its accent: "á", "Á", "à", "ã" -> "A";
// "ç" -> "C"; "ø" -> "O". Ligatures and other letters (Æ, Œ, Ð, Þ, ß) stay
// what `upper` makes of them.
constexpr std::array<unsigned char, 256> makeSearchFold()
{
    std::array<unsigned char, 256> t = makeUpper();
    const auto base = [&t](int from, int to, char letter) {
        for (int c = from; c <= to; ++c)
            t[c] = static_cast<unsigned char>(letter);
    };
    for (int offset : {0, 0x20}) { // capitals, then small letters
        base(0xC0 + offset, 0xC5 + offset, 'A');
        base(0xC7 + offset, 0xC7 + offset, 'C');
        base(0xC8 + offset, 0xCB + offset, 'E');
        base(0xCC + offset, 0xCF + offset, 'I');
        base(0xD1 + offset, 0xD1 + offset, 'N');
        base(0xD2 + offset, 0xD6 + offset, 'O');
        base(0xD8 + offset, 0xD8 + offset, 'O');
        base(0xD9 + offset, 0xDC + offset, 'U');
        base(0xDD + offset, 0xDD + offset, 'Y');
    }
    for (int c : {0x8A, 0x9A})
        t[c] = 'S'; // Š š
    for (int c : {0x8E, 0x9E})
        t[c] = 'Z'; // Ž ž
    for (int c : {0x9F, 0xFF})
        t[c] = 'Y'; // Ÿ ÿ
    return t;
}

} // namespace

namespace Win1252 {

const std::array<unsigned char, 256> upper = makeUpper();
const std::array<unsigned char, 256> searchFold = makeSearchFold();

int byteOf(QChar ch)
{
    const char16_t c = ch.unicode();
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return c;
    for (int i = 0; i < 32; ++i)
        if (kHigh[i] == c && c != 0)
            return 0x80 + i;
    return -1;
}

bool encodeInto(const QString &text, char *dst)
{
    const char16_t *src = reinterpret_cast<const char16_t *>(text.constData());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = src[i];
        if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) { // the common case: one table-free byte
            dst[i] = char(c);
            continue;
        }
        const int b = byteOf(c);
        if (b < 0)
            return false;
        dst[i] = char(b);
    }
    return true;
}

bool encode(const QString &text, QByteArray &out, QChar *bad)
{
    out.resize(text.size());
    if (encodeInto(text, out.data()))
        return true;
    if (bad) {
        for (QChar c : text)
            if (byteOf(c) < 0) {
                *bad = c;
                break;
            }
    }
    out.clear();
    return false;
}

QString decode(const char *bytes, qsizetype length)
{
    QString s(length, Qt::Uninitialized);
    QChar *dst = s.data();
    for (qsizetype i = 0; i < length; ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        dst[i] = (b >= 0x80 && b < 0xA0 && kHigh[b - 0x80]) ? QChar(kHigh[b - 0x80]) : QChar(b);
    }
    return s;
}

QString refusal(const QString &columnName, QChar bad)
{
    return QStringLiteral("O caractere \"%1\" não pode ser gravado no banco de dados (campo %2). "
                          "Use apenas letras, números e sinais comuns.")
        .arg(bad, columnName);
}

} // namespace Win1252
