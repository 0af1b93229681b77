#pragma once

#include <QDialog>
#include <QList>
#include <QSet>
#include <QStringList>
#include <functional>

class DataSource;
class FieldLink;
class QAction;
class DbError;
class DBComboBox;
class DBEdit;
class DBGrid;
class DBNavigator;
class QGroupBox;
class QLabel;
class QLayout;
class QLineEdit;
class QTabWidget;
class QToolButton;
class QVBoxLayout;
class TableDataset;

// What sets one register window apart from the others; everything else of
// the pattern is written once in RecordForm.
struct RecordFormSetup
{
    QString objectName;                // "FCargo"
    QString caption;                   // "Cadastro de Cargos"
    DataSource *source = nullptr;      // DS<T> of the main table
    QString codeColumn;                // "CARCODIGO"
    QList<TableDataset *> openOnShow;  // in order; the main table among them
    bool activateSourcesOnShow = true; // SQL<T> made active before opening
    bool rereadOnNew = true;           // Novo reads the table anew first
    bool codeEditable = false;         // the code box is enabled in the edit state
    QString entryPageCaption = QStringLiteral("Cadastro");
    QString searchColumn;              // empty: no search strip
    QString searchLabel;               // caption beside the search box
    QString searchBoxName = QStringLiteral("txtNome");
    bool focusSearchOnQueryPage = false;
    bool capitals = false;             // letters typed into the entry page's boxes become capitals
    bool searchCapitals = false;       // the search box turns letters into capitals
    bool navigator = true;
    enum class Shortcuts { None, Register, CashMovements } shortcuts = Shortcuts::None;
    bool consultKey = false;           // F8 runs Consultar (always so in cash movements)
    QString reportCaption;             // btnRelatorio; empty: none
    // What the legend "Teclas de Atalho" calls the report of Ctrl+P; the
    // report caption when empty. The legend lists the window's shortcuts and
    // is there only when the window has them.
    QString reportShortcutCaption;
    // "Salvar e Novo" (F6): saves as Salvar does and, once the row is
    // stored, starts the next one as Novo does, for entering rows in a row.
    bool saveAndNew = false;
    // Columns a new row proposes from the row saved just before in this
    // window (cash movements: the book, the date and the kind); editable.
    QStringList carriedColumns;
    QSize size = QSize(690, 477); // at the normal text size
    // "Exportar" on the query page saves the grid's rows, with every column of
    // the entry pages (not pictures), as a spreadsheet, proposing the name "<exportName>-AAAA-MM-DD.csv".
    QString exportName;
    // A column the export adds after the grid's: its title and its value on a visible row.
    struct ExportColumn
    {
        QString title;
        std::function<QVariant(int visibleRow)> value;
    };
    // Made at each export, so that what they look up is read then.
    std::function<QList<ExportColumn>()> exportColumns;
};

// The states (UF) the lists of addresses offer, in the order users know; the
// empty item clears the column.
const QStringList &stateCodes();

// When a command of a register is available: in the browse state, reading
// the table (Consultar, a report) or changing it (Novo, Alterar, Excluir:
// never on a read-only table), or in the edit state only (Salvar, Cancelar).
enum class CommandState { Browse, BrowseChanging, Edit };

// The one base class of the register windows: a record of one table at a
// time on the entry page, the grid and search on the query page, the command
// buttons with their browse and edit states, new codes, saving, deleting,
// field keys and the window's shortcut keys.
class RecordForm : public QDialog
{
    Q_OBJECT
public:
    RecordForm(QWidget *owner, const RecordFormSetup &setup);

    QTabWidget *PageControl1;
    QWidget *TabSheet1, *TabSheet2;
    QToolButton *btnNovo, *btnAlterar, *btnSalvar, *btnCancelar, *btnExcluir, *btnConsultar, *btnSair;
    QToolButton *btnRelatorio = nullptr;
    QToolButton *btnSalvarNovo = nullptr; // where the register declares "Salvar e Novo"
    DBNavigator *DBNavigator1 = nullptr;
    DBGrid *DBGrid1;
    QLineEdit *searchBox = nullptr; // txtNome, or txtBusca in parameters
    QToolButton *btnBuscar = nullptr;
    QToolButton *btnExportar;
    QToolButton *btnHistorico = nullptr; // where the history is offered
    QGroupBox *GroupBox1 = nullptr;

    // "Histórico", beside the navigator: the current record's history (the
    // register's when it has no row). The change log's window is above this
    // layer; the program hands it in, with whether the signed-in account sees
    // the log, and a register built while that holds has the command.
    struct History
    {
        std::function<bool()> offered;
        std::function<void(QWidget *owner, const QString &tableStem, const QVariant &code)> show;
    };
    static History history;

    // The save dialog of "Exportar": the file chosen, or empty when
    // cancelled. Tests put their own in its place.
    static std::function<QString(QWidget *parent, const QString &proposedName)> chooseExportFile;
    static QString saveSpreadsheetDialog(QWidget *parent, const QString &proposedName);

    TableDataset *table() const;

    // The window's commands, one QAction each, in the order of their buttons:
    // its button shows it, its key (where the window has the shortcut menu)
    // triggers it, and followState() sets whether it is available, so button,
    // key and action never differ. Cash movements' F1 and Shift+Del, which act
    // in either state, are actions of the window of their own ("Novo1",
    // "Deletar1"), running the same handlers as Novo and Excluir.
    QList<QAction *> commands() const;
    QAction *command(const QToolButton *button) const;

