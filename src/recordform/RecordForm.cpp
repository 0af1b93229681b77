#include "RecordForm.h"

#include "controls/DBComboBox.h"
#include "controls/DBEdit.h"
#include "controls/DBGrid.h"
#include "controls/DBImage.h"
#include "controls/DBLookupComboBox.h"
#include "controls/DBNavigator.h"
#include "controls/DataControl.h"
#include "controls/DatasetModel.h"
#include "dataset/DataSource.h"
#include "dataset/DbError.h"
#include "dataset/TableDataset.h"
#include "dataset/TableProvider.h"
#include "uikit/Appearance.h"
#include "uikit/CsvExport.h"
#include "uikit/ErrorGuard.h"
#include "uikit/FormKit.h"
#include "uikit/Messages.h"
#include "uikit/Today.h"

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHash>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QShowEvent>
#include <QStandardPaths>
#include <QTabWidget>
#include <QToolButton>

namespace {

bool isEnter(int key) { return key == Qt::Key_Return || key == Qt::Key_Enter; }

// The hourglass while a long action runs, whatever way it ends.
struct WaitCursor
{
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;
};

} // namespace

const QStringList &stateCodes()
{
    static const QStringList codes{QStringLiteral("RS"), QStringLiteral("SC"), QStringLiteral("PR"), QStringLiteral("SP"),
                                   QStringLiteral("RJ"), QStringLiteral("AM"), QStringLiteral("PA"), QStringLiteral("RN"),
                                   QStringLiteral("DF"), QStringLiteral("GO"), QStringLiteral("BA"), QStringLiteral("MG"),
                                   QStringLiteral("MT"), QStringLiteral("MS"), QStringLiteral("AC"), QStringLiteral("TO"),
                                   QStringLiteral("PI"), QString()};
    return codes;
}

std::function<QString(QWidget *, const QString &)> RecordForm::chooseExportFile = &RecordForm::saveSpreadsheetDialog;
RecordForm::History RecordForm::history;

RecordForm::RecordForm(QWidget *owner, const RecordFormSetup &setup)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_setup(setup)
{
    setObjectName(setup.objectName);
    setWindowTitle(setup.caption);
    FormKit::whiteBackground(this);
    resize(Appearance::scaled(setup.size));
    buildPages();
    buildButtons();
    buildQueryPage();
    buildExportButton();
    buildHistoryButton();
    buildWindowKeys();
    connectHandlers();
    connect(table(), &Dataset::stateChanged, this, &RecordForm::followState);
}

TableDataset *RecordForm::table() const
{
    return m_setup.source->dataset();
}

