// The page "Rol" of the members register: the member's place on the
// church's roll, the consent to keep their data, and the roll's history.
#include "UMembro.h"

#include "controls/DBComboBox.h"
#include "controls/DBEdit.h"
#include "datamodule/MemberData.h"
#include "datamodule/Roll.h"
#include "datamodule/Session.h"
#include "datamodule/UDM.h"
#include "dataset/DbError.h"
#include "dataset/Field.h"
#include "dataset/TableDataset.h"
#include "reports/cadastros/URDadosMembro.h"
#include "uikit/Appearance.h"
#include "uikit/ErrorGuard.h"
#include "uikit/FormKit.h"
#include "uikit/Messages.h"
#include "uikit/Today.h"

#include <QPushButton>

#include <QDialog>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QHBoxLayout *rowOf(QWidget *page, int &label, std::initializer_list<std::pair<QString, QWidget *>> cells)
{
    auto *r = new QHBoxLayout;
    r->setSpacing(8);
    for (const auto &[caption, control] : cells) {
        QVBoxLayout *box = FormKit::captionAbove(page, QStringLiteral("Label%1").arg(label++), caption, control);
        box->setSpacing(1);
        r->addLayout(box);
    }
    r->addStretch();
    return r;
}

// The user's row of the history: what, its reference and a note, dated today.
std::optional<Roll::HistoryRow> askHistoryRow(QWidget *owner)
{
    QDialog dialog(owner);
    dialog.setObjectName(QStringLiteral("FHistoricoRol"));
    dialog.setWindowTitle(QStringLiteral("Acrescentar ao Histórico do Rol"));
    auto *what = new QLineEdit(&dialog), *reference = new QLineEdit(&dialog), *note = new QLineEdit(&dialog);
    what->setObjectName(QStringLiteral("txtDescricao"));
    reference->setObjectName(QStringLiteral("txtReferencia"));
    note->setObjectName(QStringLiteral("txtObservacao"));
    what->setMaxLength(100);
    reference->setMaxLength(60);
    note->setMaxLength(250);
    auto *layout = new QVBoxLayout(&dialog);
    int label = 1;
    for (const auto &[caption, box] : {std::pair<QString, QLineEdit *>{QStringLiteral("O QUE"), what},
                                       {QStringLiteral("REFERÊNCIA (ex.: ata da reunião)"), reference},
                                       {QStringLiteral("OBSERVAÇÃO"), note}}) {
        box->setMinimumWidth(Appearance::scaled(420));
        layout->addWidget(FormKit::captionLabel(&dialog, QStringLiteral("Label%1").arg(label++), caption, box));
        layout->addWidget(box);
    }
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("Gravar"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Cancelar"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, [&] {
        if (what->text().trimmed().isEmpty())
            Messages::information(QStringLiteral("Diga o que aconteceu no campo O QUE."));
        else
            dialog.accept();
    });
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return Roll::HistoryRow{Today::date(), what->text().trimmed().toUpper(), reference->text().trimmed().toUpper(),
                            note->text().trimmed().toUpper()};
}

} // namespace

std::function<std::optional<Roll::HistoryRow>(QWidget *)> TFMembro::chooseHistoryRow = &askHistoryRow;

