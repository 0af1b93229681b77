#pragma once

#include "Reconciliation.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QTableWidget;
class QToolButton;

// "Extrato Bancário": a bank statement against a month's cash book. It shows
// the bank, the account and the period, and each new line of the statement
// in the book's month with the movement it probably is; for each line the
// treasurer confers it with a movement (the proposed one or another),
// launches a movement from it (with a category, proposed from the last
// movement of the same description), ignores it, or leaves it for later.
// Lines of other months are listed apart and never imported into this book.
// Beside them, the statement's closing balance, the book's balance on the
// same day and the difference. "Importar" writes every decision in one
// transaction; "Cancelar" writes nothing.
class TFExtrato : public QDialog
{
    Q_OBJECT
public:
    explicit TFExtrato(QWidget *owner);

    // The statements of a file (one is shown at a time) and the book chosen.
    void setStatements(const QList<Ofx::Statement> &statements, int bookCode);

    // The columns of the lines' grid, and the choices of its rows.
    enum Column { Data, Descricao, Valor, Tipo, Acao, Movimento, Categoria };
    enum class Action { Match, Create, Ignore, Later }; // in the order the list offers them
    QComboBox *cbConta, *cbLivro;
    QLabel *lblConta, *lblPeriodo, *lblJaImportadas, *lblSaldoExtrato, *lblSaldoLivro, *lblDiferenca;
    QTableWidget *grdLinhas, *grdForaDoMes;
    QToolButton *btnImportar, *btnCancelar;

    QComboBox *actionBox(int row) const;
    QComboBox *movementBox(int row) const;
    QComboBox *categoryBox(int row) const;
    const Reconciliation::Plan &plan() const { return m_plan; }

    // The treasurer's decisions as the rows say them; DbError when a line to
    // confer has no movement, or two lines the same one.
    QList<Reconciliation::Decision> decisions() const;
    void btnImportarClick();

private:
    void replan();
    void showLines();
    void showOutside();
    void showBalances();
    void fillRow(int row, const Reconciliation::Proposal &p);

    QList<Ofx::Statement> m_statements;
    Reconciliation::Plan m_plan;
};

extern TFExtrato *FExtrato;