void RecordForm::buildPages()
{
    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    TabSheet1 = new QWidget;
    TabSheet1->setObjectName(QStringLiteral("TabSheet1"));
    TabSheet2 = new QWidget;
    TabSheet2->setObjectName(QStringLiteral("TabSheet2"));
    for (QWidget *page : {TabSheet1, TabSheet2}) { // white pages, as the window
        page->setAutoFillBackground(true);
        page->setPalette(palette());
    }
    PageControl1->addTab(TabSheet1, m_setup.entryPageCaption);
    PageControl1->addTab(TabSheet2, QStringLiteral("Consulta"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(PageControl1);

    auto *entry = new QHBoxLayout(TabSheet1);
    m_entryLayout = new QVBoxLayout;
    m_buttonLayout = new QVBoxLayout;
    m_buttonLayout->setSpacing(2);
    entry->addLayout(m_entryLayout, 1);
    entry->addSpacing(12);
    entry->addLayout(m_buttonLayout);
    if (m_setup.navigator) {
        DBNavigator1 = new DBNavigator(m_setup.source, TabSheet1);
        DBNavigator1->setObjectName(QStringLiteral("DBNavigator1"));
    }
}

QToolButton *RecordForm::addButton(const QString &name, const QString &caption, const QString &icon,
                                   CommandState state, std::function<void()> run)
{
    QToolButton *b = FormKit::pictureButton(TabSheet1, name, caption, QStringLiteral(":/icons/%1.svg").arg(icon), true);
    b->setFixedSize(Appearance::scaled(QSize(96, 52)));
    b->setIconSize(Appearance::scaled(QSize(24, 24)));
    // A register's own buttons, added after the pattern's, come just above Sair.
    const int sair = m_buttonLayout->indexOf(TabSheet1->findChild<QToolButton *>(QStringLiteral("btnSair")));
    m_buttonLayout->insertWidget(sair, b);
    addCommand(b, state, std::move(run));
    return b;
}

QToolButton *RecordForm::addBrowseButton(QWidget *page, const QString &name, const QString &caption,
                                         const QString &icon, std::function<void()> run)
{
    QToolButton *b = FormKit::pictureButton(page, name, caption, QStringLiteral(":/icons/%1.svg").arg(icon), true);
    b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    b->setIconSize(Appearance::scaled(QSize(20, 20)));
    addCommand(b, CommandState::Browse, std::move(run));
    return b;
}

QAction *RecordForm::addCommand(QToolButton *button, CommandState state, std::function<void()> run)
{
    auto *action = new QAction(button->text(), this);
    action->setObjectName(QStringLiteral("act") + button->objectName().mid(3)); // "btnNovo": "actNovo"
    addAction(action); // the window's: its key acts wherever the focus is in the window
    FormKit::showAction(button, action);
    connectGuarded(action, &QAction::triggered, this, run);
    m_commands.append({button, action, state, std::move(run)});
    return action;
}

QList<QAction *> RecordForm::commands() const
{
    QList<QAction *> actions;
    for (const Command &c : m_commands)
        actions << c.action;
    return actions;
}

RecordForm::Command *RecordForm::commandOf(const QToolButton *button)
{
    for (Command &c : m_commands)
        if (c.button == button)
            return &c;
    return nullptr;
}

QAction *RecordForm::command(const QToolButton *button) const
{
    for (const Command &c : m_commands)
        if (c.button == button)
            return c.action;
    return nullptr;
}

void RecordForm::buildButtons()
{
    const auto button = [this](const char *name, const QString &caption, const char *icon, CommandState state,
                               std::function<void()> run) {
        return addButton(QString::fromLatin1(name), caption, QString::fromLatin1(icon), state, std::move(run));
    };
    using S = CommandState;
    btnNovo = button("btnNovo", QStringLiteral("Novo"), "novo", S::BrowseChanging, [this] { btnNovoClick(); });
    btnAlterar = button("btnAlterar", QStringLiteral("Alterar"), "alterar", S::BrowseChanging, [this] { btnAlterarClick(); });
    btnSalvar = button("btnSalvar", QStringLiteral("Salvar"), "salvar", S::Edit, [this] { btnSalvarClick(); });
    if (m_setup.saveAndNew) {
        btnSalvarNovo = button("btnSalvarNovo", QStringLiteral("Salvar e Novo"), "salvar_novo", S::Edit,
                               [this] { btnSalvarNovoClick(); });
        command(btnSalvarNovo)->setShortcut(Qt::Key_F6); // in every window that has it
    }
    btnCancelar = button("btnCancelar", QStringLiteral("Cancelar"), "cancelar", S::Edit, [this] { btnCancelarClick(); });
    btnExcluir = button("btnExcluir", QStringLiteral("Excluir"), "excluir", S::BrowseChanging, [this] { btnExcluirClick(); });
    btnConsultar = button("btnConsultar", QStringLiteral("Consultar"), "consultar", S::Browse, [this] { btnConsultarClick(); });
    if (!m_setup.reportCaption.isEmpty()) {
        btnRelatorio = button("btnRelatorio", m_setup.reportCaption, "relatorio", S::Browse, [this] { btnRelatorioClick(); });
        btnRelatorio->setFixedSize(qMax(Appearance::scaled(110), btnRelatorio->sizeHint().width()),
                                   Appearance::scaled(52)); // long captions whole
    }
    // The report button, where there is one, comes just above Sair.
    btnSair = button("btnSair", QStringLiteral("Sair"), "sair", S::Browse, [this] { btnSairClick(); });
}

// The hidden shortcut menu: each key triggers its button's command, so it
// acts only while that button is enabled; in cash movements F1 and Shift+Del
// act in either state, through actions of their own (the old menu's items).
void RecordForm::buildWindowKeys()
{
    using S = RecordFormSetup::Shortcuts;
    if (m_setup.shortcuts == S::None)
        return;
    const bool movements = m_setup.shortcuts == S::CashMovements;
    struct Key
    {
        QToolButton *button;
        QKeySequence key;
        const char *alwaysItem = nullptr; // acts whether the button is enabled or not
    };
    QList<Key> keys{{btnNovo, Qt::Key_F1, movements ? "Novo1" : nullptr},
                    {btnAlterar, Qt::Key_F2},
                    {btnSalvar, Qt::Key_F5},
                    {btnCancelar, Qt::Key_Escape},
                    {btnExcluir, QKeySequence(Qt::SHIFT | Qt::Key_Delete), movements ? "Deletar1" : nullptr}};
    if (!movements && btnRelatorio)
        keys.append({btnRelatorio, QKeySequence(Qt::CTRL | Qt::Key_P)});
    if (movements || m_setup.consultKey)
        keys.append({btnConsultar, Qt::Key_F8});
    keys.append({btnSair, Qt::Key_F4});
    for (const Key &k : keys) {
        Command *c = commandOf(k.button);
        if (!k.alwaysItem) {
            c->action->setShortcut(k.key);
            continue;
        }
        c->keyInEitherState = new QAction(this);
        c->keyInEitherState->setObjectName(QString::fromLatin1(k.alwaysItem));
        c->keyInEitherState->setShortcut(k.key);
        addAction(c->keyInEitherState);
        connectGuarded(c->keyInEitherState, &QAction::triggered, this, c->run);
    }
}

void RecordForm::buildQueryPage()
{
    auto *layout = new QVBoxLayout(TabSheet2);
    DBGrid1 = new DBGrid(m_setup.source, TabSheet2);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setAccessibleName(QStringLiteral("Registros"));
    layout->addWidget(DBGrid1, 1);
    if (m_setup.searchColumn.isEmpty())
        return;
    auto *strip = new QHBoxLayout;
    searchBox = FormKit::textBox(TabSheet2, m_setup.searchBoxName);
    if (m_setup.searchCapitals) {
        auto *capitals = new TypingValidator(TypingValidator::Kind::Text, searchBox);
        capitals->setCharCase(CharCase::Upper);
        searchBox->setValidator(capitals);
    }
    auto *label = FormKit::captionLabel(TabSheet2, QStringLiteral("Label5"), m_setup.searchLabel, searchBox, 0, true);
    btnBuscar = addBrowseButton(TabSheet2, QStringLiteral("btnBuscar"), QStringLiteral("Buscar"), QStringLiteral("buscar"),
                                [this] { btnBuscarClick(); });
    strip->addWidget(label);
    strip->addWidget(searchBox, 1);
    strip->addWidget(btnBuscar);
    layout->insertLayout(0, strip); // a strip along the top, the grid first in tab order
    setTabOrder(DBGrid1, searchBox);
}

// "Exportar" at the right, below the grid.
void RecordForm::buildExportButton()
{
    btnExportar = addBrowseButton(TabSheet2, QStringLiteral("btnExportar"), QStringLiteral("Exportar"),
                                  QStringLiteral("exportar"), [this] { btnExportarClick(); });
    btnExportar->setToolTip(QStringLiteral("Salva as linhas da consulta em uma planilha (CSV)"));
    auto *strip = new QHBoxLayout;
    strip->addStretch();
    strip->addWidget(btnExportar);
    static_cast<QVBoxLayout *>(TabSheet2->layout())->addLayout(strip);
}

void RecordForm::buildHistoryButton()
{
    if (!history.offered || !history.show || !history.offered())
        return;
    btnHistorico = addBrowseButton(TabSheet1, QStringLiteral("btnHistorico"), QStringLiteral("Histórico"),
                                   QStringLiteral("historico"), [this] { btnHistoricoClick(); });
    btnHistorico->setToolTip(QStringLiteral("Quem incluiu, alterou ou excluiu este registro, e quando"));
}

void RecordForm::btnHistoricoClick()
{
    TableDataset *t = table();
    const QVariant code = t->active() && !t->isEmpty() ? t->fieldByName(m_setup.codeColumn)->value() : QVariant();
    history.show(this, t->objectName().mid(2), code); // "TBMEMBRO": MEMBRO
}

// Every window with shortcuts lists the same keys, F8 included even where it
// is bound to nothing, and Ctrl+P where the register has a report.
QStringList RecordForm::legendLines() const
{
    using S = RecordFormSetup::Shortcuts;
    if (m_setup.shortcuts == S::None)
        return {};
    QStringList lines{QStringLiteral("F1 para Novo"), QStringLiteral("F2 para Alterar"), QStringLiteral("F5 para Salvar")};
    if (btnSalvarNovo)
        lines << QStringLiteral("F6 para Salvar e Novo");
    lines << QStringLiteral("ESC para Cancelar") << QStringLiteral("Shif+Del para Excluir")
          << QStringLiteral("F8 para Consultar");
    if (m_setup.shortcuts == S::Register && btnRelatorio) {
        const QString &report =
            m_setup.reportShortcutCaption.isEmpty() ? m_setup.reportCaption : m_setup.reportShortcutCaption;
        lines << QStringLiteral("Ctrl+P para ") + report;
    }
    lines << QStringLiteral("F4 para Sair");
    return lines;
}

void RecordForm::buildLegend()
{
    const QStringList legend = legendLines();
    if (legend.isEmpty())
        return;
    GroupBox1 = new QGroupBox(QStringLiteral("Teclas de Atalho"), TabSheet1);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    auto *lines = new QVBoxLayout(GroupBox1);
    lines->setSpacing(0);
    for (const QString &line : legend)
        lines->addWidget(new QLabel(line, GroupBox1));
    m_buttonLayout->addSpacing(8);
    m_buttonLayout->addWidget(GroupBox1);
}

void RecordForm::finishLayout()
{
    if (!m_codeBox)
        qFatal("%s: the register declares no code box (setCodeBox)", qPrintable(objectName()));
    m_buttonLayout->addStretch();
    buildLegend();
    auto *below = new QHBoxLayout; // the navigator and the history, below the fields
    if (DBNavigator1) {
        below->addWidget(DBNavigator1);
        QWidget::setTabOrder(DBNavigator1, m_codeBox);
    }
    if (btnHistorico) {
        if (DBNavigator1)
            below->addSpacing(16);
        below->addWidget(btnHistorico);
    }
    below->addStretch();
    m_entryLayout->addLayout(below);
    FormKit::tabChain(m_tabChain);
    m_entryLayout->addStretch();
    nameFieldsByCaptions();
    fitToScreen();
    FormKit::centreOnScreen(this);
    followState();
}

// With big letters on a small screen one column of buttons would make the
// window taller than the screen: the buttons then stand two by two, Salvar
// beside "Salvar e Novo". The window is no larger than the screen allows.
void RecordForm::fitToScreen()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QSize room = screen->availableGeometry().size() - QSize(0, kWindowFrame);
    if (layout()->totalMinimumSize().height() > room.height()) {
        QList<QWidget *> buttons;
        for (int i = 0; i < m_buttonLayout->count(); ++i)
            if (auto *button = qobject_cast<QToolButton *>(m_buttonLayout->itemAt(i)->widget()))
                buttons << button;
        auto *pairs = new QGridLayout;
        pairs->setSpacing(m_buttonLayout->spacing());
        for (int i = 0; i < buttons.size(); ++i) {
            m_buttonLayout->removeWidget(buttons.at(i));
            pairs->addWidget(buttons.at(i), i / 2, i % 2);
        }
        m_buttonLayout->insertLayout(0, pairs);
        TabSheet1->layout()->invalidate(); // the page's size as it is now, up to the window
        PageControl1->updateGeometry();
        layout()->invalidate();
    }
    resize(size().boundedTo(room).expandedTo(layout()->totalMinimumSize()));
}

// The dataset's messages name a column as the user sees it: by the caption
// label of its box on the entry page ("Preencha o campo CÓDIGO.").
static QString captionOf(const QWidget *control);

// Every data control of the entry pages names its column by its caption
// there (a message, the member's data), a radio group by its title.
void RecordForm::nameFieldsByCaptions()
{
    for (const auto &[page, link] : entryPageLinks()) {
        const auto *control = qobject_cast<const QWidget *>(link->parent());
        if (const QString caption = control ? captionOf(control) : QString(); !caption.isEmpty())
            link->field()->setDisplayLabel(caption);
    }
}

// The links of the data controls on every page but the query page, each with its page.
QList<std::pair<const QWidget *, const FieldLink *>> RecordForm::entryPageLinks() const
{
    QList<std::pair<const QWidget *, const FieldLink *>> links;
    for (int i = 0; i < PageControl1->count(); ++i) {
        const QWidget *page = PageControl1->widget(i);
        if (page != TabSheet2)
            for (const FieldLink *link : page->findChildren<FieldLink *>())
                links.append({page, link});
    }
    return links;
}

DBEdit *RecordForm::dataEdit(const QString &name, const QString &column, int width)
{
    auto *box = new DBEdit(m_setup.source, column, TabSheet1);
    box->setObjectName(name);
    if (m_setup.capitals)
        box->setCharCase(DBEdit::CharCase::Upper);
    if (width)
        box->setFixedWidth(Appearance::scaled(width));
    return box;
}

DBEdit *RecordForm::fieldBox(const QString &name, const QString &column, int width)
{
    DBEdit *box = dataEdit(name, column, width);
    addFieldKeys(box);
    return box;
}

DBComboBox *RecordForm::listBox(const QString &name, const QString &column, const QStringList &items, int width)
{
    auto *list = new DBComboBox(m_setup.source, column, items, TabSheet1);
    list->setObjectName(name);
    list->setEditable(true);
    list->setCharCase(DBComboBox::CharCase::Upper);
    list->setFixedWidth(Appearance::scaled(width));
    return list;
}

QLabel *RecordForm::addLabeled(const QString &labelName, const QString &caption, QLayout *row, QWidget *buddy)
{
    QLabel *label = FormKit::captionLabel(TabSheet1, labelName, caption, buddy, 0, true);
    m_entryLayout->addWidget(label);
    m_entryLayout->addLayout(row);
    m_entryLayout->addSpacing(4);
    return label;
}

QLabel *RecordForm::addLabeled(const QString &labelName, const QString &caption, QWidget *control)
{
    QLabel *label = FormKit::captionLabel(TabSheet1, labelName, caption, control, 0, true);
    m_entryLayout->addWidget(label);
    const bool narrow = control->maximumWidth() < QWIDGETSIZE_MAX;
    m_entryLayout->addWidget(control, 0, narrow ? Qt::AlignLeft : Qt::Alignment());
    m_entryLayout->addSpacing(4);
    return label;
}

void RecordForm::setCodeBox(QWidget *codeBox)
{
    m_codeBox = codeBox;
    if (m_setup.codeEditable)
        addEditable(codeBox);
    else
        setAlwaysReadOnly(codeBox);
}

void RecordForm::setAlwaysReadOnly(QWidget *control)
{
    DataControl::setEditable(control, false);
    m_alwaysReadOnly << control;
}

void RecordForm::addEditable(QWidget *control)
{
    m_editable << control;
}

void RecordForm::addEditable(const QList<QWidget *> &controls)
{
    m_editable << controls;
}

void RecordForm::addFieldKeys(const QList<QWidget *> &controls)
{
    for (QWidget *control : controls)
        addFieldKeys(control);
}

void RecordForm::addFieldKeys(QWidget *control, bool saveAndLeaveOnly)
{
    // F5 and Esc act on the row being edited; in the browse state the boxes
    // are read-only and only Enter and the arrows move between them.
    FormKit::onKeyDown(control, [this, control, saveAndLeaveOnly](QKeyEvent *e) {
        const int key = e->key();
        const bool editing = table()->editing();
        if (key == Qt::Key_F5 && editing)
            btnSalvarClick();
        else if (key == Qt::Key_Escape && editing)
            btnSairClick();
        else if (!saveAndLeaveOnly && (isEnter(key) || key == Qt::Key_Down || key == Qt::Key_Up))
            FormKit::focusNeighbour(control, key != Qt::Key_Up);
        else
            return false;
        return true;
    });
}

void RecordForm::connectHandlers()
{
    connectGuarded(DBGrid1, &DBGrid::doubleClicked, this, [this] { DBGrid1DblClick(); });
    connectGuarded(PageControl1, &QTabWidget::currentChanged, this, [this](int page) {
        if (page == 1)
            TabSheet2Show();
    });
    if (searchBox)
        connectGuarded(searchBox, &QLineEdit::textChanged, this, [this] { txtNomeChange(); });
}

void RecordForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    PageControl1->setCurrentIndex(0);
    if (m_setup.shortcuts != RecordFormSetup::Shortcuts::None && !m_windowKeysFirst) {
        FormKit::windowKeysFirst(this); // every control is there by now
        m_windowKeysFirst = true;
    }
    runGuarded([this] { FormShow(); });
}