void TFMembro::buildRollPage()
{
    TabRol = new QWidget;
    TabRol->setObjectName(QStringLiteral("TabRol"));
    TabRol->setFont(Appearance::font(QStringLiteral("Arial"), 9));
    PageControl1->addTab(TabRol, QStringLiteral("Rol")); // after Consulta: the pattern knows its two pages by index
    QWidget *page = TabRol;
    const auto list = [this](const char *name, const char *column, const QStringList &items, int width) {
        DBComboBox *box = listBox(QString::fromLatin1(name), QString::fromLatin1(column), items, width);
        box->setEditable(false); // one of the choices, or none
        return box;
    };
    const auto edit = [this](const char *name, const char *column, int width) {
        return fieldBox(QString::fromLatin1(name), QString::fromLatin1(column), width);
    };
    cbSituacao = list("cbSituacao", "MEMSITUACAO", Roll::kSituations, 150);
    DBEditNumRol = edit("DBEditNumRol", "MEMNUMROL", 90);
    DBEditAdmissao = edit("DBEditAdmissao", "MEMDATAADMISSAO", 110);
    cbFormaAdmissao = list("cbFormaAdmissao", "MEMFORMAADMISSAO", QStringList{QString()} + Roll::kAdmissions, 160);
    DBEditIgrejaOrigem = edit("DBEditIgrejaOrigem", "MEMIGREJAORIGEM", 330);
    DBEditBatismo = edit("DBEditBatismo", "MEMDATABATISMO", 110);
    DBEditSaida = edit("DBEditSaida", "MEMDATASAIDA", 110);
    cbMotivoSaida = list("cbMotivoSaida", "MEMMOTIVOSAIDA", QStringList{QString()} + Roll::kExits, 160);
    DBEditIgrejaDestino = edit("DBEditIgrejaDestino", "MEMIGREJADESTINO", 330);
    DBEditConsentimento = edit("DBEditConsentimento", "MEMCONSENTIMENTO", 110);
    DBEditFinalidade = edit("DBEditFinalidade", "MEMFINALIDADE", 560);
    DBEditConsentidoPor = edit("DBEditConsentidoPor", "MEMCONSENTIDOPOR", 200);
    DBEditResponsavel = edit("DBEditResponsavel", "MEMRESPONSAVEL", 330);
    DBEditRevogacao = edit("DBEditRevogacao", "MEMREVOGACAO", 110);

    auto *layout = new QVBoxLayout(page);
    int label = 40;
    layout->addLayout(rowOf(page, label, {{QStringLiteral("SITUAÇÃO"), cbSituacao},
                                          {QStringLiteral("Nº DO ROL"), DBEditNumRol},
                                          {QStringLiteral("DATA DE BATISMO"), DBEditBatismo}}));
    layout->addLayout(rowOf(page, label, {{QStringLiteral("DATA DE ADMISSÃO"), DBEditAdmissao},
                                          {QStringLiteral("FORMA DE ADMISSÃO"), cbFormaAdmissao},
                                          {QStringLiteral("IGREJA DE ORIGEM"), DBEditIgrejaOrigem}}));
    layout->addLayout(rowOf(page, label, {{QStringLiteral("DATA DE SAÍDA"), DBEditSaida},
                                          {QStringLiteral("MOTIVO DA SAÍDA"), cbMotivoSaida},
                                          {QStringLiteral("IGREJA DE DESTINO"), DBEditIgrejaDestino}}));

    GroupConsentimento = new QGroupBox(QStringLiteral("Consentimento"), page);
    GroupConsentimento->setObjectName(QStringLiteral("GroupConsentimento"));
    auto *consent = new QVBoxLayout(GroupConsentimento);
    consent->addLayout(rowOf(GroupConsentimento, label,
                             {{QStringLiteral("DATA DO CONSENTIMENTO"), DBEditConsentimento},
                              {QStringLiteral("REGISTRADO POR"), DBEditConsentidoPor},
                              {QStringLiteral("DATA DA REVOGAÇÃO"), DBEditRevogacao}}));
    consent->addLayout(rowOf(GroupConsentimento, label, {{QStringLiteral("FINALIDADE"), DBEditFinalidade}}));
    consent->addLayout(rowOf(GroupConsentimento, label,
                             {{QStringLiteral("RESPONSÁVEL (MEMBRO MENOR DE IDADE)"), DBEditResponsavel}}));
    consent->addLayout(buildDataRights(GroupConsentimento));
    layout->addWidget(GroupConsentimento);

    gridHistorico = new QTableWidget(0, 4, page);
    gridHistorico->setObjectName(QStringLiteral("gridHistorico"));
    gridHistorico->setHorizontalHeaderLabels(
        {QStringLiteral("DATA"), QStringLiteral("O QUE"), QStringLiteral("REFERÊNCIA"), QStringLiteral("OBSERVAÇÃO")});
    gridHistorico->setEditTriggers(QAbstractItemView::NoEditTriggers);
    gridHistorico->setSelectionBehavior(QAbstractItemView::SelectRows);
    gridHistorico->verticalHeader()->hide();
    gridHistorico->horizontalHeader()->setStretchLastSection(true);
    for (int c = 0; c < 3; ++c)
        gridHistorico->setColumnWidth(c, Appearance::scaled(QList<int>{90, 260, 160}[c]));
    btnAcrescentarHistorico = new QToolButton(page);
    btnAcrescentarHistorico->setObjectName(QStringLiteral("btnAcrescentarHistorico"));
    btnAcrescentarHistorico->setText(QStringLiteral("Acrescentar ao Histórico"));
    btnAcrescentarHistorico->setFocusPolicy(Qt::NoFocus);
    auto *historyTitle = new QHBoxLayout;
    historyTitle->addWidget(FormKit::captionLabel(page, QStringLiteral("LabelHistorico"),
                                                  QStringLiteral("HISTÓRICO NO ROL"), gridHistorico, 0, true));
    historyTitle->addStretch();
    historyTitle->addWidget(btnAcrescentarHistorico);
    layout->addLayout(historyTitle);
    layout->addWidget(gridHistorico, 1);

    for (QWidget *w : std::initializer_list<QWidget *>{
             cbSituacao, DBEditNumRol, DBEditBatismo, DBEditAdmissao, cbFormaAdmissao, DBEditIgrejaOrigem, DBEditSaida,
             cbMotivoSaida, DBEditIgrejaDestino, DBEditConsentimento, DBEditRevogacao, DBEditFinalidade,
             DBEditResponsavel})
        addEditable(w);
    setAlwaysReadOnly(DBEditConsentidoPor);
    followRoll();
}

