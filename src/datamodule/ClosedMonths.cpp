#include "ClosedMonths.h"

#include "CashCategories.h"
#include "Schema.h"
#include "Session.h"
#include "Statements.h"
#include "UDM.h"
#include "dataset/TableProvider.h"
#include "provider/EngineErrors.h"
#include "provider/StoredTables.h"

#include <QLocale>

#include <algorithm>
#include <functional>

#include <cmath>

namespace ClosedMonths {

namespace {

constexpr double kHalfCent = 0.005;

const char *const kMonthNames[] = {"Janeiro", "Fevereiro", "Março",    "Abril",   "Maio",     "Junho",
                                   "Julho",   "Agosto",    "Setembro", "Outubro", "Novembro", "Dezembro"};

// The messages, each said by the program and raised by the triggers alike:
// %1 and %2 are books as bookLabel names them.
const char *const kClosedMovement = "O livro %1 está fechado. Para alterar um lançamento dele, reabra o mês em "
                                    "Cadastro do Livro Caixa do Mês.";
const char *const kClosedBook = "O livro %1 está fechado. Para alterá-lo ou excluí-lo, reabra o mês em Cadastro do "
                                "Livro Caixa do Mês.";
const char *const kPreviousOpen = "O livro %1, do mês anterior, ainda está aberto: os meses se fecham em ordem. "
                                  "Feche antes o livro %1.";
const char *const kNotLatest = "Só o último mês fechado pode ser reaberto: reabra antes o livro %1.";
const char *const kNoReason = "Informe o motivo da reabertura do livro %1.";
const char *const kUndated = "Para fechar o livro %1, preencha antes o mês (de 1 a 12) e o ano dele.";
const char *const kBeforeClosed = "Um livro de %1 não pode ser incluído: o livro %2 está fechado, e os saldos dele "
                                  "dependem deste mês. Reabra antes o mês em Cadastro do Livro Caixa do Mês.";

QString said(const char *format, const QString &first, const QString &second = {})
{
    QString text = QString::fromUtf8(format).arg(first);
    return second.isEmpty() ? text : text.arg(second);
}

// A book of DM's TBLIVRO as these rules see it.
struct Book
{
    int code = 0;
    int month = 0;
    QVariant year;
    QString description;
    QDate closedOn;
    QString closedBy;
    double storedPrevious = 0;
    double storedCurrent = 0;