void RecordForm::FormShow()
{
    for (TableDataset *t : m_setup.openOnShow) {
        if (m_setup.activateSourcesOnShow)
            t->provider()->openSource();
        t->open();
    }
    followState();
}

void RecordForm::followState()
{
    const bool editing = table()->editing();
    const bool idle = !m_busy;
    const bool mayChange = !table()->readOnly();
    if (idle) { // a running command keeps the boxes as they are, and the focus where it is
        for (QWidget *w : m_editable)
            DataControl::setEditable(w, editing); // read-only in the browse state, never greyed
        for (QWidget *w : m_alwaysReadOnly) // readable while browsing, out of the way while typing
            w->setFocusPolicy(editing ? Qt::ClickFocus : Qt::StrongFocus);
    }
    for (const Command &c : m_commands) { // the buttons follow their actions
        const bool inState = c.state == CommandState::Edit ? editing : !editing;
        c.action->setEnabled(idle && inState && (mayChange || c.state == CommandState::Browse));
        if (c.keyInEitherState)
            c.keyInEitherState->setEnabled(mayChange);
    }
    // Moving to another row, or filtering, would post the pending row.
    const bool mayLeaveRow = idle && !editing;
    if (DBNavigator1)
        DBNavigator1->setEnabled(mayLeaveRow);
    PageControl1->setTabEnabled(1, mayLeaveRow);
    DBGrid1->setEnabled(mayLeaveRow);
    if (searchBox)
        searchBox->setEnabled(mayLeaveRow);
}

