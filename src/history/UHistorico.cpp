#include "UHistorico.h"

#include "ChangeLogLines.h"
#include "URHistorico.h"

#include "datamodule/Schema.h"
#include "datamodule/Session.h"
#include "datamodule/UDM.h"
#include "dataset/DbError.h"
#include "dataset/TableProvider.h"
#include "recordform/RecordForm.h"
#include "uikit/CsvExport.h"
#include "uikit/ErrorGuard.h"
#include "uikit/FormKit.h"
#include "uikit/Messages.h"
#include "uikit/Today.h"

#include <QAbstractTableModel>
#include <QComboBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QShowEvent>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

#include <limits>

TFHistorico *FHistorico = nullptr;

// The lines read, as the grid shows them.
class ChangeLogModel : public QAbstractTableModel
{
public:
    using QAbstractTableModel::QAbstractTableModel;

    const QList<ChangeLog::Entry> &entries() const { return m_entries; }
    void setEntries(QList<ChangeLog::Entry> entries)
    {
        beginResetModel();
        m_entries = std::move(entries);
        endResetModel();
    }

    int rowCount(const QModelIndex &parent = {}) const override { return parent.isValid() ? 0 : int(m_entries.size()); }
    int columnCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : int(ChangeLogLines::titles().size());
    }
    QVariant data(const QModelIndex &index, int role) const override
    {
        if (role != Qt::DisplayRole && role != Qt::ToolTipRole)
            return {};
        return ChangeLogLines::cells(m_entries.at(index.row())).at(index.column()).toString();
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
            return QAbstractTableModel::headerData(section, orientation, role);
        return ChangeLogLines::titles().at(section);
    }

private:
    QList<ChangeLog::Entry> m_entries;
};

namespace {

const QString kEveryAccount = QStringLiteral("(todas)");
const QString kEveryRegister = QStringLiteral("(todos)");
constexpr int kDaysShown = 30; // the last month, when the window opens

QString dayText(const QDate &date)
{
    return date.toString(QStringLiteral("dd/MM/yyyy"));
}

bool blank(const QLineEdit *box)
{
    return !box->text().contains(QRegularExpression(QStringLiteral("\\d")));
}

} // namespace

TFHistorico::TFHistorico(QWidget *owner)
    : ReportFilter(owner, QStringLiteral("FHistorico"), QStringLiteral("Histórico de Alterações"), QSize(980, 600)),
      m_model(new ChangeLogModel(this))
{
    setMinimumSize(760, 420); // a grid to widen, not a small filter
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    setWindowFlags(windowFlags() | Qt::WindowMaximizeButtonHint);
    buildFilters();
    layOut();
    const QDate today = Today::date();
    txtDataInicial->setText(dayText(today.addDays(-kDaysShown)));
    txtDataFinal->setText(dayText(today));
}

TFHistorico::~TFHistorico() = default;