    virtual void FormShow();
    // Every command's enabled state, derived from the main table's state
    // (browse, insert, edit), whether it is read-only (the account's profile
    // only reads it: nothing that changes it is available, the always-on keys
    // of cash movements included) and whether a command is running; it
    // follows the table's state signal, so no handler sets a state by hand.
    // While a row is inserted or edited nothing that would leave it is
    // available (navigator, grid, the query page with its search): it is
    // left only by Salvar or Cancelar (or closing, which cancels).
    virtual void followState();
    // The entry page on top and the focus in the first field, for a row just
    // put in insert or edit mode.
    void editar();
    // Why the current row may not be changed or deleted now, though the table
    // may (a movement of a closed month); empty when it may. Alterar and
    // Excluir say it and do nothing.
    virtual QString changeRefusal() const { return {}; }
    virtual void btnNovoClick();
    void btnAlterarClick();
    virtual void btnSalvarClick();
    // Salvar; when the row was stored (no refusal, no check of the register
    // keeping it in the window), Novo.
    void btnSalvarNovoClick();
    void btnCancelarClick();
    virtual void btnExcluirClick();
    void btnConsultarClick();
    void DBGrid1DblClick();
    void btnSairClick();
    void txtNomeChange(); // the search; btnBuscarClick does the same
    void btnBuscarClick() { txtNomeChange(); }
    virtual void btnRelatorioClick() {}
    void TabSheet2Show();
    void btnExportarClick(); // the grid's rows into a spreadsheet file
    void btnHistoricoClick();
    void exportGrid(const QString &path);
    QList<RecordFormSetup::ExportColumn> entryColumns(QSet<int> &taken) const;

protected:
    // For the register's constructor: where the data controls go, and how
    // they take part in the pattern.
    QVBoxLayout *entryLayout() const { return m_entryLayout; }
    // An edit box on a column of the main table, on the entry page, with the
    // window's capitals and, when given, a fixed width (pixels at the normal
    // text size, as every width and size given here).
    DBEdit *dataEdit(const QString &name, const QString &column, int width = 0);
    // The same with the field keys (see addFieldKeys).
    DBEdit *fieldBox(const QString &name, const QString &column, int width = 0);
    // An editable list of a column of the main table, typed in capitals.
    DBComboBox *listBox(const QString &name, const QString &column, const QStringList &items, int width);
    // A data control with its caption label above it, next in the entry page.
    QLabel *addLabeled(const QString &labelName, const QString &caption, QWidget *control);
    // A row of controls with a caption label above it naming `buddy`.
    QLabel *addLabeled(const QString &labelName, const QString &caption, QLayout *row, QWidget *buddy);
    // The box of the code column; every register declares one.
    void setCodeBox(QWidget *codeBox);
    void addEditable(QWidget *control);             // editable only in the edit state
    void addEditable(const QList<QWidget *> &controls);
    // A box never typed into (the code, a month's name): read-only in both
    // states, and passed over by Tab, Enter and the arrows while editing.
    void setAlwaysReadOnly(QWidget *control);
    void setFirstField(QWidget *control) { m_firstField = control; }
    // F5 saves and Esc leaves; Enter and the arrows move between the boxes
    // unless `saveAndLeaveOnly`.
    void addFieldKeys(QWidget *control, bool saveAndLeaveOnly = false);
    void addFieldKeys(const QList<QWidget *> &controls);
    // The order Tab follows on the entry page, set when the form is built,
    // after the navigator's link to the code box.
    void setTabChain(const QList<QWidget *> &order) { m_tabChain = order; }
    // A command button in the column of the entry page (just above Sair),
    // showing its command, whose action is named after it ("btnNovo":
    // "actNovo"), available in `state` and running `run`.
    QToolButton *addButton(const QString &name, const QString &caption, const QString &icon, CommandState state,
                           std::function<void()> run);
    // The form is built: add the buttons, the legend, the tab chain and the
    // last layout pieces.
    void finishLayout();

    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void done(int result) override;

private:
    void buildPages();
    void nameFieldsByCaptions();
    QList<std::pair<const QWidget *, const FieldLink *>> entryPageLinks() const;
    void buildButtons();
    void buildQueryPage();
    void buildExportButton();
    void buildHistoryButton();
    void buildLegend();
    void fitToScreen();
    static constexpr int kWindowFrame = 40; // the window's title bar and borders
    QStringList legendLines() const;
    void connectHandlers();
    // The button shows the new command, available in `state`.
    QAction *addCommand(QToolButton *button, CommandState state, std::function<void()> run);
    // A small flat button on `page`, its caption beside its picture, showing
    // a command of the browse state (Buscar, Exportar, Histórico).
    QToolButton *addBrowseButton(QWidget *page, const QString &name, const QString &caption, const QString &icon,
                                 std::function<void()> run);
    void buildWindowKeys();
    void newRecord();
    void rememberCarried();
    void refuseChangeOfRow() const; // DbError with changeRefusal()
    void whileBusy(const std::function<void()> &command);
    DbError codeInUse(const DbError &error) const;

    RecordFormSetup m_setup;
    QVBoxLayout *m_entryLayout = nullptr;
    QVBoxLayout *m_buttonLayout = nullptr;
    QWidget *m_codeBox = nullptr;
    QWidget *m_firstField = nullptr;
    QList<QWidget *> m_editable;
    QList<QWidget *> m_alwaysReadOnly;
    QList<QWidget *> m_tabChain;
    struct Command
    {
        QToolButton *button;
        QAction *action;
        CommandState state;
        std::function<void()> run;
        QAction *keyInEitherState = nullptr; // cash movements' F1 and Shift+Del: a key of its own, always on
    };
    Command *commandOf(const QToolButton *button);
    QList<Command> m_commands;
    QVariantList m_carried; // the carried columns of the row saved last, empty before any
    bool m_windowKeysFirst = false; // the controls leave the shortcut menu's keys to the window
    bool m_busy = false;
};
