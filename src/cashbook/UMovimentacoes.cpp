#include "UMovimentacoes.h"

#include "ULivroCaixa.h"
#include "uikit/ErrorGuard.h"
#include "uikit/FormKit.h"
#include "uikit/Messages.h"
#include "data/UDM.h"
#include "data/controls/DBEdit.h"
#include "data/controls/DBGrid.h"
#include "data/controls/DBLookupComboBox.h"
#include "data/controls/DBNavigator.h"
#include "data/controls/DBRadioGroup.h"

#include <QHash>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

TFMovimentacoes *FMovimentacoes = nullptr;

namespace {

// The export's "LIVRO": the description of the movement's book, looked up
// among every stored book once per export.
RecordFormSetup::ExportColumn bookDescription()
{
    QHash<int, QString> books;
    TableDataset *bookTable = DM->TBLIVRO;
    const int code = DM->TBLIVROLIVCODIGO->index();
    const int description = DM->TBLIVROLIVDESCRICAO->index();
    for (int i = 0; i < bookTable->allRowCount(); ++i)
        books.insert(bookTable->allRowValue(i, code).toInt(), bookTable->allRowValue(i, description).toString());
    TableDataset *movements = DM->TBMOVIMENTACOES;
    const int book = DM->TBMOVIMENTACOESMOVLIVRO->index();
    return {QStringLiteral("LIVRO"), [books, movements, book](int row) -> QVariant {
                const QVariant key = movements->valueAt(row, book);
                return key.isNull() ? QVariant() : QVariant(books.value(key.toInt()));
            }};
}

RecordFormSetup setup()
{
    RecordFormSetup s;
    s.objectName = QStringLiteral("FMovimentacoes");
    s.caption = QStringLiteral("Movimentações de Caixa");
    s.source = DM->DSMOVIMENTACOES;
    s.codeColumn = QStringLiteral("MOVCODIGO");
    s.openOnShow = {DM->TBLIVRO, DM->TBMOVIMENTACOES};
    s.rereadOnNew = true;
    s.entryPageCaption = QStringLiteral("Movimentação");
    s.searchColumn = QStringLiteral("MOVDESCRICAO");
    s.searchLabel = QStringLiteral("BUSCA DE MOVIMENTAÇÃO POR DESCRICAÇÃO : ");
    s.focusSearchOnQueryPage = true;
    s.shortcuts = RecordFormSetup::Shortcuts::CashMovements;
    s.capitals = true;
    s.size = QSize(637, 564);
    s.exportName = QStringLiteral("movimentacoes");
    s.exportColumns = [] { return QList<RecordFormSetup::ExportColumn>{bookDescription()}; };
    return s;
}

} // namespace