// Runs a command that passes the table through several states (Novo:
// closed, open, inserting; Salvar: posted, then maybe back in edit mode): the
// commands stay unavailable meanwhile and take the final state at the end.
void RecordForm::whileBusy(const std::function<void()> &command)
{
    struct Done
    {
        RecordForm *form;
        ~Done()
        {
            form->m_busy = false;
            form->followState();
        }
    };
    m_busy = true;
    followState();
    const Done done{this};
    command();
}

void RecordForm::editar()
{
    PageControl1->setCurrentIndex(0);
    if (m_firstField)
        m_firstField->setFocus();
}

// The new code is the largest code of the whole table plus one: a search
// filter does not narrow the scan.
void RecordForm::newRecord()
{
    TableDataset *t = table();
    if (m_setup.rereadOnNew)
        t->close();
    t->open();
    const int code = t->nextCode(t->fieldByName(m_setup.codeColumn)->index());
    t->insert();
    t->fieldByName(m_setup.codeColumn)->setAsInteger(code);
    for (int i = 0; i < m_carried.size(); ++i)
        t->fieldByName(m_setup.carriedColumns.at(i))->setValue(m_carried.at(i));
}

// The carried columns of the row just stored, for the next new row.
void RecordForm::rememberCarried()
{
    m_carried.clear();
    for (const QString &column : m_setup.carriedColumns)
        m_carried << table()->fieldByName(column)->value();
}

