#include "OfxReader.h"

#include "dataset/DbError.h"
#include "dataset/Win1252.h"

#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QStringDecoder>

#include <cmath>
#include <vector>

namespace Ofx {

namespace {

// An element of the file: an aggregate with children, or a leaf with its
// value's bytes (trimmed, not yet decoded).
struct Node
{
    QByteArray name;
    QByteArray value;
    int line = 0;
    int parent = -1;
    QList<int> children;
};

// Elements that hold a value even when the value is blank and the tag is left
// open (SGML): without this list a blank <TRNAMT> would swallow the rest of
// its posting.
bool knownLeaf(const QByteArray &name)
{
    static const QSet<QByteArray> leaves{
        "TRNTYPE", "DTPOSTED", "DTUSER",   "DTAVAIL", "TRNAMT",   "FITID",    "CORRECTFITID", "CORRECTACTION",
        "SRVRTID", "CHECKNUM", "REFNUM",   "SIC",     "PAYEEID",  "NAME",     "EXTDNAME",     "MEMO",
        "BANKID",  "BRANCHID", "ACCTID",   "ACCTTYPE", "ACCTKEY", "DTSTART",  "DTEND",        "BALAMT",
        "DTASOF",  "CODE",     "SEVERITY", "MESSAGE", "DTSERVER", "LANGUAGE", "ORG",          "FID",
        "TRNUID",  "CURDEF",   "CURSYM",   "CURRATE", "DTPROFUP", "DTACCTUP", "USERID",       "INTU.BID"};
    return leaves.contains(name);
}

DbError badFile(int line, const QString &what)
{
    return DbError(QStringLiteral("Linha %1 do arquivo: %2 Nada do arquivo foi importado.").arg(line).arg(what));
}

// The file's elements, SGML or XML alike: a tag followed by text is a leaf,
// a tag followed by another tag an aggregate that its closing tag ends.
class Parser
{
public:
    explicit Parser(const QByteArray &bytes) : m_bytes(bytes) { m_nodes.push_back({}); }

    std::vector<Node> parse()
    {
        std::vector<int> open{0};
        while (m_at < m_bytes.size()) {
            if (m_bytes[m_at] != '<') {
                step();
                continue;
            }
            const int tagLine = m_line;
            if (m_bytes.mid(m_at, 4) == "<!--") {
                skipPast("-->", tagLine);
                continue;
            }
            if (m_at + 1 < m_bytes.size() && (m_bytes[m_at + 1] == '?' || m_bytes[m_at + 1] == '!')) {
                skipPast(">", tagLine);
                continue;
            }
            const QByteArray tag = readTag(tagLine);
            if (tag.startsWith('/'))
                close(tag.mid(1).trimmed().toUpper(), open);
            else
                openElement(tag, tagLine, open);
        }
        checkComplete(open);
        return std::move(m_nodes);
    }

private:
    void step()
    {
        const char c = m_bytes[m_at++];
        if (!QChar::isSpace(uchar(c)))
            m_lastContent = m_line;
        if (c == '\n' || (c == '\r' && (m_at >= m_bytes.size() || m_bytes[m_at] != '\n')))
            ++m_line;
    }

    void skipPast(const QByteArray &end, int tagLine)
    {
        const qsizetype found = m_bytes.indexOf(end, m_at);
        if (found < 0)
            throw badFile(tagLine, QStringLiteral("o arquivo termina no meio de uma marca: ele parece incompleto."));
        while (m_at < found + end.size())
            step();
    }

    QByteArray readTag(int tagLine)
    {
        const qsizetype end = m_bytes.indexOf('>', m_at);
        const qsizetype next = m_bytes.indexOf('<', m_at + 1);
        if (end < 0 || (next >= 0 && next < end))
            throw badFile(tagLine, QStringLiteral("o arquivo termina no meio de uma marca: ele parece incompleto."));
        const QByteArray tag = m_bytes.mid(m_at + 1, end - m_at - 1).trimmed();
        while (m_at <= end)
            step();
        return tag;
    }

    QByteArray readText()
    {
        const qsizetype start = m_at;
        while (m_at < m_bytes.size() && m_bytes[m_at] != '<')
            step();
        return m_bytes.mid(start, m_at - start).trimmed();
    }

