#pragma once

#include "datamodule/Profiles.h"

#include <QMainWindow>

#include <functional>
#include <optional>

class QAction;
class QFrame;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QToolButton;

// One command of the main window. Its action is the menu item, and the
// toolbar button and any shortcut show that same action, so hiding or
// disabling the action hides or disables all of them together.
struct MenuCommand
{
    QAction *action;             // object name as the menu item: "Membros1"
    QToolButton *button;         // the toolbar button showing it, or none
    QString window;              // object name of the window it opens ("FMembro"); empty: it ends the program
    std::function<void()> run;   // what triggering it does
    std::optional<Area> area;    // the part of the program it opens (Profiles); none: every account has it
    int level = 0;               // the level of the database it needs (SchemaUpgrade::available)
};

// The main window: the toolbar and menu that open every register, the cash
// book and its report, and a side panel with today's events. Closing it ends
// the program.
class TFMenu : public QMainWindow
{
    Q_OBJECT
public:
    explicit TFMenu(QWidget *owner);

    QFrame *Panel1 = nullptr, *Panel2 = nullptr, *Panel3 = nullptr;
    QToolButton *SpeedButton1, *SpeedButton2, *SpeedButton3, *btnLivro, *SpeedButton5, *SpeedButton4;
    QWidget *Image1;
    QLabel *Label1, *Label2;
    QLabel *lblUsuario; // who is signed in, and the profile
    QPushButton *btnFechar, *btnAbrir;
    QPlainTextEdit *txtEventos, *txtAniversariantes;
    QMenu *Cadastros1, *Movimentaes1, *Caixa1, *Configuraes1;
    QAction *Cargos1, *Evento1, *Membros1, *Funcionrios1, *CadastrodoLivroCaixadoMs1, *MovimentaesdoLivroCaixa1,
        *RelatriodeLivroCaixa1, *Parametros, *Usuarios1, *CopiadeSeguranca1, *Sair1;
    QAction *ResumoAnualdoCaixa1, *LivroCaixaAnual1, *DadosdaIgreja1, *Aniversariantes1, *Aparencia1;
    QAction *Categorias1, *Dizimistas1; // shown when the database has the categories of the cash book
    QAction *HistoricodeAlteracoes1;    // shown when the database keeps the change log
    QAction *ModelosdeDocumentos1;      // shown when the database keeps the members' documents
    QAction *MovimentodoRol1;           // shown when the database has the roll

    void FormShow();
    void btnFecharClick();
    void btnAbrirClick();
    void listTodaysEvents(); // today's events list, into txtEventos
    void listTodaysBirthdays(); // the members born on this day, into txtAniversariantes
    // Every command, in menu order; each one QAction.
    const QList<MenuCommand> &commands() const { return m_commands; }
    // Which commands are shown, derived in this one place: those the signed-in
    // account's profile sees (Session), and only where the database has the
    // level they need; a menu left with nothing to show goes too. Runs when
    // the window is shown and after a restore.
    void updateCommands();

signals:
    void closed(); // the program ends

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void buildToolbar();
    void sizeToText();
    void buildMenu();
    void buildBody();
    void connectCommands();
    void hideEmptyMenus();

    QList<MenuCommand> m_commands;
};

extern TFMenu *FMenu;