void RecordForm::btnNovoClick()
{
    whileBusy([this] { newRecord(); });
    editar();
}

void RecordForm::refuseChangeOfRow() const
{
    if (const QString refusal = changeRefusal(); !refusal.isEmpty())
        throw DbError(refusal);
}

void RecordForm::btnAlterarClick()
{
    refuseChangeOfRow();
    table()->edit();
    editar();
}

// Post, then apply at once. A refusal by the database puts the row back in
// its edit mode with what the user typed, so it can be corrected and saved
// again, or cancelled.
void RecordForm::btnSalvarClick()
{
    whileBusy([this] {
        TableDataset *t = table();
        t->post();
        try {
            t->applyUpdates(0);
        } catch (const DbError &error) {
            t->revertToEdit();
            if (m_setup.codeEditable && error.reason() == DbError::Reason::DuplicateKey)
                throw codeInUse(error);
            throw;
        }
    });
    rememberCarried();
}

void RecordForm::btnSalvarNovoClick()
{
    btnSalvarClick(); // the register's Salvar, with its own checks
    if (!table()->editing())
        btnNovoClick();
}

// Where the user types the code, a code another row has is the user's
// choice, not another workstation's doing.
DbError RecordForm::codeInUse(const DbError &error) const
{
    const QString code = table()->fieldByName(m_setup.codeColumn)->asString();
    const QString message = QStringLiteral("O código %1 já está em uso em outro registro. Nada foi gravado: "
                                           "digite outro código e salve de novo, ou cancele.")
                                .arg(code);
    return DbError(withEngineText(message, error.engineText()), error.reason(), error.engineText());
}

