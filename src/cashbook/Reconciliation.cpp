#include "Reconciliation.h"

#include "datamodule/CashCategories.h"
#include "datamodule/ClosedMonths.h"
#include "datamodule/SchemaUpgrade.h"
#include "datamodule/Statements.h"
#include "datamodule/UDM.h"
#include "dataset/DbError.h"

#include <algorithm>
#include <cmath>

namespace Reconciliation {

namespace {

constexpr double kHalfCent = 0.005;
constexpr int kDaysApart = 3;
constexpr int kMovementDescriptionWidth = 50;

QSqlDatabase db()
{
    return DM->SQLConnection1();
}

struct Book
{
    int month = 0;
    int year = 0;
};

Book bookOf(int bookCode)
{
    QSqlQuery q = Statements::run(db(), QStringLiteral("SELECT LIVMES, LIVANO FROM TLIVRO WHERE LIVCODIGO = ?"),
                                  {bookCode});
    if (!q.next())
        throw DbError(QStringLiteral("O livro caixa de código %1 não foi encontrado.").arg(bookCode));
    const Book book{q.value(0).toInt(), q.value(1).toInt()};
    if (book.month < 1 || book.month > 12 || q.value(1).isNull())
        throw DbError(QStringLiteral("O livro %1 não tem mês e ano: preencha-os em Cadastro do Livro Caixa do Mês "
                                     "antes de importar o extrato nele.")
                          .arg(ClosedMonths::bookLabel(bookCode)));
    return book;
}

QSet<QString> importedIdentities(const QString &account)
{
    QSqlQuery q = Statements::run(db(), QStringLiteral("SELECT EXTIDENTIDADE FROM TEXTRATO WHERE EXTCONTA = ?"),
                                  {account});
    QSet<QString> identities;
    while (q.next())
        identities.insert(q.value(0).toString());
    return identities;
}

// The book's movements that no statement line has yet, by date.
QList<Movement> unmatchedMovements(int bookCode)
{
    QSqlQuery q = Statements::run(
        db(), QStringLiteral("SELECT MOVCODIGO, MOVDATA, MOVVALOR, MOVDEBITOCREDITO, MOVDESCRICAO FROM TMOVIMETACOES M "
                             "WHERE MOVLIVRO = ? AND NOT EXISTS (SELECT 1 FROM TEXTRATO E WHERE E.EXTMOVIMENTO = "
                             "M.MOVCODIGO) ORDER BY MOVDATA, MOVCODIGO"),
        {bookCode});
    QList<Movement> movements;
    while (q.next())
        movements.append({q.value(0).toInt(), q.value(1).toDate(), q.value(2).toDouble(), q.value(3).toString(),
                          q.value(4).toString()});
    return movements;
}

// The category of the latest movement of that kind and description that has one.
QVariant lastCategory(const QString &description, const QString &kind)
{
    QSqlQuery q = Statements::run(
        db(), QStringLiteral("SELECT FIRST 1 MOVCATEGORIA FROM TMOVIMETACOES WHERE MOVCATEGORIA IS NOT NULL AND "
                             "MOVDEBITOCREDITO = ? AND UPPER(MOVDESCRICAO) = UPPER(?) ORDER BY MOVDATA DESC NULLS "
                             "LAST, MOVCODIGO DESC"),
        {kind, description});
    return q.next() ? q.value(0) : QVariant();
}

std::optional<double> balanceOn(int bookCode, const QDate &day)
{
    if (!day.isValid())
        return std::nullopt;
    QSqlQuery q = Statements::run(
        db(), QStringLiteral("SELECT MOVDEBITOCREDITO, SUM(MOVVALOR) FROM TMOVIMETACOES WHERE MOVLIVRO = ? AND "
                             "MOVDATA <= ? GROUP BY MOVDEBITOCREDITO"),
        {bookCode, day});
    double balance = ClosedMonths::previousBalanceOf(bookCode);
    while (q.next()) {
        if (q.value(0).toString() == CashCategories::kEntry)
            balance += q.value(1).toDouble();
        else if (q.value(0).toString() == CashCategories::kExit)
            balance -= q.value(1).toDouble();
    }
    return balance;
}

// Each line takes the nearest fitting movement no earlier line took.
void proposeMatches(QList<Proposal> &lines, const QList<Movement> &movements)
{
    QSet<int> taken;
    for (Proposal &p : lines) {
        const QList<Movement> fitting = candidatesFor(p, movements);
        p.candidates = int(fitting.size());
        const Movement *best = nullptr;
        for (const Movement &m : fitting) {
            if (taken.contains(m.code))
                continue;
            if (!best || std::abs(m.date.daysTo(p.line.date)) < std::abs(best->date.daysTo(p.line.date)))
                best = &m;
        }
        if (best) {
            p.match = best->code;
            taken.insert(best->code);
        }
    }
}

int nextCode(const QString &column, const QString &table)
{
    QSqlQuery q = Statements::run(db(), QStringLiteral("SELECT COALESCE(MAX(%1), 0) + 1 FROM %2").arg(column, table));
    q.next();
    return q.value(0).toInt();
}

void rereadMovements()
{
    TableDataset *movements = DM->TBMOVIMENTACOES;
    if (!movements->active())
        return;
    const QVariant current = movements->isEmpty() ? QVariant() : DM->TBMOVIMENTACOESMOVCODIGO->value();
    movements->close();
    movements->open();
    if (!current.isNull())
        movements->locate(QStringLiteral("MOVCODIGO"), {current});
}

} // namespace

bool available()
{
    return DM && SchemaUpgrade::available(DM->SQLConnection1(), kLevel);
}

QString Proposal::movementDescription() const
{
    return line.description.toUpper().left(kMovementDescriptionWidth);
}

QList<Movement> candidatesFor(const Proposal &proposal, const QList<Movement> &movements)
{
    QList<Movement> fitting;
    for (const Movement &m : movements)
        if (m.kind == proposal.kind && std::abs(m.value - proposal.value) < kHalfCent && m.date.isValid()
            && std::abs(m.date.daysTo(proposal.line.date)) <= kDaysApart)
            fitting.append(m);
    return fitting;
}

Plan plan(const Ofx::Statement &statement, int bookCode)
{
    const Book book = bookOf(bookCode);
    Plan plan{statement, bookCode, book.month, book.year, {}, {}, 0, unmatchedMovements(bookCode), {}};
    const QSet<QString> imported = importedIdentities(statement.accountKey());
    QList<Ofx::Line> lines = statement.lines;
    std::stable_sort(lines.begin(), lines.end(), [](const Ofx::Line &a, const Ofx::Line &b) { return a.date < b.date; });
    for (const Ofx::Line &line : std::as_const(lines)) {
        if (imported.contains(line.identity)) {
            ++plan.alreadyImported;
        } else if (line.date.month() != book.month || line.date.year() != book.year) {
            plan.outside.append(line);
        } else {
            Proposal p{line, line.amount > 0 ? CashCategories::kEntry : CashCategories::kExit, std::abs(line.amount),
                       std::nullopt, 0, {}};
            p.category = lastCategory(p.movementDescription(), p.kind);
            plan.lines.append(p);
        }
    }
    proposeMatches(plan.lines, plan.unmatched);
    plan.bookBalance = balanceOn(bookCode, statement.ledgerDate);
    return plan;
}

int apply(const Plan &plan, const QList<Decision> &decisions, const std::function<void(int)> &beforeLine)
{
    if (decisions.size() != plan.lines.size())
        throw DbError(QStringLiteral("As decisões não correspondem às linhas do extrato."));
    if (const QString refusal = ClosedMonths::movementRefusal(plan.book); !refusal.isEmpty())
        throw DbError(refusal);
    Statements::Transaction t(db());
    int movementCode = nextCode(QStringLiteral("MOVCODIGO"), QStringLiteral("TMOVIMETACOES"));
    int lineCode = nextCode(QStringLiteral("EXTCODIGO"), QStringLiteral("TEXTRATO"));
    const QString account = plan.statement.accountKey();
    int kept = 0;
    for (int i = 0; i < plan.lines.size(); ++i) {
        const Decision &d = decisions[i];
        if (d.kind == Decision::Kind::Later)
            continue;
        if (beforeLine)
            beforeLine(i);
        const Proposal &p = plan.lines[i];
        QVariant movement;
        QString state = kIgnored;
        if (d.kind == Decision::Kind::Create) {
            Statements::run(db(),
                            QStringLiteral("INSERT INTO TMOVIMETACOES (MOVCODIGO, MOVDESCRICAO, MOVLIVRO, MOVVALOR, "
                                           "MOVDEBITOCREDITO, MOVDATA, MOVCATEGORIA) VALUES (?, ?, ?, ?, ?, ?, ?)"),
                            {movementCode, p.movementDescription(), plan.book, p.value, p.kind, p.line.date,
                             d.category.isNull() ? QVariant(QMetaType(QMetaType::Int)) : d.category});
            movement = movementCode++;
            state = kCreated;
        } else if (d.kind == Decision::Kind::Match) {
            movement = d.movement;
            state = kMatched;
        }
        Statements::run(db(),
                        QStringLiteral("INSERT INTO TEXTRATO (EXTCODIGO, EXTCONTA, EXTIDENTIDADE, EXTDATA, EXTVALOR, "
                                       "EXTDESCRICAO, EXTSITUACAO, EXTMOVIMENTO) VALUES (?, ?, ?, ?, ?, ?, ?, ?)"),
                        {lineCode++, account, p.line.identity.left(200), p.line.date, p.line.amount,
                         p.line.description.left(100), state,
                         movement.isNull() ? QVariant(QMetaType(QMetaType::Int)) : movement});
        ++kept;
    }
    t.commit();
    DM->noteDataWritten();
    rereadMovements();
    return kept;
}

QSet<int> reconciledMovements()
{
    QSet<int> codes;
    if (!available())
        return codes;
    QSqlQuery q = Statements::run(db(), QStringLiteral("SELECT EXTMOVIMENTO FROM TEXTRATO WHERE EXTMOVIMENTO IS NOT NULL"));
    while (q.next())
        codes.insert(q.value(0).toInt());
    return codes;
}

} // namespace Reconciliation