    void openElement(QByteArray tag, int tagLine, std::vector<int> &open)
    {
        const bool selfClosing = tag.endsWith('/');
        if (selfClosing)
            tag.chop(1);
        static const QRegularExpression space(QStringLiteral("\\s"));
        const qsizetype cut = QString::fromLatin1(tag).indexOf(space);
        Node node{(cut < 0 ? tag : tag.left(cut)).toUpper(), {}, tagLine, open.back(), {}};
        if (!selfClosing)
            node.value = readText();
        const int index = int(m_nodes.size());
        m_nodes[size_t(open.back())].children.append(index);
        const bool leaf = selfClosing || !node.value.isEmpty() || knownLeaf(node.name);
        m_nodes.push_back(std::move(node));
        m_lastLeaf = leaf ? index : -1;
        if (!leaf)
            open.push_back(index);
    }

    // A closing tag ends its leaf (XML) or its aggregate and whatever was
    // left open inside it; one that closes nothing open is ignored.
    void close(const QByteArray &name, std::vector<int> &open)
    {
        if (m_lastLeaf >= 0 && m_nodes[size_t(m_lastLeaf)].name == name) {
            m_lastLeaf = -1;
            return;
        }
        m_lastLeaf = -1;
        for (size_t depth = open.size(); depth-- > 1;)
            if (m_nodes[size_t(open[depth])].name == name) {
                open.resize(depth);
                return;
            }
    }

    void checkComplete(const std::vector<int> &open) const
    {
        bool ofx = false;
        for (const Node &n : m_nodes)
            ofx = ofx || n.name == "OFX";
        if (!ofx)
            throw badFile(1, QStringLiteral("o arquivo não é um extrato OFX (não há nele a marca <OFX>)."));
        if (open.size() > 1) {
            const Node &inner = m_nodes[size_t(open.back())];
            throw badFile(m_lastContent, QStringLiteral("o arquivo termina sem fechar <%1>, aberta na linha %2: ele parece "
                                                 "incompleto.")
                                      .arg(QString::fromLatin1(inner.name))
                                      .arg(inner.line));
        }
    }

    const QByteArray &m_bytes;
    qsizetype m_at = 0;
    int m_line = 1;
    int m_lastContent = 1; // the last line with more than spaces
    int m_lastLeaf = -1;
    std::vector<Node> m_nodes;
};

// A value's text: UTF-8 where its bytes are UTF-8, Windows-1252 otherwise
// (banks write either under either header); the entities undone, the
// spaces simplified.
QString decoded(const QByteArray &bytes)
{
    QString text;
    bool ascii = true;
    for (char c : bytes)
        ascii = ascii && uchar(c) < 0x80;
    if (!ascii) {
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        text = utf8(bytes);
        if (utf8.hasError())
            text = Win1252::decode(bytes);
    } else {
        text = QString::fromLatin1(bytes);
    }
    static const QRegularExpression entity(QStringLiteral("&(#x?[0-9A-Fa-f]{1,6}|amp|lt|gt|quot|apos|nbsp);"));
    static const QHash<QString, QString> named{{"amp", "&"}, {"lt", "<"},  {"gt", ">"},
                                               {"quot", "\""}, {"apos", "'"}, {"nbsp", " "}};
    QString out;
    qsizetype last = 0;
    for (auto it = entity.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        out += QStringView(text).mid(last, m.capturedStart() - last);
        const QString body = m.captured(1);
        if (body.startsWith(u'#')) {
            bool ok = false;
            const uint code = body.startsWith(QLatin1String("#x")) ? body.mid(2).toUInt(&ok, 16) : body.mid(1).toUInt(&ok);
            const char32_t point = ok && code >= 0x20 && code <= 0x10FFFF && QChar::isPrint(char32_t(code)) ? char32_t(code) : U' ';
            out += QString::fromUcs4(&point, 1);
        } else {
            out += named.value(body);
        }
        last = m.capturedEnd();
    }
    out += QStringView(text).mid(last);
    for (QChar &c : out)
        if (c.category() == QChar::Other_Control)
            c = u' ';
    return out.simplified();
}

// The elements under one node, as the statement reads them.
class Element
{
public:
    Element(const std::vector<Node> &nodes, int index) : m_nodes(&nodes), m_index(index) {}

    const Node &node() const { return (*m_nodes)[size_t(m_index)]; }
    int line() const { return node().line; }