void TFHistorico::buildFilters()
{
    txtDataInicial = addDateBox(QStringLiteral("txtDataInicial"));
    txtDataFinal = addDateBox(QStringLiteral("txtDataFinal"));
    cmbConta = new QComboBox(this);
    cmbConta->setObjectName(QStringLiteral("cmbConta"));
    cmbConta->setEditable(true); // an account deleted since, typed by its name
    cmbCadastro = new QComboBox(this);
    cmbCadastro->setObjectName(QStringLiteral("cmbCadastro"));
    cmbCadastro->addItem(kEveryRegister);
    for (const ChangeLog::Register &r : ChangeLog::registers())
        cmbCadastro->addItem(r.caption, r.table);
    txtCodigo = FormKit::textBox(this, QStringLiteral("txtCodigo"));
    txtCodigo->setValidator(new QIntValidator(0, std::numeric_limits<int>::max(), txtCodigo));
    txtCodigo->setFixedWidth(90);
    btnBuscar = FormKit::pictureButton(this, QStringLiteral("btnBuscar"), QStringLiteral("Buscar"),
                                       QStringLiteral(":/icons/buscar.svg"), false);
    btnImprimir = addGenerateButton(QStringLiteral("btnImprimir"), [this] { btnImprimirClick(); });
    btnImprimir->setText(QStringLiteral("Imprimir"));
    btnImprimir->setIcon(QIcon(QStringLiteral(":/icons/imprimir.svg")));
    btnExportar = addGenerateButton(QStringLiteral("btnExportar"), [this] { btnExportarClick(); });
    btnExportar->setText(QStringLiteral("Exportar"));
    btnExportar->setIcon(QIcon(QStringLiteral(":/icons/exportar.svg")));
    btnExportar->setToolTip(QStringLiteral("Salva as linhas da consulta em uma planilha (CSV)"));
    for (QToolButton *b : {btnBuscar, btnImprimir, btnExportar, btnSair})
        b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    connectGuarded(btnBuscar, &QToolButton::clicked, this, [this] { btnBuscarClick(); });
    FormKit::boxKeys(txtCodigo, [this] { btnBuscarClick(); }, [this] { btnSair->click(); });

    gridAlteracoes = new QTableView(this);
    gridAlteracoes->setObjectName(QStringLiteral("gridAlteracoes"));
    gridAlteracoes->setAccessibleName(QStringLiteral("Alterações"));
    gridAlteracoes->setModel(m_model);
    gridAlteracoes->setSelectionBehavior(QAbstractItemView::SelectRows);
    gridAlteracoes->setEditTriggers(QAbstractItemView::NoEditTriggers);
    gridAlteracoes->setWordWrap(false);
    gridAlteracoes->verticalHeader()->hide();
    gridAlteracoes->verticalHeader()->setDefaultSectionSize(gridAlteracoes->fontMetrics().height() + 8);
    gridAlteracoes->horizontalHeader()->setStretchLastSection(true);
    int column = 0;
    for (int width : {150, 130, 110, 110, 60, 110})
        gridAlteracoes->setColumnWidth(column++, width);
    lblTotal = FormKit::captionLabel(this, QStringLiteral("lblTotal"), QString(), nullptr);
}

void TFHistorico::layOut()
{
    const auto caption = [this](const char *name, const QString &text, QWidget *box) {
        return FormKit::captionLabel(this, QString::fromLatin1(name), text, box, 0, true);
    };
    auto *filters = new QGridLayout;
    filters->addWidget(caption("Label1", QStringLiteral("PERÍODO DE: "), txtDataInicial), 0, 0);
    auto *period = new QHBoxLayout;
    period->addWidget(txtDataInicial);
    period->addWidget(caption("Label2", QStringLiteral(" A "), txtDataFinal));
    period->addWidget(txtDataFinal);
    period->addStretch();
    filters->addLayout(period, 0, 1);
    filters->addWidget(caption("Label3", QStringLiteral("CONTA: "), cmbConta), 0, 2);
    filters->addWidget(cmbConta, 0, 3);
    filters->addWidget(caption("Label4", QStringLiteral("CADASTRO: "), cmbCadastro), 1, 0);
    filters->addWidget(cmbCadastro, 1, 1);
    filters->addWidget(caption("Label5", QStringLiteral("CÓDIGO: "), txtCodigo), 1, 2);
    auto *code = new QHBoxLayout;
    code->addWidget(txtCodigo);
    code->addStretch();
    code->addWidget(btnBuscar);
    filters->addLayout(code, 1, 3);
    filters->setColumnStretch(3, 1);

    auto *foot = new QHBoxLayout;
    foot->addWidget(lblTotal, 1);
    for (QToolButton *b : {btnImprimir, btnExportar, btnSair})
        foot->addWidget(b);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 10);
    layout->addLayout(filters);
    layout->addWidget(gridAlteracoes, 1);
    layout->addLayout(foot);
    FormKit::tabChain({txtDataInicial, txtDataFinal, cmbConta, cmbCadastro, txtCodigo, gridAlteracoes});
}

