#include "ULivroCaixa.h"

#include "uikit/Appearance.h"
#include "uikit/FormKit.h"
#include "uikit/Messages.h"
#include "uikit/Today.h"
#include "datamodule/ClosedMonths.h"
#include "datamodule/UDM.h"
#include "reports/caixa/UFLivro.h"
#include "reports/caixa/URLivroCaixa.h"
#include "controls/DBEdit.h"
#include "controls/DBGrid.h"
#include "controls/DBMemo.h"
#include "controls/DBNavigator.h"
#include "dataset/DbError.h"

#include <QHBoxLayout>
#include <QAction>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>

TFLivroCaixa *FLivroCaixa = nullptr;

namespace {

RecordFormSetup setup(bool closesMonths)
{
    RecordFormSetup s;
    s.objectName = QStringLiteral("FLivroCaixa");
    s.caption = QStringLiteral("Cadastro do Livro Caixa do Mês");
    s.source = DM->DSLIVRO;
    s.codeColumn = QStringLiteral("LIVCODIGO");
    s.openOnShow = {DM->TBLIVRO};
    s.rereadOnNew = false; // the movements window shares the table: no re-read
    s.reportCaption = QStringLiteral("Relatório");
    s.capitals = true;
    s.size = QSize(629, 531);
    s.exportName = QStringLiteral("livros-caixa");
    if (closesMonths)
        s.size = QSize(629, 650); // the closing's two buttons too
    return s;
}

} // namespace

TFLivroCaixa::TFLivroCaixa(QWidget *owner) : TFLivroCaixa(owner, ClosedMonths::available()) {}

TFLivroCaixa::TFLivroCaixa(QWidget *owner, bool closesMonths) : RecordForm(owner, setup(closesMonths))
{
    QWidget *page = TabSheet1;
    DBEdit1 = fieldBox(QStringLiteral("DBEdit1"), QStringLiteral("LIVCODIGO"), 80);
    DBEdit2 = fieldBox(QStringLiteral("DBEdit2"), QStringLiteral("LIVMES"), 40);
    DBEdit3 = fieldBox(QStringLiteral("DBEdit3"), QStringLiteral("LIVNOMEMES"), 160);
    DBEdit3->setCharCase(DBEdit::CharCase::Normal); // never typed: shown as stored, "Março"
    DBEdit3->setAccessibleName(QStringLiteral("NOME DO MÊS"));
    DBEdit4 = fieldBox(QStringLiteral("DBEdit4"), QStringLiteral("LIVANO"), 80);
    DBEdit5 = fieldBox(QStringLiteral("DBEdit5"), QStringLiteral("LIVDESCRICAO"));
    DBMemo1 = new DBMemo(DM->DSLIVRO, QStringLiteral("LIVOBSERVACAO"), page);
    DBMemo1->setObjectName(QStringLiteral("DBMemo1"));
    DBMemo1->setFixedHeight(Appearance::scaled(110));

    addLabeled(QStringLiteral("Label1"), QStringLiteral("CODIGO"), DBEdit1);
    auto *month = new QHBoxLayout;
    month->addWidget(DBEdit2);
    month->addWidget(DBEdit3);
    month->addStretch();
    addLabeled(QStringLiteral("Label2"), QStringLiteral("MÊS"), month, DBEdit2);
    addLabeled(QStringLiteral("Label3"), QStringLiteral("ANO"), DBEdit4);
    addLabeled(QStringLiteral("Label4"), QStringLiteral("DESCRIÇÃO"), DBEdit5);
    addLabeled(QStringLiteral("Label5"), QStringLiteral("OBSERVAÇÃO"), DBMemo1);

    setCodeBox(DBEdit1);
    setAlwaysReadOnly(DBEdit3); // the month's number gives it
    addEditable({DBEdit2, DBEdit4, DBEdit5, DBMemo1});
    setFirstField(DBEdit2);
    addFieldKeys(DBMemo1); // as the boxes: the note is one running text
    setTabChain({DBEdit1, DBEdit2, DBEdit3, DBEdit4, DBEdit5, DBMemo1, DBNavigator1});
    FormKit::onExit(DBEdit2, [this] { DBEdit2Exit(); });

    if (closesMonths)
        buildClosing();

    DBGrid1->addColumn(QStringLiteral("LIVNOMEMES"), QStringLiteral("MÊS"), 100);
    DBGrid1->addColumn(QStringLiteral("LIVANO"), QStringLiteral("ANO"), 60);
    DBGrid1->addColumn(QStringLiteral("LIVDESCRICAO"), QStringLiteral("DESCRIÇÃO"), 364);
    finishLayout();
}

QString TFLivroCaixa::monthName(int month)
{
    return ClosedMonths::monthName(month);
}

