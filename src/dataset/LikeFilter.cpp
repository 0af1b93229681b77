#include "LikeFilter.h"

#include "DbError.h"
#include "Win1252.h"

namespace {

// A small cursor over the expression text that reads the fixed tokens.
class Reader
{
public:
    explicit Reader(const QString &text) : m_text(text) {}

    void skipBlanks()
    {
        while (m_pos < m_text.size() && m_text.at(m_pos).isSpace())
            ++m_pos;
    }
    bool take(QLatin1String word)
    {
        skipBlanks();
        if (m_text.mid(m_pos, word.size()).compare(word, Qt::CaseInsensitive) != 0)
            return false;
        m_pos += word.size();
        return true;
    }
    QString identifier()
    {
        skipBlanks();
        const qsizetype start = m_pos;
        while (m_pos < m_text.size() && (m_text.at(m_pos).isLetterOrNumber() || m_text.at(m_pos) == u'_'))
            ++m_pos;
        return m_text.mid(start, m_pos - start);
    }
    bool quoted(QString &out)
    {
        skipBlanks();
        if (m_pos >= m_text.size() || m_text.at(m_pos) != u'\'')
            return false;
        ++m_pos;
        while (m_pos < m_text.size()) {
            const QChar c = m_text.at(m_pos++);
            if (c != u'\'') {
                out += c;
            } else if (m_pos < m_text.size() && m_text.at(m_pos) == u'\'') {
                out += c;
                ++m_pos;
            } else {
                return true;
            }
        }
        return false;
    }
    bool atEnd()
    {
        skipBlanks();
        return m_pos >= m_text.size();
    }

private:
    const QString &m_text;
    qsizetype m_pos = 0;
};

DbError badExpression(const QString &expression)
{
    return DbError(QStringLiteral("Expressão de filtro inválida: %1\n"
                                  "A forma aceita é (UPPER(COLUNA) LIKE UPPER('texto')).")
                       .arg(expression));
}

} // namespace

LikeFilter::LikeFilter(const QString &column, const QString &pattern) : m_column(column), m_patternText(pattern)
{
    QByteArray bytes;
    if (!Win1252::encode(pattern, bytes)) {
        m_matchesNothing = true;
        return;
    }
    for (char &b : bytes)
        b = char(Win1252::searchFold[static_cast<unsigned char>(b)]);
    m_pattern = bytes;

    // "%text%" with no other wildcard is what every search builds: a plain
    // substring test is enough for it.
    const QByteArray inner = bytes.size() >= 2 ? bytes.mid(1, bytes.size() - 2) : QByteArray();
    if (bytes.size() >= 2 && bytes.startsWith('%') && bytes.endsWith('%') && !inner.contains('%')
        && !inner.contains('_')) {
        m_simpleContains = true;
        m_literal = inner;
    }
}

LikeFilter LikeFilter::containing(const QString &column, const QString &text)
{
    return LikeFilter(column, QStringLiteral("%") + text + QStringLiteral("%"));
}

LikeFilter LikeFilter::parse(const QString &expression)
{
    Reader r(expression);
    QString column;
    QString pattern;
    const bool ok = r.take(QLatin1String("(")) && r.take(QLatin1String("UPPER")) && r.take(QLatin1String("("))
        && !(column = r.identifier()).isEmpty() && r.take(QLatin1String(")"))
        && r.take(QLatin1String("LIKE")) && r.take(QLatin1String("UPPER")) && r.take(QLatin1String("("))
        && r.quoted(pattern) && r.take(QLatin1String(")")) && r.take(QLatin1String(")")) && r.atEnd();
    if (!ok)
        throw badExpression(expression);
    return LikeFilter(column, pattern);
}

QString LikeFilter::expression() const
{
    QString quoted = m_patternText;
    quoted.replace(u'\'', QStringLiteral("''"));
    return QStringLiteral("(UPPER(%1) LIKE UPPER('%2'))").arg(m_column, quoted);
}

bool LikeFilter::matches(std::string_view text) const
{
    if (text.empty() || m_matchesNothing)
        return false;
    const auto *s = reinterpret_cast<const unsigned char *>(text.data());
    const size_t n = text.size();
    if (m_simpleContains) {
        const auto *lit = reinterpret_cast<const unsigned char *>(m_literal.constData());
        const size_t ln = size_t(m_literal.size());
        if (ln > n)
            return false;
        for (size_t i = 0; i + ln <= n; ++i) {
            size_t k = 0;
            while (k < ln && Win1252::searchFold[s[i + k]] == lit[k])
                ++k;
            if (k == ln)
                return true;
        }
        return false;
    }
    return matchPattern(s, n);
}

// Iterative LIKE matching with one backtrack point for the last "%".
bool LikeFilter::matchPattern(const unsigned char *s, size_t sn) const
{
    const auto *p = reinterpret_cast<const unsigned char *>(m_pattern.constData());
    const size_t pn = size_t(m_pattern.size());
    size_t si = 0, pi = 0, starP = size_t(-1), starS = 0;
    while (si < sn) {
        if (pi < pn && p[pi] == '%') {
            starP = pi++;
            starS = si;
        } else if (pi < pn && (p[pi] == '_' || p[pi] == Win1252::searchFold[s[si]])) {
            ++pi;
            ++si;
        } else if (starP != size_t(-1)) {
            pi = starP + 1;
            si = ++starS;
        } else {
            return false;
        }
    }
    while (pi < pn && p[pi] == '%')
        ++pi;
    return pi == pn;
}