    bool dated() const { return month >= 1 && month <= 12 && !year.isNull(); }
    int key() const { return year.toInt() * 12 + month; } // months in order, for a dated book
    bool closed() const { return closedOn.isValid(); }
    QString label() const
    {
        if (dated())
            return monthName(month).toUpper() + u'/' + year.toString();
        return description.isEmpty() ? QStringLiteral("de código %1").arg(code) : description;
    }
};

QList<Book> books()
{
    TableDataset *table = DM->TBLIVRO;
    table->provider()->openSource();
    table->open();
    const auto at = [table](int row, const Field *column) { return table->allRowValue(row, column->index()); };
    QList<Book> all;
    for (int row = 0; row < table->allRowCount(); ++row)
        all.append({at(row, DM->TBLIVROLIVCODIGO).toInt(), at(row, DM->TBLIVROLIVMES).toInt(),
                    at(row, DM->TBLIVROLIVANO), at(row, DM->TBLIVROLIVDESCRICAO).toString(),
                    at(row, DM->TBLIVROLIVFECHADOEM).toDate(), at(row, DM->TBLIVROLIVFECHADOPOR).toString(),
                    at(row, DM->TBLIVROLIVSALDOANTERIOR).toDouble(), at(row, DM->TBLIVROLIVSALDOATUAL).toDouble()});
    return all;
}

std::optional<Book> bookOf(const QVariant &code)
{
    if (code.isNull())
        return std::nullopt;
    for (const Book &b : books())
        if (b.code == code.toInt())
            return b;
    return std::nullopt;
}

Book existing(int code)
{
    const std::optional<Book> book = bookOf(code);
    if (!book)
        throw DbError(QStringLiteral("O livro caixa de código %1 não foi encontrado.").arg(code));
    return *book;
}

// The books of the month before `book`'s own, in table order.
QList<Book> booksBefore(const Book &book)
{
    QList<Book> before;
    for (const Book &b : books())
        if (b.dated() && b.key() == book.key() - 1)
            before << b;
    return before;
}

struct Totals
{
    double entries = 0;
    double exits = 0;
};

// The entries and exits of the book's movements in the database; kinds
// other than "ENTRADA" and "SAIDA" count nowhere, as in the report.
Totals movementTotals(int bookCode)
{
    QSqlQuery q = Statements::run(DM->SQLConnection1(),
                                  QStringLiteral("SELECT MOVDEBITOCREDITO, SUM(MOVVALOR) FROM TMOVIMETACOES "
                                                 "WHERE MOVLIVRO = ? GROUP BY MOVDEBITOCREDITO"),
                                  {bookCode});
    Totals totals;
    while (q.next()) {
        const QString kind = q.value(0).toString();
        if (kind == CashCategories::kEntry)
            totals.entries += q.value(1).toDouble();
        else if (kind == CashCategories::kExit)
            totals.exits += q.value(1).toDouble();
    }
    return totals;
}

QString money(double amount)
{
    return QStringLiteral("R$ ") + QLocale().toString(std::round(amount * 100) / 100, 'f', 2);
}

// The book's own balances do not follow from its movements (changed with its
// triggers switched off): what is wrong, or empty.
QString brokenChain(const Book &previous, const Book &book)
{
    const Totals totals = movementTotals(previous.code);
    const double computed = previous.storedPrevious + totals.entries - totals.exits;
    if (std::abs(computed - previous.storedCurrent) <= kHalfCent)
        return {};
    return QStringLiteral("O saldo atual gravado no livro %1 (%2) não confere com o saldo anterior e os lançamentos "
                          "dele (%3): os saldos não se encadeiam, e o livro %4 não pode ser fechado. Reabra o livro "
                          "%1 e feche-o de novo.")
        .arg(previous.label(), money(previous.storedCurrent), money(computed), book.label());
}

// Stores the row of TBLIVRO being edited at once; on a refusal the book is
// back as it is stored.
void applyBook(const std::function<void()> &change, int bookCode)
{
    TableDataset *table = DM->TBLIVRO;
    if (!table->locate(QStringLiteral("LIVCODIGO"), {bookCode}))
        throw DbError(QStringLiteral("O livro caixa de código %1 não foi encontrado.").arg(bookCode));
    table->edit();
    change();
    table->post();
    try {
        table->applyUpdates(0);
    } catch (const DbError &) {
        table->cancelUpdates();
        throw;
    }
}

// ---- The triggers

// A message as a PSQL expression: the text quoted, each %n the expression given.
QString psqlMessage(const char *format, const QStringList &expressions)
{
    const QString text = QString::fromUtf8(format);
    QString sql = QStringLiteral("'");
    for (int i = 0; i < text.size(); ++i) {
        if (text[i] == u'%' && i + 1 < text.size() && text[i + 1].isDigit()) {
            sql += QStringLiteral("' || %1 || '").arg(expressions.at(text[++i].digitValue() - 1));
        } else {
            sql += text[i] == u'\'' ? QStringLiteral("''") : QString(text[i]);
        }
    }
    return sql + u'\'';
}

// bookLabel of the book row `b` (OLD, NEW or an alias of TLIVRO), in PSQL.
QString labelSql(const QString &b)
{
    QString months;
    for (int m = 1; m <= 12; ++m)
        months += QStringLiteral(" WHEN %1 THEN '%2'").arg(m).arg(monthName(m).toUpper());
    return QStringLiteral("COALESCE(CASE %1.LIVMES%2 END || '/' || %1.LIVANO, %1.LIVDESCRICAO, 'de código ' || "
                          "%1.LIVCODIGO)")
        .arg(b, months);
}

QString refuse(const char *format, const QStringList &expressions)
{
    return QStringLiteral("EXCEPTION %1 %2").arg(QString::fromLatin1(kRuleRefusal), psqlMessage(format, expressions));
}

// OLD.X IS DISTINCT FROM NEW.X for every column of the books but those of the closing.
QString bookChanged()
{
    QStringList terms;
    for (const FieldDef &def : Schema::table(QStringLiteral("LIVRO")).columns)
        if (def.level <= kLevel && !def.name.startsWith(QLatin1String("LIVFECHADO")) && def.name != QLatin1String("LIVREABERTURA"))
            terms << QStringLiteral("OLD.%1 IS DISTINCT FROM NEW.%1").arg(def.name);
    return terms.join(QStringLiteral(" OR "));
}

// The book rules: a closed book changes only by reopening, which needs a
// reason and must be the latest closed month; a book closes only with its
// month and year, after the month before; no book comes into a closed month
// or the month before one.
QString booksTrigger()
{
    const QString book = QStringLiteral("LIVRO"), other = QStringLiteral("OUTRO");
    const QString key = QStringLiteral("%1.LIVANO * 12 + %1.LIVMES");
    const QString dated = QStringLiteral("%1.LIVMES BETWEEN 1 AND 12 AND %1.LIVANO IS NOT NULL");
    const QString undated = QStringLiteral("NEW.LIVMES IS NULL OR NEW.LIVANO IS NULL OR NEW.LIVMES NOT BETWEEN 1 AND 12");
    return QStringLiteral(
               "CREATE TRIGGER TLIVRO_FECHAMENTO FOR TLIVRO ACTIVE BEFORE INSERT OR UPDATE OR DELETE POSITION 0 AS\n"
               "DECLARE LIVRO VARCHAR(60) CHARACTER SET UTF8;\n"
               "DECLARE OUTRO VARCHAR(60) CHARACTER SET UTF8;\n"
               "BEGIN\n"
               "  IF (NOT INSERTING) THEN LIVRO = %1;\n"
               "  IF (DELETING) THEN BEGIN\n"
               "    IF (OLD.LIVFECHADOEM IS NOT NULL) THEN %2;\n"
               "    EXIT;\n"
               "  END\n"
               "  IF (UPDATING AND OLD.LIVFECHADOEM IS NOT NULL) THEN BEGIN\n"
               "    IF (%3 OR (NEW.LIVFECHADOEM IS NOT NULL AND (NEW.LIVFECHADOEM IS DISTINCT FROM OLD.LIVFECHADOEM OR "
               "NEW.LIVFECHADOPOR IS DISTINCT FROM OLD.LIVFECHADOPOR OR NEW.LIVREABERTURA IS DISTINCT FROM "
               "OLD.LIVREABERTURA))) THEN %2;\n"
               "    IF (NEW.LIVFECHADOEM IS NOT NULL) THEN EXIT;\n"
               "    IF (TRIM(COALESCE(NEW.LIVREABERTURA, '')) = '') THEN %4;\n"
               "    SELECT FIRST 1 %5 FROM TLIVRO B WHERE B.LIVFECHADOEM IS NOT NULL AND %6 > %7 "
               "ORDER BY B.LIVANO DESC, B.LIVMES DESC INTO :OUTRO;\n"
               "    IF (OUTRO IS NOT NULL) THEN %8;\n"
               "    EXIT;\n"
               "  END\n"
               "  IF (NEW.LIVFECHADOEM IS NOT NULL) THEN BEGIN\n"
               "    IF (%15) THEN %10;\n"
               "    SELECT FIRST 1 %5 FROM TLIVRO B WHERE B.LIVFECHADOEM IS NULL AND B.LIVCODIGO <> NEW.LIVCODIGO "
               "AND %11 AND %6 = %12 - 1 INTO :OUTRO;\n"
               "    IF (OUTRO IS NOT NULL) THEN %13;\n"
               "    NEW.LIVREABERTURA = NULL;\n"
               "  END\n"
               "  IF (%9 AND (INSERTING OR NEW.LIVMES IS DISTINCT FROM OLD.LIVMES OR NEW.LIVANO IS DISTINCT FROM "
               "OLD.LIVANO)) THEN BEGIN\n"
               "    SELECT FIRST 1 %5 FROM TLIVRO B WHERE B.LIVFECHADOEM IS NOT NULL AND B.LIVCODIGO <> NEW.LIVCODIGO "
               "AND %6 IN (%12, %12 + 1) INTO :OUTRO;\n"
               "    IF (OUTRO IS NOT NULL) THEN %14;\n"
               "  END\n"
               "END")
        .arg(labelSql(QStringLiteral("OLD")), refuse(kClosedBook, {book}), bookChanged(),
             refuse(kNoReason, {book}), labelSql(QStringLiteral("B")), key.arg(QStringLiteral("B")),
             key.arg(QStringLiteral("OLD")), refuse(kNotLatest, {other}), dated.arg(QStringLiteral("NEW")))
        .arg(refuse(kUndated, {labelSql(QStringLiteral("NEW"))}), dated.arg(QStringLiteral("B")),
             key.arg(QStringLiteral("NEW")), refuse(kPreviousOpen, {other}),
             refuse(kBeforeClosed, {labelSql(QStringLiteral("NEW")), other}), undated);
}

// No movement comes into, changes in or leaves a closed book.
QString movementsTrigger()
{
    const QString closedBook = QStringLiteral(
        "SELECT %1 FROM TLIVRO L WHERE L.LIVCODIGO = %2.MOVLIVRO AND L.LIVFECHADOEM IS NOT NULL INTO :LIVRO;\n");
    const QString label = labelSql(QStringLiteral("L"));
    return QStringLiteral("CREATE TRIGGER TMOVIMETACOES_FECHAMENTO FOR TMOVIMETACOES ACTIVE BEFORE INSERT OR UPDATE OR "
                          "DELETE POSITION 0 AS\n"
                          "DECLARE LIVRO VARCHAR(60) CHARACTER SET UTF8;\n"
                          "BEGIN\n"
                          "  IF (NOT INSERTING) THEN %1"
                          "  IF (LIVRO IS NULL AND NOT DELETING) THEN %2"
                          "  IF (LIVRO IS NOT NULL) THEN %3;\n"
                          "END")
        .arg(closedBook.arg(label, QStringLiteral("OLD")), closedBook.arg(label, QStringLiteral("NEW")),
             refuse(kClosedMovement, {QStringLiteral("LIVRO")}));
}

} // namespace

// The books' closing columns, as the connection's description of the
// tables has them: no round trip once the tables are described.
bool available()
{
    if (!DM)
        return false;
    const StoredTable books = StoredTables::of(DM->SQLConnection1()).value(QStringLiteral("TLIVRO"));
    return std::any_of(books.begin(), books.end(),
                       [](const StoredColumn &c) { return c.name == QLatin1String("LIVFECHADOEM"); });
}

QString monthName(int month)
{
    return month >= 1 && month <= 12 ? QString::fromUtf8(kMonthNames[month - 1]) : QString();
}

QString bookLabel(int bookCode)
{
    const std::optional<Book> book = bookOf(bookCode);
    return book ? book->label() : QStringLiteral("de código %1").arg(bookCode);
}

std::optional<Closing> closingOf(const QVariant &bookCode)
{
    const std::optional<Book> book = bookOf(bookCode);
    if (!book || !book->closed())
        return std::nullopt;
    return Closing{book->closedOn, book->closedBy};
}

QString footLine(const Closing &closing)
{
    return QStringLiteral("Mês fechado em %1 por %2").arg(closing.on.toString(QStringLiteral("dd/MM/yyyy")), closing.by);
}

QString movementRefusal(const QVariant &bookCode)
{
    const std::optional<Book> book = bookOf(bookCode);
    return book && book->closed() ? said(kClosedMovement, book->label()) : QString();
}

QString bookRefusal(const QVariant &bookCode)
{
    const std::optional<Book> book = bookOf(bookCode);
    return book && book->closed() ? said(kClosedBook, book->label()) : QString();
}

double previousBalanceOf(int bookCode)
{
    const std::optional<Book> book = bookOf(bookCode);
    const int month = book ? book->month : 0;
    const int year = book ? book->year.toInt() : 0;
    const int previousMonth = month == 1 ? 12 : month - 1;
    const int previousYear = month == 1 ? year - 1 : year;
    for (const Book &b : books())
        if (b.month == previousMonth && b.year.toInt() == previousYear && !b.year.isNull())
            return b.storedCurrent;
    return 0;
}

Balances balancesOf(int bookCode)
{
    const Totals totals = movementTotals(bookCode);
    return {previousBalanceOf(bookCode), totals.entries, totals.exits};
}

QString closingRefusal(int bookCode)
{
    const Book book = existing(bookCode);
    if (book.closed())
        return QStringLiteral("O livro %1 já está fechado.").arg(book.label());
    if (!book.dated())
        return said(kUndated, book.label());
    const QList<Book> before = booksBefore(book);
    for (const Book &b : before)
        if (!b.closed())
            return said(kPreviousOpen, b.label());
    return before.isEmpty() ? QString() : brokenChain(before.first(), book);
}

void close(int bookCode, const QDate &on)
{
    if (const QString refusal = closingRefusal(bookCode); !refusal.isEmpty())
        throw DbError(refusal);
    const Balances balances = balancesOf(bookCode);
    const std::optional<Account> &account = Session::current();
    applyBook(
        [&] {
            DM->TBLIVROLIVSALDOANTERIOR->setAsFloat(balances.previous);
            DM->TBLIVROLIVSALDOATUAL->setAsFloat(balances.current());
            DM->TBLIVROLIVFECHADOEM->setAsDate(on);
            DM->TBLIVROLIVFECHADOPOR->setAsString(account ? account->shownName() : QString());
            DM->TBLIVROLIVREABERTURA->clear();
        },
        bookCode);
}

QString reopeningRefusal(int bookCode)
{
    const Book book = existing(bookCode);
    if (!book.closed())
        return QStringLiteral("O livro %1 não está fechado.").arg(book.label());
    std::optional<Book> latest;
    for (const Book &b : books())
        if (b.closed() && b.dated() && b.key() > (latest ? latest->key() : book.key()))
            latest = b;
    return latest ? said(kNotLatest, latest->label()) : QString();
}

void reopen(int bookCode, const QString &reason)
{
    if (const QString refusal = reopeningRefusal(bookCode); !refusal.isEmpty())
        throw DbError(refusal);
    if (reason.trimmed().isEmpty())
        throw DbError(said(kNoReason, bookLabel(bookCode)));
    applyBook(
        [&] {
            DM->TBLIVROLIVFECHADOEM->clear();
            DM->TBLIVROLIVFECHADOPOR->clear();
            DM->TBLIVROLIVREABERTURA->setAsString(reason.trimmed());
        },
        bookCode);
}

QList<SchemaLevels::SchemaObject> schemaObjects()
{
    return {{QStringLiteral("TRIGGER"), QStringLiteral("TLIVRO_FECHAMENTO"), booksTrigger()},
            {QStringLiteral("TRIGGER"), QStringLiteral("TMOVIMETACOES_FECHAMENTO"), movementsTrigger()}};
}

} // namespace ClosedMonths