TFMovimentacoes::TFMovimentacoes(QWidget *owner) : RecordForm(owner, setup())
{
    QWidget *page = TabSheet1;
    // The boxes' F5 and Esc reach the shortcut menu first.
    DBEdit1 = fieldBox(QStringLiteral("DBEdit1"), QStringLiteral("MOVCODIGO"), 80);
    DBEdit2 = fieldBox(QStringLiteral("DBEdit2"), QStringLiteral("MOVDESCRICAO"));
    DBEdit3 = fieldBox(QStringLiteral("DBEdit3"), QStringLiteral("MOVLIVRO"), 60);
    DBLookupComboBox1 = new DBLookupComboBox(page);
    DBLookupComboBox1->setObjectName(QStringLiteral("DBLookupComboBox1"));
    DBLookupComboBox1->setAccessibleName(QStringLiteral("DESCRIÇÃO DO LIVRO"));
    DBLookupComboBox1->setListSource(DM->DSLIVRO, QStringLiteral("LIVCODIGO"), QStringLiteral("LIVDESCRICAO"));
    DBLookupComboBox1->setDataField(DM->DSMOVIMENTACOES, QStringLiteral("MOVLIVRO"));
    btnLivro = FormKit::pictureButton(page, QStringLiteral("btnLivro"), QStringLiteral("Livros"),
                                      QStringLiteral(":/icons/livro_cadastro.svg"), true);
    btnLivro->setToolTip(QStringLiteral("Cadastro de Livros Caixas"));
    btnLivro->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    btnLivro->setIconSize(QSize(18, 18));
    DBEdit4 = fieldBox(QStringLiteral("DBEdit4"), QStringLiteral("MOVVALOR"), 160);
    DBEdit6 = fieldBox(QStringLiteral("DBEdit6"), QStringLiteral("MOVDATA"), 100);
    DBRadioGroup1 = new DBRadioGroup(DM->DSMOVIMENTACOES, QStringLiteral("MOVDEBITOCREDITO"),
                                     QStringLiteral("ENTRADA OU SAÍDA ?"),
                                     {QStringLiteral("ENTRADA"), QStringLiteral("SAIDA")}, page);
    DBRadioGroup1->setObjectName(QStringLiteral("DBRadioGroup1"));
    Edit1 = new QLineEdit(page);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setFixedWidth(1);
    Edit1->setFrame(false);

    addLabeled(QStringLiteral("Label1"), QStringLiteral("CODIGO"), DBEdit1);
    addLabeled(QStringLiteral("Label2"), QStringLiteral("DESCRIÇÃO"), DBEdit2);
    auto *book = new QHBoxLayout;
    book->addWidget(DBEdit3);
    book->addWidget(DBLookupComboBox1, 1);
    book->addWidget(btnLivro);
    addLabeled(QStringLiteral("Label3"), QStringLiteral("LIVRO"), book, DBEdit3);
    auto *amount = new QHBoxLayout;
    amount->addLayout(FormKit::captionAbove(page, QStringLiteral("Label4"), QStringLiteral("VALOR"), DBEdit4));
    amount->addLayout(FormKit::captionAbove(page, QStringLiteral("Label6"), QStringLiteral("DATA"), DBEdit6));
    amount->addStretch();
    entryLayout()->addLayout(amount);
    entryLayout()->addSpacing(4);
    entryLayout()->addWidget(DBRadioGroup1);
    entryLayout()->addWidget(Edit1, 0, Qt::AlignLeft);

    setCodeBox(DBEdit1);
    addEditable({DBEdit2, DBEdit3, DBEdit4, DBEdit6, DBRadioGroup1, DBLookupComboBox1, btnLivro});
    setFirstField(DBEdit2);
    // The book list comes after the navigator, whatever its place on the page.
    setTabChain({DBEdit1, DBEdit2, DBEdit3, DBEdit4, DBEdit6, DBRadioGroup1, DBNavigator1, DBLookupComboBox1, Edit1});
    connectGuarded(btnLivro, &QToolButton::clicked, this, [this] { btnLivroClick(); });

    DBGrid1->addColumn(QStringLiteral("MOVCODIGO"), QStringLiteral("CÓDIGO"), 56);
    DBGrid1->addColumn(QStringLiteral("MOVDESCRICAO"), QStringLiteral("DESCRIÇÃO"), 230); // the five columns fit the window
    DBGrid1->addColumn(QStringLiteral("MOVVALOR"), QStringLiteral("VALOR"), 95);
    DBGrid1->addColumn(QStringLiteral("MOVDEBITOCREDITO"), QStringLiteral("ENTR/SAIDA"), 80);
    DBGrid1->addColumn(QStringLiteral("MOVDATA"), QStringLiteral("DATA"), 85);
    finishLayout();
}

// Both windows work on the shared books table: a book saved there is in the
// list at once, nothing to reload.
void TFMovimentacoes::btnLivroClick()
{
    FormKit::openModal(FLivroCaixa, this);
}

// Leaving the focused control hands its value to the row first (a kind just
// clicked, a date just typed).
void TFMovimentacoes::btnSalvarClick()
{
    Edit1->setFocus();
    if (DM->TBMOVIMENTACOESMOVDEBITOCREDITO->asString().isEmpty()) {
        Messages::information(QStringLiteral("Informe se a movimentação é uma ENTRADA ou SAÍDA!"));
        DBRadioGroup1->setFocus();
        return;
    }
    RecordForm::btnSalvarClick();
}
