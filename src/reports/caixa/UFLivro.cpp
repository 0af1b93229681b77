#include "UFLivro.h"

#include "URLivroCaixa.h"
#include "URPrestacaoContas.h"

#include "uikit/Appearance.h"
#include "uikit/ErrorGuard.h"
#include "uikit/FormKit.h"
#include "uikit/Messages.h"
#include "datamodule/CashCategories.h"
#include "datamodule/UDM.h"
#include "controls/DBLookupComboBox.h"
#include "provider/QueryDataset.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

TFFLivro *FFLivro = nullptr;

TFFLivro::TFFLivro(QWidget *owner)
    : ReportFilter(owner, QStringLiteral("FFLivro"), QStringLiteral("Filtro de Relatório de Livro Caixa"), QSize(360, 287))
{
    setWindowFlags(windowFlags() | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint);
    buildControls();
}

void TFFLivro::buildControls()
{
    DBLookupComboBox1 = addRowList(DM->DSLIVRO, QStringLiteral("LIVCODIGO"), QStringLiteral("LIVDESCRICAO"));
    txtMes = FormKit::textBox(this, QStringLiteral("txtMes"));
    txtAno = FormKit::textBox(this, QStringLiteral("txtAno"));
    for (QLineEdit *box : {txtMes, txtAno})
        box->setReadOnly(true);
    Label1 = FormKit::captionLabel(this, QStringLiteral("Label1"), QStringLiteral("LIVRO CAIXA"), DBLookupComboBox1, 0, true);
    Label2 = FormKit::captionLabel(this, QStringLiteral("Label2"), QStringLiteral("MÊS"), txtMes, 0, true);
    Label3 = FormKit::captionLabel(this, QStringLiteral("Label3"), QStringLiteral("ANO"), txtAno, 0, true);
    btnGerar = addGenerateButton(QStringLiteral("btnGerar"), [this] { btnGerarClick(); });
    if (CashCategories::available()) {
        btnPrestacao = addGenerateButton(QStringLiteral("btnPrestacao"), [this] { btnPrestacaoClick(); });
        btnPrestacao->setText(QStringLiteral("Prestação de Contas"));
        btnPrestacao->setIcon(QIcon(QStringLiteral(":/icons/prestacao.svg")));
        setFixedSize(Appearance::scaled(460), height()); // three buttons side by side
    }

    auto *grid = new QGridLayout;
    grid->addWidget(Label1, 0, 0, 1, 2);
    grid->addWidget(DBLookupComboBox1, 1, 0, 1, 2);
    grid->addWidget(Label2, 2, 0);
    grid->addWidget(Label3, 2, 1);
    grid->addWidget(txtMes, 3, 0);
    grid->addWidget(txtAno, 3, 1);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 20, 24, 16);
    layout->addLayout(grid);
    layout->addStretch();
    layout->addLayout(btnPrestacao ? FormKit::centredRow({btnGerar, btnPrestacao, btnSair}) : buttonRow(btnGerar));
    FormKit::tabChain({DBLookupComboBox1, txtMes, txtAno});

    FormKit::onExit(DBLookupComboBox1, [this] { DBLookupComboBox1Exit(); });
    // A choice made with the mouse, followed by a click on "Gerar Relatório"
    // (which takes no focus), shows the month and year as well.
    connectGuarded(DBLookupComboBox1, &QComboBox::activated, this, [this] { DBLookupComboBox1Exit(); });
}

void TFFLivro::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    FormKit::centreOnScreen(this);
    runGuarded([this] { FormShow(); });
}

void TFFLivro::FormShow()
{
    for (TableDataset *table : {DM->TBLIVRO, DM->TBMOVIMENTACOES}) {
        table->provider()->openSource();
        table->open();
    }
}

void TFFLivro::DBLookupComboBox1Exit()
{
    if (DM->TBLIVRO->isEmpty())
        return;
    txtMes->setText(DM->TBLIVROLIVNOMEMES->asString());
    txtAno->setText(DM->TBLIVROLIVANO->asString());
}

void TFFLivro::btnGerarClick()
{
    const QVariant book = DBLookupComboBox1->keyValue();
    if (book.isNull()) {
        Messages::information(QStringLiteral("Escolha o livro caixa."));
        return;
    }
    auto *report = new TFRLivroCaixa(this);
    report->setBook(book.toInt(), DBLookupComboBox1->currentText());
    report->previewWith(report->QLivro, TFRLivroCaixa::kSql, {book.toInt()});
}

void TFFLivro::btnPrestacaoClick()
{
    const QVariant book = DBLookupComboBox1->keyValue();
    if (book.isNull()) {
        Messages::information(QStringLiteral("Escolha o livro caixa."));
        return;
    }
    auto *report = new TFRPrestacaoContas(this);
    report->setBook(book.toInt(), DBLookupComboBox1->currentText());
    report->preview();
}