void TFHistorico::showEvent(QShowEvent *event)
{
    ReportFilter::showEvent(event);
    if (event->spontaneous())
        return;
    FormKit::centreOnScreen(this);
    runGuarded([this] { FormShow(); });
}

void TFHistorico::FormShow()
{
    listAccounts();
    btnBuscarClick();
    txtDataInicial->setFocus();
}

// Every account by its user name, then the changes made outside the program.
void TFHistorico::listAccounts()
{
    const QString typed = cmbConta->currentText();
    cmbConta->clear();
    cmbConta->addItem(kEveryAccount);
    TableDataset *accounts = DM->TBUSUARIO;
    accounts->provider()->openSource();
    accounts->open();
    QStringList names;
    for (int row = 0; row < accounts->allRowCount(); ++row)
        names << accounts->allRowValue(row, DM->TBUSUARIOUSULOGIN->index()).toString();
    names.sort(Qt::CaseInsensitive);
    cmbConta->addItems(names);
    cmbConta->addItem(ChangeLog::kOutsideProgram);
    cmbConta->setCurrentText(typed.isEmpty() ? kEveryAccount : typed);
}

void TFHistorico::showRecord(const QString &table, const QVariant &code)
{
    cmbCadastro->setCurrentIndex(qMax(0, cmbCadastro->findData(table)));
    txtCodigo->setText(code.isNull() ? QString() : QString::number(code.toInt()));
    txtDataInicial->clear();
    txtDataFinal->clear();
}

const QList<ChangeLog::Entry> &TFHistorico::entries() const
{
    return m_model->entries();
}

ChangeLog::Filter TFHistorico::filter() const
{
    ChangeLog::Filter f;
    f.from = blank(txtDataInicial) ? QDate() : dateIn(txtDataInicial);
    f.to = blank(txtDataFinal) ? QDate() : dateIn(txtDataFinal);
    const QString account = cmbConta->currentText().trimmed();
    f.account = account == kEveryAccount ? QString() : account;
    f.table = cmbCadastro->currentData().toString();
    if (!txtCodigo->text().isEmpty())
        f.row = txtCodigo->text().toInt();
    return f;
}

void TFHistorico::btnBuscarClick()
{
    const ChangeLog::Filter f = filter();
    if (f.from.isValid() && f.to.isValid() && f.to < f.from)
        throw DbError(QStringLiteral("A data final do período é anterior à inicial."));
    m_model->setEntries(ChangeLog::read(DM->SQLConnection1(), f));
    m_shown = f;
    const int n = int(entries().size());
    QString total = n == 1 ? QStringLiteral("1 alteração") : QStringLiteral("%1 alterações").arg(n);
    if (n >= ChangeLog::kMostRead)
        total += QStringLiteral(", as mais recentes do filtro: estreite o período para ver as anteriores");
    lblTotal->setText(total + u'.');
}

void TFHistorico::btnImprimirClick()
{
    auto *report = new TFRHistorico(this);
    report->setEntries(entries(), m_shown);
    report->preview();
}

void TFHistorico::btnExportarClick()
{
    const QString path = RecordForm::chooseExportFile(
        this, QStringLiteral("historico-%1.csv").arg(Today::date().toString(QStringLiteral("yyyy-MM-dd"))));
    if (path.isEmpty())
        return;
    const QList<ChangeLog::Entry> &lines = entries();
    CsvExport::write(path, ChangeLogLines::titles(), int(lines.size()),
                     [&lines](int row) { return ChangeLogLines::cells(lines.at(row)); });
    Messages::information(CsvExport::saved(path, int(lines.size())));
}

void TFHistorico::offerToRegisters()
{
    RecordForm::history.offered = [] { return Session::access(Area::History) != Access::None && ChangeLog::available(); };
    RecordForm::history.show = [](QWidget *owner, const QString &stem, const QVariant &code) {
        FormKit::openModal<TFHistorico>(FHistorico, owner, [&](TFHistorico &window) {
            window.showRecord(Schema::table(stem).table, code);
        });
    };
}
