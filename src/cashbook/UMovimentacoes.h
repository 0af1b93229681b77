#pragma once

#include <functional>

#include "recordform/RecordForm.h"

#include <QSet>

class DBEdit;
class DBLookupComboBox;
class DBRadioGroup;
class LookupSearch;
class QLineEdit;

// Cash movements: one row of TMOVIMETACOES per entry or exit of money,
// booked against a monthly cash book. Saving never touches the book's
// balances; the cash book report works them out. A movement of a closed
// month is neither changed nor deleted, and none is saved into one (the
// database refuses it with the same message).
class TFMovimentacoes : public RecordForm
{
    Q_OBJECT
public:
    explicit TFMovimentacoes(QWidget *owner);

    DBEdit *DBEdit1, *DBEdit2, *DBEdit3, *DBEdit4, *DBEdit6;
    DBLookupComboBox *DBLookupComboBox1;
    QToolButton *btnLivro;
    DBRadioGroup *DBRadioGroup1;
    QLineEdit *Edit1; // one pixel wide: Salvar parks the focus there

    // When the database has the categories of the cash book: the category
    // (of the movement's kind), the member who gave it, the document, and
    // the receipt of an entry with its member.
    DBLookupComboBox *DBLookupComboBox2 = nullptr, *DBLookupComboBox3 = nullptr;
    LookupSearch *txtBuscaMembro = nullptr;
    DBEdit *DBEdit5 = nullptr;
    QToolButton *btnRecibo = nullptr;
    // When the database keeps imported statement lines: "Importar Extrato"
    // and the grid's "CONFERÊNCIA".
    QToolButton *btnImportarExtrato = nullptr;

    void btnLivroClick();
    void btnSalvarClick() override;
    void btnReciboClick();
    // Asks for an OFX file and opens "Extrato Bancário" on it and the
    // current movement's book.
    void btnImportarExtratoClick();
    // The statement file chosen in the open-file dialog; empty when none.
    // Tests put their own in its place.
    static std::function<QString(QWidget *)> chooseStatementFile;
    static QString statementFileDialog(QWidget *parent);
    void openStatement(const QString &path);
    void followState() override;
    QString changeRefusal() const override;
    // The category list shows the categories of the movement's kind; a
    // category of the other kind is taken off a movement being edited.
    void listCategoriesOfKind();

protected:
    void done(int result) override;

private:
    void buildDetails();
    void buildStatementImport();
    QSet<int> m_reconciled; // the movements conferred with a statement line
};

extern TFMovimentacoes *FMovimentacoes;