    // Every element named `name` below this one, in the file's order; an
    // element found is not searched further.
    QList<Element> all(const char *name) const
    {
        QList<Element> found;
        collect(m_index, name, found);
        return found;
    }
    std::optional<Element> first(const char *name) const
    {
        for (int child : node().children) // its own children first
            if ((*m_nodes)[size_t(child)].name == name)
                return Element(*m_nodes, child);
        const QList<Element> below = all(name);
        return below.isEmpty() ? std::nullopt : std::optional<Element>(below.first());
    }
    QString text(const char *name) const
    {
        const std::optional<Element> e = first(name);
        return e ? decoded(e->node().value) : QString();
    }

private:
    void collect(int index, const char *name, QList<Element> &found) const
    {
        for (int child : (*m_nodes)[size_t(index)].children) {
            if ((*m_nodes)[size_t(child)].name == name)
                found.append(Element(*m_nodes, child));
            else
                collect(child, name, found);
        }
    }

    const std::vector<Node> *m_nodes;
    int m_index;
};

// A value that must be read when it is there: nullopt when it is blank, the
// file refused with `refusal` (the text, then the tag) when `parse` fails.
template <typename T>
std::optional<T> requiredValue(const Element &parent, const char *name, std::optional<T> (*parse)(const QString &),
                               const QString &refusal)
{
    const std::optional<Element> e = parent.first(name);
    if (!e)
        return std::nullopt;
    const QString text = decoded(e->node().value);
    if (text.isEmpty())
        return std::nullopt;
    const std::optional<T> value = parse(text);
    if (!value)
        throw badFile(e->line(), refusal.arg(text, QString::fromLatin1(name)));
    return value;
}

std::optional<QDate> requiredDate(const Element &parent, const char *name)
{
    return requiredValue<QDate>(parent, name, dateOf, QStringLiteral("a data \"%1\" (%2) não é uma data válida."));
}

std::optional<double> requiredAmount(const Element &parent, const char *name)
{
    return requiredValue<double>(parent, name, amountOf,
                                 QStringLiteral("o valor \"%1\" (%2) não é um valor em dinheiro."));
}

Line lineOf(const Element &posting, QList<LeftOut> &leftOut)
{
    Line line;
    line.fileLine = posting.line();
    const std::optional<QDate> date = requiredDate(posting, "DTPOSTED");
    if (!date)
        throw badFile(posting.line(), QStringLiteral("o lançamento não tem data (DTPOSTED)."));
    line.date = *date;
    const std::optional<double> amount = requiredAmount(posting, "TRNAMT");
    if (!amount || *amount == 0) {
        leftOut.append({posting.line(), amount ? QStringLiteral("lançamento de valor zero")
                                               : QStringLiteral("lançamento sem valor")});
        return {};
    }
    line.amount = *amount;
    line.description = posting.text("MEMO");
    if (line.description.isEmpty())
        line.description = posting.text("NAME");
    line.fitId = posting.text("FITID");
    line.type = posting.text("TRNTYPE");
    return line;
}

bool usableFitId(const QString &fitId, const QHash<QString, int> &counts)
{
    static const QRegularExpression zeros(QStringLiteral("^[0\\s-]*$"));
    return !fitId.isEmpty() && !zeros.match(fitId).hasMatch() && counts.value(fitId) == 1;
}

void giveIdentities(Statement &s)
{
    QHash<QString, int> fitIds;
    for (const Line &l : std::as_const(s.lines))
        ++fitIds[l.fitId];
    QHash<QString, int> seen;
    for (Line &l : s.lines) {
        QString identity = usableFitId(l.fitId, fitIds)
                               ? QStringLiteral("F %1").arg(l.fitId.left(100))
                               : QStringLiteral("D %1 %2 %3")
                                     .arg(l.date.toString(QStringLiteral("yyyyMMdd")))
                                     .arg(qint64(std::llround(l.amount * 100)))
                                     .arg(l.description.toUpper().left(80));
        const int repeated = seen[identity]++;
        if (repeated > 0)
            identity += QStringLiteral(" #%1").arg(repeated + 1);
        l.identity = identity;
    }
}

Statement statementOf(const Element &root, const Element &rs, bool creditCard)
{
    Statement s;
    s.fileLine = rs.line();
    s.creditCard = creditCard;
    if (const std::optional<Element> from = rs.first(creditCard ? "CCACCTFROM" : "BANKACCTFROM")) {
        s.bank = from->text("BANKID");
        s.branch = from->text("BRANCHID");
        s.account = from->text("ACCTID");
    }
    if (s.bank.isEmpty())
        s.bank = root.text("ORG");
    if (const std::optional<Element> list = rs.first("BANKTRANLIST")) {
        s.start = requiredDate(*list, "DTSTART").value_or(QDate());
        s.end = requiredDate(*list, "DTEND").value_or(QDate());
        for (const Element &posting : list->all("STMTTRN")) {
            const Line line = lineOf(posting, s.leftOut);
            if (line.date.isValid())
                s.lines.append(line);
        }
    }
    if (const std::optional<Element> ledger = rs.first("LEDGERBAL")) {
        s.ledgerBalance = requiredAmount(*ledger, "BALAMT");
        s.ledgerDate = requiredDate(*ledger, "DTASOF").value_or(QDate());
    }
    giveIdentities(s);
    return s;
}

} // namespace

QString Statement::accountLabel() const
{
    QStringList parts;
    if (creditCard)
        parts << QStringLiteral("CARTÃO") + (account.isEmpty() ? QString() : u' ' + account);
    if (!bank.isEmpty())
        parts.prepend(QStringLiteral("BANCO ") + bank);
    if (!creditCard && !branch.isEmpty())
        parts << QStringLiteral("AG ") + branch;
    if (!creditCard && !account.isEmpty())
        parts << QStringLiteral("CC ") + account;
    return parts.isEmpty() ? QStringLiteral("(conta não informada)") : parts.join(QStringLiteral(" · "));
}

QString Statement::accountKey() const
{
    const QString key = creditCard ? QStringLiteral("CARTAO %1 %2").arg(bank, account)
                                   : QStringLiteral("%1 %2 %3").arg(bank, branch, account);
    return key.simplified().left(60);
}

QList<Statement> read(const QByteArray &bytes)
{
    const std::vector<Node> nodes = Parser(bytes).parse();
    const Element root(nodes, 0);
    QList<Statement> statements;
    for (int i = 1; i < int(nodes.size()); ++i) {
        const QByteArray &name = nodes[size_t(i)].name;
        if (name == "STMTRS" || name == "CCSTMTRS")
            statements.append(statementOf(root, Element(nodes, i), name == "CCSTMTRS"));
    }
    return statements;
}

std::optional<double> amountOf(const QString &text)
{
    static const QRegularExpression plain(QStringLiteral("^([+-]?)0*(\\d{0,15})(?:[.,](\\d{1,6}))?$"));
    static const QRegularExpression dotThousands(QStringLiteral("^([+-]?)(\\d{1,3}(?:\\.\\d{3})+)(?:,(\\d{1,6}))?$"));
    static const QRegularExpression commaThousands(QStringLiteral("^([+-]?)(\\d{1,3}(?:,\\d{3})+)(?:\\.(\\d{1,6}))?$"));
    const QString t = text.trimmed();
    for (const QRegularExpression *form : {&plain, &dotThousands, &commaThousands}) {
        const QRegularExpressionMatch m = form->match(t);
        if (!m.hasMatch())
            continue;
        QString whole = m.captured(2);
        whole.remove(u'.').remove(u',');
        if (whole.isEmpty() && m.captured(3).isEmpty() && !t.contains(u'0'))
            return std::nullopt; // a sign alone
        if (whole.size() > 15)
            return std::nullopt;
        const QString number = m.captured(1) + (whole.isEmpty() ? QStringLiteral("0") : whole) + u'.'
                               + (m.captured(3).isEmpty() ? QStringLiteral("0") : m.captured(3));
        bool ok = false;
        const double value = number.toDouble(&ok);
        return ok && std::isfinite(value) ? std::optional<double>(value == 0 ? 0.0 : value) : std::nullopt;
    }
    return std::nullopt;
}

std::optional<QDate> dateOf(const QString &text)
{
    static const QRegularExpression form(QStringLiteral(
        "^(\\d{4})(\\d{2})(\\d{2})(?:(\\d{2})(\\d{2})(?:(\\d{2})(?:\\.\\d{1,6})?)?)?"
        "\\s*(?:\\[\\s*[+-]?\\d{1,2}(?:[.:]\\d{1,2})?(?::[A-Za-z]{0,10})?\\s*\\])?$"));
    const QRegularExpressionMatch m = form.match(text.trimmed());
    if (!m.hasMatch())
        return std::nullopt;
    const QDate date(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    if (!date.isValid() || date.year() < 1900 || date.year() > 2200)
        return std::nullopt;
    if (!m.captured(4).isEmpty() && (m.captured(4).toInt() > 23 || m.captured(5).toInt() > 59))
        return std::nullopt;
    if (!m.captured(6).isEmpty() && m.captured(6).toInt() > 60)
        return std::nullopt;
    return date; // the bank's own day: a local midnight stays on it
}

} // namespace Ofx
