#pragma once

#include <QMainWindow>

class QAction;
class QFrame;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QToolButton;

// The main window: the toolbar and menu that open every register, the cash
// book and its report, and a side panel with today's events. Closing it ends
// the program.
class TFMenu : public QMainWindow
{
    Q_OBJECT
public:
    explicit TFMenu(QWidget *owner);

    QFrame *Panel1, *Panel2, *Panel3;
    QToolButton *SpeedButton1, *SpeedButton2, *SpeedButton3, *btnLivro, *SpeedButton5, *SpeedButton4;
    QWidget *Image1;
    QLabel *Label1, *Label2;
    QPushButton *btnFechar, *btnAbrir;
    QPlainTextEdit *txtEventos, *txtAniversariantes;
    QMenu *Cadastros1, *Movimentaes1, *Caixa1, *Configuraes1;
    QAction *Cargos1, *Evento1, *Membros1, *Funcionrios1, *CadastrodoLivroCaixadoMs1, *MovimentaesdoLivroCaixa1,
        *RelatriodeLivroCaixa1, *Parametros, *CopiadeSeguranca1, *Sair1;
    QAction *ResumoAnualdoCaixa1, *LivroCaixaAnual1, *DadosdaIgreja1, *Aniversariantes1;
    QAction *Categorias1, *Dizimistas1; // shown when the database has the categories of the cash book

    void FormShow();
    void btnFecharClick();
    void btnAbrirClick();
    void listTodaysEvents(); // today's events list, into txtEventos
    void listTodaysBirthdays(); // the members born on this day, into txtAniversariantes
    void showCategoryCommands(); // Categorias and Dizimistas, as the database allows

signals:
    void closed(); // the program ends

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void buildToolbar();
    void buildMenu();
    void buildBody();
    void connectCommands();
};

extern TFMenu *FMenu;
