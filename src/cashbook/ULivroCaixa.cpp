#include "ULivroCaixa.h"

#include "uikit/Appearance.h"
#include "uikit/FormKit.h"
#include "datamodule/UDM.h"
#include "reports/caixa/UFLivro.h"
#include "controls/DBEdit.h"
#include "controls/DBGrid.h"
#include "controls/DBMemo.h"
#include "controls/DBNavigator.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

TFLivroCaixa *FLivroCaixa = nullptr;

namespace {

RecordFormSetup setup()
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
    return s;
}

} // namespace

TFLivroCaixa::TFLivroCaixa(QWidget *owner) : RecordForm(owner, setup())
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

    DBGrid1->addColumn(QStringLiteral("LIVNOMEMES"), QStringLiteral("MÊS"), 100);
    DBGrid1->addColumn(QStringLiteral("LIVANO"), QStringLiteral("ANO"), 60);
    DBGrid1->addColumn(QStringLiteral("LIVDESCRICAO"), QStringLiteral("DESCRIÇÃO"), 364);
    finishLayout();
}

QString TFLivroCaixa::monthName(int month)
{
    static const char *const names[] = {"Janeiro", "Fevereiro", "Março",    "Abril",   "Maio",     "Junho",
                                        "Julho",   "Agosto",    "Setembro", "Outubro", "Novembro", "Dezembro"};
    return month >= 1 && month <= 12 ? QString::fromUtf8(names[month - 1]) : QString();
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