// What the member may ask for: the data kept about them, printed, and
// their personal data erased, for the Administrador, on a database that
// records an anonymisation.
QLayout *TFMembro::buildDataRights(QWidget *page)
{
    btnDadosMembro = new QPushButton(QStringLiteral("Dados do Membro"), page);
    btnDadosMembro->setObjectName(QStringLiteral("btnDadosMembro"));
    btnDadosMembro->setToolTip(QStringLiteral("Imprime tudo o que a igreja guarda sobre o membro, para lhe entregar "
                                              "quando ele pedir"));
    btnAnonimizar = new QPushButton(QStringLiteral("Anonimizar"), page);
    btnAnonimizar->setObjectName(QStringLiteral("btnAnonimizar"));
    btnAnonimizar->setToolTip(QStringLiteral("Apaga os dados pessoais do membro que pedir, mantendo a situação, as "
                                             "datas do rol e as movimentações do caixa"));
    const std::optional<Account> &account = Session::current();
    btnAnonimizar->setVisible(account && account->profile == Profile::Administrador
                              && MemberData::anonymisationAvailable());
    connectGuarded(btnDadosMembro, &QPushButton::clicked, this, [this] { btnDadosMembroClick(); });
    connectGuarded(btnAnonimizar, &QPushButton::clicked, this, [this] { btnAnonimizarClick(); });
    auto *row = new QHBoxLayout;
    row->addWidget(btnDadosMembro);
    row->addWidget(btnAnonimizar);
    row->addStretch();
    return row;
}