void RecordForm::btnCancelarClick()
{
    table()->cancel();
}

void RecordForm::btnExcluirClick()
{
    refuseChangeOfRow();
    if (!Messages::question(QStringLiteral("Você realmente deseja excluir este registro ?")))
        return;
    TableDataset *t = table();
    t->del();
    try {
        t->applyUpdates(0);
    } catch (const DbError &) {
        t->cancelUpdates(); // the row is back as it is stored
        throw;
    }
}

void RecordForm::btnConsultarClick()
{
    PageControl1->setCurrentIndex(1);
}

void RecordForm::DBGrid1DblClick()
{
    PageControl1->setCurrentIndex(0);
}

void RecordForm::btnSairClick()
{
    close();
}

// The search box is unavailable while a row is edited; a text set there some
// other way (an assistive tool) filters nothing then, since filtering would
// post the row.
void RecordForm::txtNomeChange()
{
    TableDataset *t = table();
    if (t->editing())
        return;
    t->setSearch(m_setup.searchColumn, searchBox->text());
}

void RecordForm::TabSheet2Show()
{
    if (m_setup.focusSearchOnQueryPage && searchBox)
        searchBox->setFocus();
}

QString RecordForm::saveSpreadsheetDialog(QWidget *parent, const QString &proposedName)
{
    QFileDialog dialog(parent, QStringLiteral("Exportar para planilha"),
                       QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation),
                       QStringLiteral("Planilha CSV (*.csv)"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("csv"));
    dialog.selectFile(proposedName);
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
}

