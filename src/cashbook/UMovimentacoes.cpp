#include "UMovimentacoes.h"

#include "UExtrato.h"
#include "ULivroCaixa.h"
#include "Reconciliation.h"
#include "datamodule/CashCategories.h"
#include "datamodule/ClosedMonths.h"
#include "datamodule/UDM.h"
#include "controls/DBEdit.h"
#include "controls/DBGrid.h"
#include "controls/DBLookupComboBox.h"
#include "controls/DBNavigator.h"
#include "controls/DBRadioGroup.h"
#include "controls/LookupSearch.h"
#include "reports/caixa/URRecibo.h"
#include "uikit/Appearance.h"
#include "uikit/ErrorGuard.h"
#include "uikit/FormKit.h"
#include "uikit/Messages.h"

#include <QAction>
#include <QFile>
#include <QFileDialog>
#include <QHash>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

TFMovimentacoes *FMovimentacoes = nullptr;

namespace {

// The export's "DESCRIÇÃO DO LIVRO": the description of the movement's
// book, looked up among every stored book once per export.
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
    return {QStringLiteral("DESCRIÇÃO DO LIVRO"), [books, movements, book](int row) -> QVariant {
                const QVariant key = movements->valueAt(row, book);
                return key.isNull() ? QVariant() : QVariant(books.value(key.toInt()));
            }};
}

