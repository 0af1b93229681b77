#include "UExtrato.h"

#include "datamodule/CashCategories.h"
#include "datamodule/Statements.h"
#include "datamodule/UDM.h"
#include "dataset/DbError.h"
#include "uikit/Appearance.h"
#include "uikit/ErrorGuard.h"
#include "uikit/FormKit.h"
#include "uikit/Messages.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include <cmath>

TFExtrato *FExtrato = nullptr;

namespace {

using Reconciliation::Decision;
using Reconciliation::Proposal;

QString money(double amount)
{
    return QLocale().toCurrencyString(std::round(amount * 100) / 100);
}

QString day(const QDate &date)
{
    return date.isValid() ? date.toString(QStringLiteral("dd/MM/yyyy")) : QStringLiteral("--/--/----");
}

QTableWidget *grid(QWidget *parent, const QString &name, const QStringList &titles)
{
    auto *g = new QTableWidget(0, int(titles.size()), parent);
    g->setObjectName(name);
    g->setHorizontalHeaderLabels(titles);
    g->setSelectionMode(QAbstractItemView::NoSelection);
    g->setEditTriggers(QAbstractItemView::NoEditTriggers);
    g->verticalHeader()->setVisible(false);
    g->horizontalHeader()->setStretchLastSection(true);
    return g;
}

QTableWidgetItem *cell(const QString &text, bool right = false)
{
    auto *item = new QTableWidgetItem(text);
    item->setTextAlignment((right ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    return item;
}

// "02/05/2011 PIX RECEBIDO (R$ 10,00)": how a message names a line.
QString lineLabel(const Proposal &p)
{
    return QStringLiteral("%1 %2 (%3)").arg(day(p.line.date), p.line.description, money(p.line.amount));
}

} // namespace

TFExtrato::TFExtrato(QWidget *owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("FExtrato"));
    setWindowTitle(QStringLiteral("Extrato Bancário"));
    FormKit::whiteBackground(this);
    cbConta = new QComboBox(this);
    cbConta->setObjectName(QStringLiteral("cbConta"));
    cbLivro = new QComboBox(this);
    cbLivro->setObjectName(QStringLiteral("cbLivro"));
    const QHash<int, QString> books =
        CashCategories::byCode(DM->TBLIVRO, QStringLiteral("LIVCODIGO"), QStringLiteral("LIVDESCRICAO"));
    for (auto it = books.begin(); it != books.end(); ++it)
        cbLivro->addItem(it.value(), it.key());
    cbLivro->model()->sort(0);
    lblConta = new QLabel(this);
    lblConta->setObjectName(QStringLiteral("lblConta"));
    lblPeriodo = new QLabel(this);
    lblPeriodo->setObjectName(QStringLiteral("lblPeriodo"));
    lblJaImportadas = new QLabel(this);
    lblJaImportadas->setObjectName(QStringLiteral("lblJaImportadas"));
    lblJaImportadas->setWordWrap(true);
    grdLinhas = grid(this, QStringLiteral("grdLinhas"),
                     {QStringLiteral("DATA"), QStringLiteral("DESCRIÇÃO"), QStringLiteral("VALOR"),
                      QStringLiteral("TIPO"), QStringLiteral("O QUE FAZER"), QStringLiteral("MOVIMENTAÇÃO DO LIVRO"),
                      QStringLiteral("CATEGORIA")});
    grdForaDoMes = grid(this, QStringLiteral("grdForaDoMes"),
                        {QStringLiteral("DATA"), QStringLiteral("DESCRIÇÃO"), QStringLiteral("VALOR")});
    grdForaDoMes->setMaximumHeight(Appearance::scaled(120));
    lblSaldoExtrato = new QLabel(this);
    lblSaldoExtrato->setObjectName(QStringLiteral("lblSaldoExtrato"));
    lblSaldoLivro = new QLabel(this);
    lblSaldoLivro->setObjectName(QStringLiteral("lblSaldoLivro"));
    lblDiferenca = new QLabel(this);
    lblDiferenca->setObjectName(QStringLiteral("lblDiferenca"));
    btnImportar = FormKit::pictureButton(this, QStringLiteral("btnImportar"), QStringLiteral("Importar"),
                                         QStringLiteral(":/icons/salvar.svg"), false);
    btnCancelar = FormKit::pictureButton(this, QStringLiteral("btnCancelar"), QStringLiteral("Cancelar"),
                                         QStringLiteral(":/icons/cancelar.svg"), false);

    auto *top = new QGridLayout;
    top->addWidget(FormKit::captionLabel(this, QStringLiteral("Label1"), QStringLiteral("CONTA DO EXTRATO"), cbConta), 0, 0);
    top->addWidget(cbConta, 1, 0);
    top->addWidget(FormKit::captionLabel(this, QStringLiteral("Label2"), QStringLiteral("LIVRO CAIXA DO MÊS"), cbLivro), 0, 1);
    top->addWidget(cbLivro, 1, 1);
    top->addWidget(lblConta, 2, 0);
    top->addWidget(lblPeriodo, 2, 1);
    auto *balances = new QHBoxLayout;
    for (QLabel *l : {lblSaldoExtrato, lblSaldoLivro, lblDiferenca})
        balances->addWidget(l);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(lblJaImportadas);
    layout->addWidget(FormKit::captionLabel(this, QStringLiteral("Label3"), QStringLiteral("LANÇAMENTOS DO MÊS DO LIVRO"), grdLinhas));
    layout->addWidget(grdLinhas, 1);
    layout->addWidget(FormKit::captionLabel(this, QStringLiteral("Label4"),
                                            QStringLiteral("LANÇAMENTOS DE OUTROS MESES (NÃO SÃO IMPORTADOS NESTE LIVRO)"),
                                            grdForaDoMes));
    layout->addWidget(grdForaDoMes);
    layout->addLayout(balances);
    layout->addLayout(FormKit::centredRow({btnImportar, btnCancelar}));
    resize(Appearance::scaled(QSize(980, 620)));

    connectGuarded(btnImportar, &QToolButton::clicked, this, [this] { btnImportarClick(); });
    connectGuarded(btnCancelar, &QToolButton::clicked, this, [this] { reject(); });
    for (QComboBox *box : {cbConta, cbLivro})
        connectGuarded(box, &QComboBox::activated, this, [this] { replan(); });
}

void TFExtrato::setStatements(const QList<Ofx::Statement> &statements, int bookCode)
{
    m_statements = statements;
    cbConta->clear();
    for (const Ofx::Statement &s : statements)
        cbConta->addItem(s.accountLabel());
    // The first statement with lines: a file may begin with an empty one.
    for (int i = 0; i < statements.size(); ++i)
        if (!statements[i].lines.isEmpty()) {
            cbConta->setCurrentIndex(i);
            break;
        }
    cbLivro->setCurrentIndex(cbLivro->findData(bookCode));
    replan();
}

void TFExtrato::replan()
{
    if (cbConta->currentIndex() < 0 || cbLivro->currentIndex() < 0)
        throw DbError(QStringLiteral("Escolha a conta do extrato e o livro caixa do mês."));
    m_plan = Reconciliation::plan(m_statements.at(cbConta->currentIndex()), cbLivro->currentData().toInt());
    const Ofx::Statement &s = m_plan.statement;
    lblConta->setText(s.accountLabel());
    lblPeriodo->setText(QStringLiteral("PERÍODO: %1 a %2").arg(day(s.start), day(s.end)));
    lblJaImportadas->setText(
        m_plan.alreadyImported == 0
            ? QString()
            : QStringLiteral("%1 lançamento(s) deste extrato já foram importados antes e não aparecem de novo.")
                  .arg(m_plan.alreadyImported));
    for (const Ofx::LeftOut &l : s.leftOut)
        lblJaImportadas->setText(lblJaImportadas->text() + QStringLiteral(" Linha %1 do arquivo: %2, deixado de fora.")
                                                               .arg(l.fileLine).arg(l.why));
    showLines();
    showOutside();
    showBalances();
}

void TFExtrato::showLines()
{
    grdLinhas->setRowCount(int(m_plan.lines.size()));
    for (int row = 0; row < m_plan.lines.size(); ++row)
        fillRow(row, m_plan.lines[row]);
    grdLinhas->resizeColumnsToContents();
}

// The row's texts and its three lists: what to do, the movement, the category.
void TFExtrato::fillRow(int row, const Proposal &p)
{
    grdLinhas->setItem(row, Data, cell(day(p.line.date)));
    grdLinhas->setItem(row, Descricao, cell(p.line.description));
    grdLinhas->setItem(row, Valor, cell(money(p.value), true));
    grdLinhas->setItem(row, Tipo, cell(p.kind));

    auto *action = new QComboBox(grdLinhas);
    action->addItems({QStringLiteral("Conferir"), QStringLiteral("Lançar no livro"), QStringLiteral("Ignorar"),
                      QStringLiteral("Deixar para depois")});
    action->setAccessibleName(QStringLiteral("O QUE FAZER COM ") + lineLabel(p));
    action->setCurrentIndex(int(p.match ? Action::Match : Action::Later));
    auto *movement = new QComboBox(grdLinhas);
    movement->setAccessibleName(QStringLiteral("MOVIMENTAÇÃO DO LIVRO PARA ") + lineLabel(p));
    movement->addItem(QStringLiteral("(nenhuma)"));
    for (const Reconciliation::Movement &m : m_plan.unmatched)
        if (m.kind == p.kind)
            movement->addItem(QStringLiteral("%1 %2 %3").arg(day(m.date), m.description, money(m.value)), m.code);
    movement->setCurrentIndex(p.match ? movement->findData(*p.match) : 0);
    auto *category = new QComboBox(grdLinhas);
    category->setAccessibleName(QStringLiteral("CATEGORIA PARA ") + lineLabel(p));
    category->addItem(CashCategories::kNoCategory);
    if (CashCategories::available()) {
        QSqlQuery q = Statements::run(DM->SQLConnection1(), QStringLiteral("SELECT CATCODIGO, CATDESCRICAO FROM "
                                                                           "TCATEGORIA WHERE CATTIPO = ? ORDER BY 2"),
                                      {p.kind});
        while (q.next())
            category->addItem(q.value(1).toString(), q.value(0));
    }
    category->setCurrentIndex(qMax(0, category->findData(p.category)));
    grdLinhas->setCellWidget(row, Acao, action);
    grdLinhas->setCellWidget(row, Movimento, movement);
    grdLinhas->setCellWidget(row, Categoria, category);
    // Choosing a movement by hand confers the line with it.
    connectGuarded(movement, &QComboBox::activated, this, [action, movement] {
        if (movement->currentIndex() > 0)
            action->setCurrentIndex(int(Action::Match));
    });
    connectGuarded(action, &QComboBox::currentIndexChanged, this, [this] { showBalances(); });
}

void TFExtrato::showOutside()
{
    grdForaDoMes->setRowCount(int(m_plan.outside.size()));
    for (int row = 0; row < m_plan.outside.size(); ++row) {
        const Ofx::Line &l = m_plan.outside[row];
        grdForaDoMes->setItem(row, 0, cell(day(l.date)));
        grdForaDoMes->setItem(row, 1, cell(l.description));
        grdForaDoMes->setItem(row, 2, cell(money(l.amount), true));
    }
    grdForaDoMes->resizeColumnsToContents();
}

// The book's balance counts the movements the import would launch too.
void TFExtrato::showBalances()
{
    const Ofx::Statement &s = m_plan.statement;
    if (!s.ledgerBalance || !m_plan.bookBalance) {
        lblSaldoExtrato->setText(QStringLiteral("O extrato não informa o saldo final."));
        lblSaldoLivro->clear();
        lblDiferenca->clear();
        return;
    }
    double book = *m_plan.bookBalance;
    for (int row = 0; row < m_plan.lines.size(); ++row)
        if (actionBox(row)->currentIndex() == int(Action::Create) && m_plan.lines[row].line.date <= s.ledgerDate)
            book += m_plan.lines[row].line.amount;
    lblSaldoExtrato->setText(QStringLiteral("SALDO DO EXTRATO EM %1: %2").arg(day(s.ledgerDate), money(*s.ledgerBalance)));
    lblSaldoLivro->setText(QStringLiteral("SALDO DO LIVRO NESSA DATA: %1").arg(money(book)));
    lblDiferenca->setText(QStringLiteral("DIFERENÇA: %1").arg(money(*s.ledgerBalance - book)));
}

QComboBox *TFExtrato::actionBox(int row) const
{
    return qobject_cast<QComboBox *>(grdLinhas->cellWidget(row, Acao));
}

QComboBox *TFExtrato::movementBox(int row) const
{
    return qobject_cast<QComboBox *>(grdLinhas->cellWidget(row, Movimento));
}

QComboBox *TFExtrato::categoryBox(int row) const
{
    return qobject_cast<QComboBox *>(grdLinhas->cellWidget(row, Categoria));
}

QList<Decision> TFExtrato::decisions() const
{
    QList<Decision> all;
    QHash<int, int> conferred; // movement -> row
    for (int row = 0; row < m_plan.lines.size(); ++row) {
        Decision d;
        switch (Action(actionBox(row)->currentIndex())) {
        case Action::Match: {
            const QVariant movement = movementBox(row)->currentData();
            if (movement.isNull())
                throw DbError(QStringLiteral("Escolha a movimentação do livro que confere com o lançamento %1.")
                                  .arg(lineLabel(m_plan.lines[row])));
            if (conferred.contains(movement.toInt()))
                throw DbError(QStringLiteral("Os lançamentos %1 e %2 foram conferidos com a mesma movimentação: "
                                             "cada movimentação confere com um lançamento só.")
                                  .arg(lineLabel(m_plan.lines[conferred.value(movement.toInt())]),
                                       lineLabel(m_plan.lines[row])));
            conferred.insert(movement.toInt(), row);
            d.kind = Decision::Kind::Match;
            d.movement = movement.toInt();
            break;
        }
        case Action::Create:
            d.kind = Decision::Kind::Create;
            d.category = categoryBox(row)->currentData();
            break;
        case Action::Ignore:
            d.kind = Decision::Kind::Ignore;
            break;
        case Action::Later:
            break;
        }
        all.append(d);
    }
    return all;
}

void TFExtrato::btnImportarClick()
{
    const int kept = Reconciliation::apply(m_plan, decisions());
    Messages::information(QStringLiteral("%1 lançamento(s) do extrato importado(s).").arg(kept));
    accept();
}