void RecordForm::btnExportarClick()
{
    const QString proposed =
        QStringLiteral("%1-%2.csv").arg(m_setup.exportName, Today::date().toString(QStringLiteral("yyyy-MM-dd")));
    const QString path = chooseExportFile(this, proposed);
    if (!path.isEmpty())
        exportGrid(path);
}

// The caption a data control has on its entry page: its label's text, a
// radio group's title, or the name a screen reader gives it.
static QString captionOf(const QWidget *control)
{
    QString caption;
    for (const QLabel *label : control->parentWidget()->findChildren<QLabel *>())
        if (label->buddy() == control)
            caption = label->text();
    if (caption.isEmpty())
        if (const auto *group = qobject_cast<const QGroupBox *>(control))
            caption = group->title();
    if (caption.isEmpty())
        caption = control->accessibleName();
    caption.remove(u'&');
    while (caption.endsWith(u':') || caption.endsWith(u' ') || caption.endsWith(u'?'))
        caption.chop(1);
    return caption;
}

// Every column the entry pages show of the main table, in the order of the
// tab key (a radio group where its first button is), titled with its
// caption; a list of another table gives the text it shows for the code (a
// column more when a box shows the code too); pictures and what a page
// hides are left out.
QList<RecordFormSetup::ExportColumn> RecordForm::entryColumns(QSet<int> &taken) const
{
    QHash<const QWidget *, qsizetype> place;
    for (qsizetype i = 0; i < m_tabChain.size(); ++i) {
        place.insert(m_tabChain.at(i), i);
        place.insert(m_tabChain.at(i)->parentWidget(), place.value(m_tabChain.at(i)->parentWidget(), i));
    }
    TableDataset *t = table();
    QList<std::pair<qsizetype, const FieldLink *>> links;
    for (const auto &[page, link] : entryPageLinks()) {
        const auto *control = qobject_cast<const QWidget *>(link->parent());
        if (link->dataset() == t && control && !qobject_cast<const DBImage *>(control) && control->isVisibleTo(page))
            links.append({place.value(control, m_tabChain.size() + links.size()), link});
    }
    std::stable_sort(links.begin(), links.end(), [](const auto &a, const auto &b) { return a.first < b.first; });
    QList<RecordFormSetup::ExportColumn> columns;
    for (const auto &[order, link] : links) {
        const auto *control = qobject_cast<const QWidget *>(link->parent());
        const int column = link->field()->index();
        if (const auto *lookup = qobject_cast<const DBLookupComboBox *>(control)) {
            const QHash<QString, QString> texts = lookup->listedTexts();
            columns.append({captionOf(control), [t, column, texts](int row) -> QVariant {
                                const QVariant key = t->valueAt(row, column);
                                return key.isNull() ? QVariant() : QVariant(texts.value(key.toString()));
                            }});
        } else if (!taken.contains(column)) {
            columns.append({captionOf(control), [t, column](int row) { return t->valueAt(row, column); }});
        }
        taken.insert(column);
    }
    return columns;
}