// The export's "CATEGORIA", "MEMBRO" and "DOCUMENTO": the category's
// description and the member's name looked up once per export.
QList<RecordFormSetup::ExportColumn> detailColumns()
{
    TableDataset *movements = DM->TBMOVIMENTACOES;
    const auto lookedUp = [movements](const QString &title, const QHash<int, QString> &names, Field *column) {
        const int index = column->index();
        return RecordFormSetup::ExportColumn{title, [names, movements, index](int row) -> QVariant {
                                                 const QVariant key = movements->valueAt(row, index);
                                                 return key.isNull() ? QVariant() : QVariant(names.value(key.toInt()));
                                             }};
    };
    const int document = DM->TBMOVIMENTACOESMOVDOCUMENTO->index();
    return {lookedUp(QStringLiteral("CATEGORIA"), CashCategories::categoryDescriptions(), DM->TBMOVIMENTACOESMOVCATEGORIA),
            lookedUp(QStringLiteral("MEMBRO"), CashCategories::memberNames(), DM->TBMOVIMENTACOESMOVMEMBRO),
            {QStringLiteral("DOCUMENTO"), [movements, document](int row) { return movements->valueAt(row, document); }}};
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
    s.saveAndNew = true;
    s.carriedColumns = {QStringLiteral("MOVLIVRO"), QStringLiteral("MOVDATA"), QStringLiteral("MOVDEBITOCREDITO")};
    s.size = QSize(637, 564);
    s.exportName = QStringLiteral("movimentacoes");
    s.exportColumns = [] { return QList<RecordFormSetup::ExportColumn>{bookDescription()}; };
    if (CashCategories::available()) {
        s.openOnShow << DM->TBCATEGORIA << DM->TBMEMBRO;
        s.size = QSize(637, 700);
        s.exportColumns = [] { return QList<RecordFormSetup::ExportColumn>{bookDescription()} + detailColumns(); };
    }
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
    btnLivro->setIconSize(Appearance::scaled(QSize(18, 18)));
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
    if (CashCategories::available())
        buildDetails();
    entryLayout()->addWidget(Edit1, 0, Qt::AlignLeft);

    setCodeBox(DBEdit1);
    addEditable({DBEdit2, DBEdit3, DBEdit4, DBEdit6, DBRadioGroup1, DBLookupComboBox1, btnLivro});
    setFirstField(DBEdit2);
    // The book list comes after the navigator, whatever its place on the page;
    // the category, the member and the document come before it.
    QList<QWidget *> order{DBEdit1, DBEdit2, DBEdit3, DBEdit4, DBEdit6, DBRadioGroup1};
    if (DBEdit5)
        order << DBLookupComboBox2 << DBLookupComboBox3 << txtBuscaMembro << DBEdit5;
    setTabChain(order << DBNavigator1 << DBLookupComboBox1 << Edit1);
    connectGuarded(btnLivro, &QToolButton::clicked, this, [this] { btnLivroClick(); });

    DBGrid1->addColumn(QStringLiteral("MOVCODIGO"), QStringLiteral("CÓDIGO"), 56);
    DBGrid1->addColumn(QStringLiteral("MOVDESCRICAO"), QStringLiteral("DESCRIÇÃO"), 230); // the five columns fit the window
    DBGrid1->addColumn(QStringLiteral("MOVVALOR"), QStringLiteral("VALOR"), 95);
    DBGrid1->addColumn(QStringLiteral("MOVDEBITOCREDITO"), QStringLiteral("ENTR/SAIDA"), 80);
    DBGrid1->addColumn(QStringLiteral("MOVDATA"), QStringLiteral("DATA"), 85);
    if (Reconciliation::available())
        buildStatementImport();
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

// Below the kind: the category, the member with the search by name, the
// document; "Recibo" among the buttons.
void TFMovimentacoes::buildDetails()
{
    QWidget *page = TabSheet1;
    DBLookupComboBox2 = new DBLookupComboBox(page);
    DBLookupComboBox2->setObjectName(QStringLiteral("DBLookupComboBox2"));
    DBLookupComboBox2->setListSource(DM->DSCATEGORIA, QStringLiteral("CATCODIGO"), QStringLiteral("CATDESCRICAO"));
    DBLookupComboBox2->setDataField(DM->DSMOVIMENTACOES, QStringLiteral("MOVCATEGORIA"));
    DBLookupComboBox3 = new DBLookupComboBox(page);
    DBLookupComboBox3->setObjectName(QStringLiteral("DBLookupComboBox3"));
    DBLookupComboBox3->setListSource(DM->DSMEMBRO, QStringLiteral("MEMCODIGO"), QStringLiteral("MEMNOME"));
    DBLookupComboBox3->setDataField(DM->DSMOVIMENTACOES, QStringLiteral("MOVMEMBRO"));
    txtBuscaMembro = new LookupSearch(DBLookupComboBox3, QStringLiteral("MEMCODIGO"), QStringLiteral("MEMNOME"), page);
    txtBuscaMembro->setObjectName(QStringLiteral("txtBuscaMembro"));
    txtBuscaMembro->setAccessibleName(QStringLiteral("BUSCA DE MEMBRO POR NOME"));
    txtBuscaMembro->setFixedWidth(Appearance::scaled(170));
    DBEdit5 = fieldBox(QStringLiteral("DBEdit5"), QStringLiteral("MOVDOCUMENTO"), 200);

    entryLayout()->addSpacing(4);
    addLabeled(QStringLiteral("Label7"), QStringLiteral("CATEGORIA"), DBLookupComboBox2);
    auto *member = new QHBoxLayout;
    member->addWidget(DBLookupComboBox3, 1);
    member->addWidget(txtBuscaMembro);
    addLabeled(QStringLiteral("Label8"), QStringLiteral("MEMBRO"), member, DBLookupComboBox3);
    addLabeled(QStringLiteral("Label9"), QStringLiteral("DOCUMENTO"), DBEdit5);
    addEditable({DBLookupComboBox2, DBLookupComboBox3, txtBuscaMembro, DBEdit5});

    btnRecibo = addButton(QStringLiteral("btnRecibo"), QStringLiteral("Recibo"), QStringLiteral("recibo"), CommandState::Browse,
                          [this] { btnReciboClick(); });
    btnRecibo->setToolTip(QStringLiteral("Recibo da entrada para o membro que a deu"));
    TableDataset *movements = DM->TBMOVIMENTACOES;
    for (auto signal : {&Dataset::currentChanged, &Dataset::recordChanged, &Dataset::rowsReset, &Dataset::stateChanged})
        connectGuarded(movements, signal, this, [this] {
            listCategoriesOfKind();
            followState();
        });
    const int kind = DM->TBMOVIMENTACOESMOVDEBITOCREDITO->index();
    connectGuarded(movements, &Dataset::fieldChanged, this, [this, kind](int column) {
        if (column == kind)
            listCategoriesOfKind();
    });
}

void TFMovimentacoes::listCategoriesOfKind()
{
    TableDataset *categories = DM->TBCATEGORIA;
    if (!categories->active() || !DM->TBMOVIMENTACOES->active())
        return;
    const QString kind = DM->TBMOVIMENTACOESMOVDEBITOCREDITO->asString();
    const LikeFilter filter = CashCategories::kindFilter(kind);
    if (categories->filter() != filter.expression() || !categories->filtered())
        categories->filterBy(filter);
    Field *category = DM->TBMOVIMENTACOESMOVCATEGORIA;
    if (DM->TBMOVIMENTACOES->editing() && !category->isNull()
        && CashCategories::kindOf(category->asInteger()) != kind)
        category->clear();
}

// "Recibo" for a stored entry that has its member.
void TFMovimentacoes::followState()
{
    RecordForm::followState();
    if (!btnRecibo)
        return;
    const bool receipt = DM->TBMOVIMENTACOES->active() && !DM->TBMOVIMENTACOES->isEmpty()
                         && !DM->TBMOVIMENTACOESMOVMEMBRO->isNull()
                         && DM->TBMOVIMENTACOESMOVDEBITOCREDITO->asString() == CashCategories::kEntry;
    QAction *recibo = command(btnRecibo);
    recibo->setEnabled(recibo->isEnabled() && receipt);
}

// A row being inserted or edited is the database's to refuse when saved.
QString TFMovimentacoes::changeRefusal() const
{
    const TableDataset *movements = table();
    if (!movements->active() || movements->isEmpty() || movements->editing())
        return {};
    return ClosedMonths::movementRefusal(DM->TBMOVIMENTACOESMOVLIVRO->value());
}

void TFMovimentacoes::btnReciboClick()
{
    auto *report = new TFRRecibo(this);
    report->setMovement(DM->TBMOVIMENTACOESMOVCODIGO->asInteger());
    report->preview();
}

// "Importar Extrato" among the buttons, for who changes the cash; the grid
// says which movements a statement line conferred.
void TFMovimentacoes::buildStatementImport()
{
    // The command "Importar Extrato" as the row of buttons has room for it.
    btnImportarExtrato = addButton(QStringLiteral("btnImportarExtrato"), QStringLiteral("Extrato"),
                                   QStringLiteral("extrato"), CommandState::BrowseChanging,
                                   [this] { btnImportarExtratoClick(); });
    btnImportarExtrato->setToolTip(QStringLiteral("Importar o extrato do banco (arquivo OFX) e conferir o livro"));
    btnImportarExtrato->setAccessibleName(QStringLiteral("Importar Extrato"));
    m_reconciled = Reconciliation::reconciledMovements();
    DBGrid1->addColumn(QStringLiteral("MOVCODIGO"), QStringLiteral("CONFERÊNCIA"), 90, [this](const QVariant &code) {
        return !code.isNull() && m_reconciled.contains(code.toInt()) ? QStringLiteral("CONFERIDO") : QString();
    });
}

std::function<QString(QWidget *)> TFMovimentacoes::chooseStatementFile = &TFMovimentacoes::statementFileDialog;

QString TFMovimentacoes::statementFileDialog(QWidget *parent)
{
    QFileDialog dialog(parent, QStringLiteral("Importar extrato bancário"), QString(),
                       QStringLiteral("Extratos OFX (*.ofx *.OFX);;Todos os arquivos (*)"));
    dialog.setObjectName(QStringLiteral("dlgExtrato"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::ExistingFile);
    return dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty() ? dialog.selectedFiles().first()
                                                                                  : QString();
}

void TFMovimentacoes::btnImportarExtratoClick()
{
    const QString path = chooseStatementFile(this);
    if (!path.isEmpty())
        openStatement(path);
}

// The file is read whole before the window opens: a bad one is said and
// nothing else happens.
void TFMovimentacoes::openStatement(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw DbError(QStringLiteral("Não foi possível abrir o arquivo %1.").arg(path));
    const QList<Ofx::Statement> statements = Ofx::read(file.readAll());
    if (statements.isEmpty())
        throw DbError(QStringLiteral("O arquivo %1 não tem nenhum extrato de conta ou de cartão.").arg(path));
    TableDataset *movements = DM->TBMOVIMENTACOES;
    QVariant book = movements->isEmpty() ? QVariant() : DM->TBMOVIMENTACOESMOVLIVRO->value();
    if (book.isNull() && !DM->TBLIVRO->isEmpty())
        book = DM->TBLIVROLIVCODIGO->value();
    FormKit::openModal<TFExtrato>(FExtrato, this, [&](TFExtrato &w) { w.setStatements(statements, book.toInt()); });
    m_reconciled = Reconciliation::reconciledMovements();
    DBGrid1->viewport()->update();
}

// The other windows see every category again.
void TFMovimentacoes::done(int result)
{
    if (btnRecibo && DM->TBCATEGORIA->active())
        DM->TBCATEGORIA->setFiltered(false);
    RecordForm::done(result);
}