// The history follows the current member while the page is shown; who
// recorded the consent is the account signed in when its date is typed.
void TFMembro::followRoll()
{
    TableDataset *members = DM->TBMEMBRO;
    const auto refresh = [this] {
        if (PageControl1->currentWidget() == TabRol)
            refreshHistory();
    };
    connect(members, &Dataset::currentChanged, this, refresh);
    connect(members, &Dataset::stateChanged, this, refresh);
    connect(PageControl1, &QTabWidget::currentChanged, this, refresh);
    // The consent's date as the row had it when its edit began.
    connect(members, &Dataset::stateChanged, this, [this, members] {
        if (members->editing() && !m_editingRoll)
            m_consentAtEdit = DM->TBMEMBROMEMCONSENTIMENTO->value();
        m_editingRoll = members->editing();
    });
    const int consentDate = DM->TBMEMBROMEMCONSENTIMENTO->index();
    connect(members, &Dataset::fieldChanged, this, [this, consentDate](int column) {
        Field *date = DM->TBMEMBROMEMCONSENTIMENTO;
        if (column == consentDate && Session::current() && date->value() != m_consentAtEdit)
            DM->TBMEMBROMEMCONSENTIDOPOR->setAsString(Session::current()->userName);
    });
    connectGuarded(btnAcrescentarHistorico, &QToolButton::clicked, this, [this] { btnAcrescentarHistoricoClick(); });
}

void TFMembro::refreshHistory()
{
    TableDataset *members = DM->TBMEMBRO;
    const bool stored = members->active() && !members->isEmpty() && members->state() != Dataset::State::Insert;
    const QList<Roll::HistoryRow> rows = stored ? Roll::history(DM->TBMEMBROMEMCODIGO->asInteger())
                                                : QList<Roll::HistoryRow>{};
    gridHistorico->setRowCount(int(rows.size()));
    for (int r = 0; r < rows.size(); ++r) {
        const Roll::HistoryRow &h = rows[r];
        const QStringList cells{h.date.toString(QStringLiteral("dd/MM/yyyy")), h.description, h.reference, h.note};
        for (int c = 0; c < cells.size(); ++c)
            gridHistorico->setItem(r, c, new QTableWidgetItem(cells[c]));
    }
    btnAcrescentarHistorico->setEnabled(stored && !members->editing() && !members->readOnly());
    btnDadosMembro->setEnabled(stored && !members->editing());
    btnAnonimizar->setEnabled(stored && !members->editing() && !members->readOnly()
                              && DM->TBMEMBROMEMANONIMIZADOEM->isNull());
}

void TFMembro::btnDadosMembroClick()
{
    auto *report = new TFRDadosMembro(this);
    report->setMember(DM->TBMEMBROMEMCODIGO->asInteger());
    report->preview();
}

// After the question that names the member, in one transaction; the
// register then reads the members again, the anonymised one current.
void TFMembro::btnAnonimizarClick()
{
    const int member = DM->TBMEMBROMEMCODIGO->asInteger();
    const QString name = DM->TBMEMBROMEMNOME->asString();
    if (!Messages::question(
            QStringLiteral("Anonimizar %1 (código %2)?\n\nO nome passa a ser \"%3\"; o endereço, os telefones, o e-mail, "
                           "o CPF, o RG, os pais, o cônjuge, a data de nascimento, o responsável e a fotografia são "
                           "apagados, também do histórico de alterações. Ficam a situação, as datas do rol e as "
                           "movimentações do caixa. Isto não pode ser desfeito.")
                .arg(name)
                .arg(member)
                .arg(MemberData::anonymisedName(member))))
        return;
    MemberData::anonymise(DM->SQLConnection1(), member);
    TableDataset *members = DM->TBMEMBRO;
    members->close();
    members->open();
    members->locate(QStringLiteral("MEMCODIGO"), {member});
    refreshHistory();
    Messages::information(QStringLiteral("Os dados pessoais de %1 foram apagados. O membro agora se chama \"%2\".")
                              .arg(name, MemberData::anonymisedName(member)));
}

void TFMembro::btnAcrescentarHistoricoClick()
{
    const int member = DM->TBMEMBROMEMCODIGO->asInteger();
    if (const std::optional<Roll::HistoryRow> row = chooseHistoryRow(this)) {
        Roll::addToHistory(member, *row);
        refreshHistory();
    }
}

void TFMembro::btnNovoClick()
{
    RecordForm::btnNovoClick();
    if (DM->TBMEMBRO->state() == Dataset::State::Insert && TabRol && DM->TBMEMBROMEMSITUACAO->isNull())
        DM->TBMEMBROMEMSITUACAO->setAsString(Roll::kActive);
}