// The rows the grid shows (the search applies), with every column of the
// entry pages, then any other column of the grid, then the register's own
// export columns.
void RecordForm::exportGrid(const QString &path)
{
    TableDataset *t = table();
    const DatasetModel *model = DBGrid1->datasetModel();
    QSet<int> taken;
    QList<RecordFormSetup::ExportColumn> columns = entryColumns(taken);
    for (int c = 0; c < model->columnCount(); ++c) {
        const int column = model->fieldAt(c)->index();
        if (!taken.contains(column))
            columns.append({model->headerData(c, Qt::Horizontal).toString(),
                            [t, column](int row) { return t->valueAt(row, column); }});
    }
    // A register's column named as an entry column takes its place: what a
    // code looks up reads better in a spreadsheet than the code.
    if (m_setup.exportColumns)
        for (const RecordFormSetup::ExportColumn &own : m_setup.exportColumns()) {
            const auto same = std::find_if(columns.begin(), columns.end(),
                                           [&own](const auto &c) { return c.title == own.title; });
            if (same != columns.end())
                same->value = own.value;
            else
                columns.append(own);
        }
    QStringList titles;
    for (const auto &column : columns)
        titles << column.title;
    const int rows = t->recordCount();
    {
        const WaitCursor busy;
        CsvExport::write(path, titles, rows, [&columns](int row) {
            QVariantList cells;
            for (const auto &column : columns)
                cells << column.value(row);
            return cells;
        });
    }
    Messages::information(CsvExport::saved(path, rows));
}

// Closing in the edit state drops the pending row, so nothing half-edited
// stays in the shared table for another window to save by surprise.
void RecordForm::done(int result)
{
    runGuarded([this] { table()->cancel(); });
    QDialog::done(result);
}

// Esc does nothing by itself in a register: it is a field key or a shortcut.
void RecordForm::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape)
        event->accept();
    else
        QDialog::keyPressEvent(event);
}