// Any other number leaves the name as it is, without a word.
void TFLivroCaixa::DBEdit2Exit()
{
    if (!DM->TBLIVRO->editing())
        return;
    DBEdit2->updateRecord(); // the box hands its number over only after this
    const QString name = monthName(DM->TBLIVROLIVMES->asInteger());
    if (!name.isEmpty())
        DM->TBLIVROLIVNOMEMES->setAsString(name);
}

// Saved while the focus is still in the month box (F5, or a click on the
// button, which takes no focus), the name would not match the number.
void TFLivroCaixa::btnSalvarClick()
{
    DBEdit2Exit();
    RecordForm::btnSalvarClick();
}

void TFLivroCaixa::btnRelatorioClick()
{
    FormKit::openModal(FFLivro, this);
}

// The closing's line below the note, and its two commands.
void TFLivroCaixa::buildClosing()
{
    lblFechamento = FormKit::captionLabel(TabSheet1, QStringLiteral("lblFechamento"), QString(), nullptr, 0, true);
    lblFechamento->setAccessibleName(QStringLiteral("SITUAÇÃO DO MÊS"));
    entryLayout()->addWidget(lblFechamento);
    btnFecharMes = addButton(QStringLiteral("btnFecharMes"), QStringLiteral("Fechar Mês"), QStringLiteral("fechar_mes"),
                             CommandState::BrowseChanging, [this] { btnFecharMesClick(); });
    btnFecharMes->setToolTip(QStringLiteral("Fecha o mês do livro: grava os saldos, e nada dele muda depois"));
    btnReabrirMes = addButton(QStringLiteral("btnReabrirMes"), QStringLiteral("Reabrir Mês"),
                              QStringLiteral("reabrir_mes"), CommandState::BrowseChanging, [this] { btnReabrirMesClick(); });
    btnReabrirMes->setToolTip(QStringLiteral("Reabre o último mês fechado, com o motivo"));
    connect(table(), &Dataset::currentChanged, this, &TFLivroCaixa::followState);
    connect(table(), &Dataset::rowsReset, this, &TFLivroCaixa::followState);
}

QVariant TFLivroCaixa::currentBook() const
{
    return table()->active() && !table()->isEmpty() ? DM->TBLIVROLIVCODIGO->value() : QVariant();
}

// A closed book shows when and by whom it was closed and may only be
// reopened; an open one may only be closed.
void TFLivroCaixa::followState()
{
    RecordForm::followState();
    if (!btnFecharMes)
        return;
    const QVariant book = currentBook();
    const std::optional<ClosedMonths::Closing> closing =
        table()->editing() ? std::nullopt : ClosedMonths::closingOf(book);
    lblFechamento->setText(book.isNull() || table()->editing() ? QString()
                           : closing                           ? ClosedMonths::footLine(*closing)
                                                               : QStringLiteral("Mês em aberto"));
    QAction *close = command(btnFecharMes), *reopen = command(btnReabrirMes);
    close->setEnabled(close->isEnabled() && !book.isNull() && !closing);
    reopen->setEnabled(reopen->isEnabled() && closing.has_value());
}

QString TFLivroCaixa::changeRefusal() const
{
    return ClosedMonths::bookRefusal(currentBook());
}

void TFLivroCaixa::btnFecharMesClick()
{
    const int book = currentBook().toInt();
    if (const QString refusal = ClosedMonths::closingRefusal(book); !refusal.isEmpty())
        throw DbError(refusal);
    const QString label = ClosedMonths::bookLabel(book);
    if (!Messages::question(QStringLiteral("Fechar o mês do livro %1? Os saldos dele são gravados, e depois nenhum "
                                           "lançamento dele pode ser incluído, alterado ou excluído, em nenhum "
                                           "computador, até que o mês seja reaberto.")
                                .arg(label)))
        return;
    ClosedMonths::close(book, Today::date());
    Messages::information(QStringLiteral("O mês do livro %1 foi fechado: saldo anterior R$ %2, saldo atual R$ %3.")
                              .arg(label, TFRLivroCaixa::formatAmount(DM->TBLIVROLIVSALDOANTERIOR->asFloat()),
                                   TFRLivroCaixa::formatAmount(DM->TBLIVROLIVSALDOATUAL->asFloat())));
    followState();
}

void TFLivroCaixa::btnReabrirMesClick()
{
    const int book = currentBook().toInt();
    if (const QString refusal = ClosedMonths::reopeningRefusal(book); !refusal.isEmpty())
        throw DbError(refusal);
    const std::optional<QString> reason = Messages::typedAnswer(
        QStringLiteral("Por que o mês do livro %1 é reaberto? O motivo fica no histórico de alterações.")
            .arg(ClosedMonths::bookLabel(book)));
    if (!reason)
        return;
    ClosedMonths::reopen(book, *reason);
    followState();
}
