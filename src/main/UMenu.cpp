#include "UMenu.h"

#include "datamodule/Birthdays.h"
#include "datamodule/ChangeLog.h"
#include "datamodule/Documents.h"
#include "datamodule/Roll.h"
#include "datamodule/SchemaUpgrade.h"
#include "datamodule/Session.h"
#include "dataset/DbError.h"
#include "uikit/Appearance.h"
#include "uikit/ErrorGuard.h"
#include "uikit/FormKit.h"
#include "uikit/Messages.h"
#include "uikit/Today.h"
#include "datamodule/CashCategories.h"
#include "UAparencia.h"
#include "UDadosIgreja.h"
#include "UModelos.h"
#include "UCopiaSeguranca.h"
#include "UParamentros.h"
#include "UUsuario.h"
#include "cashbook/ULivroCaixa.h"
#include "cashbook/UMovimentacoes.h"
#include "history/UHistorico.h"
#include "datamodule/UDM.h"
#include "registers/UCargo.h"
#include "registers/UCategoria.h"
#include "registers/UEvento.h"
#include "registers/UFuncionario.h"
#include "registers/UMembro.h"
#include "reports/cadastros/UFAniversariantes.h"
#include "reports/cadastros/UFMovimentoRol.h"
#include "reports/caixa/UFDizimistas.h"
#include "reports/caixa/UFLivro.h"
#include "reports/caixa/UFLivroAnual.h"
#include "reports/caixa/UFResumoAnual.h"
#include "signin/LauncherRepair.h"

#include <QCloseEvent>
#include <QHash>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QMenuBar>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>

#include <algorithm>

TFMenu *FMenu = nullptr;

namespace {

QFrame *whitePanel(QWidget *parent, const QString &name)
{
    auto *panel = new QFrame(parent);
    panel->setObjectName(name);
    FormKit::whiteBackground(panel);
    return panel;
}

QPushButton *smallButton(QWidget *parent, const QString &name, const QString &caption, const QString &colour)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setFocusPolicy(Qt::NoFocus);
    b->setCursor(Qt::PointingHandCursor);
    b->setStyleSheet(QStringLiteral("QPushButton { color: %1; font-weight: bold; padding: 2px 6px; }").arg(colour));
    return b;
}

// A picture that fills its whole area, cut at the edges where the shapes differ.
class BackgroundPicture : public QWidget
{
public:
    BackgroundPicture(QWidget *parent, const QString &path) : QWidget(parent), m_icon(path)
    {
        setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        const QSize natural = m_icon.availableSizes().value(0, QSize(1600, 1000));
        const QSize cover = natural.scaled(size(), Qt::KeepAspectRatioByExpanding);
        if (m_cache.size() != cover)
            m_cache = m_icon.pixmap(cover);
        QPainter painter(this);
        painter.drawPixmap((width() - m_cache.width()) / 2, (height() - m_cache.height()) / 2, m_cache);
    }

private:
    QIcon m_icon;
    QPixmap m_cache;
};

// An empty number is written as nothing, others without leading zeros.
QString plainNumber(const QVariant &v)
{
    return v.isNull() ? QString() : QString::number(v.toInt());
}

} // namespace

TFMenu::TFMenu(QWidget *owner) : QMainWindow(owner, Qt::Window)
{
    FMenu = this;
    setObjectName(QStringLiteral("FMenu"));
    setWindowTitle(Messages::kApplicationTitle);
    buildMenu();
    buildBody();
    connectCommands();
    TFHistorico::offerToRegisters();
}

void TFMenu::buildToolbar()
{
    Panel1 = whitePanel(this, QStringLiteral("Panel1"));
    Panel1->setFrameShape(QFrame::Box);
    auto *row = new QHBoxLayout(Panel1);
    row->setContentsMargins(4, 2, 4, 2);
    row->setSpacing(2);
    const auto button = [this, row](const char *name, const QString &caption, const char *icon, const QString &hint) {
        QToolButton *b = FormKit::pictureButton(Panel1, QString::fromLatin1(name), caption,
                                                QStringLiteral(":/icons/%1.svg").arg(QLatin1String(icon)), true);
        b->setToolTip(hint);
        row->addWidget(b);
        return b;
    };
    SpeedButton1 = button("SpeedButton1", QStringLiteral("Cadastro de Membros"), "membros",
                          QStringLiteral("Cadastramento de Membros, Consulta e Relatório Impresso dos mesmos"));
    SpeedButton2 = button("SpeedButton2", QStringLiteral("Movimentações do Caixa"), "movimentacoes",
                          QStringLiteral("Movimentações no Caixa, Entrada e Saídas, elas devem estar ligadas a um "
                                         "LIVRO CAIXA, para cadastrar um livro caixa vá em Movimentações > Livro "
                                         "Caixa > Cadastro do Livro Caixa do Mês"));
    SpeedButton3 = button("SpeedButton3", QStringLiteral("Cadastro de Funcionários"), "funcionarios",
                          QStringLiteral("Cadastramento de Funcionários, Consulta e Relatório Impresso dos mesmos"));
    btnLivro = button("btnLivro", QStringLiteral("Consulta ao Livro Caixa"), "livro",
                      QStringLiteral("Consulta na forma de relatório do Livro Caixa, ela traz as "
                                     "movimentações(Entradas e Saidas), bem como o saldo do mês anterior e o "
                                     "saldo atual do mês"));
    SpeedButton5 = button("SpeedButton5", QStringLiteral("Eventos (Agenda)"), "eventos",
                          QStringLiteral("Cadastramento de Eventos na Igreja, Consulta e Relatório Impresso dos mesmos"));
    SpeedButton4 = button("SpeedButton4", QStringLiteral("Sair"), "sair", QStringLiteral("Sair"));
    row->addStretch();
    lblUsuario = FormKit::captionLabel(Panel1, QStringLiteral("lblUsuario"), QString(), nullptr, 10, true);
    lblUsuario->setAccessibleName(QStringLiteral("Conta em uso"));
    row->addWidget(lblUsuario);
    row->addSpacing(8);
}

// The toolbar's buttons of equal size, wide enough for the longest caption,
// and the events panel, for the text size in use.
void TFMenu::sizeToText()
{
    int width = 0;
    for (QToolButton *b : Panel1->findChildren<QToolButton *>())
        width = qMax(width, b->fontMetrics().horizontalAdvance(b->text()) + Appearance::scaled(24));
    for (QToolButton *b : Panel1->findChildren<QToolButton *>()) {
        b->setFixedSize(width, Appearance::scaled(64));
        b->setIconSize(Appearance::scaled(QSize(32, 32)));
    }
    Panel2->setFixedWidth(Appearance::scaled(214));
    Panel3->setFixedWidth(Appearance::scaled(45));
}

// Another text size chosen in "Aparência": the window follows at once.
void TFMenu::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::FontChange && Panel3)
        sizeToText();
}

void TFMenu::buildMenu()
{
    QMenuBar *bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));
    const auto item = [](QMenu *menu, const char *name, const QString &caption, const char *icon) {
        QAction *a = menu->addAction(QIcon(QStringLiteral(":/icons/%1.svg").arg(QLatin1String(icon))), caption);
        a->setObjectName(QString::fromLatin1(name));
        return a;
    };
    Cadastros1 = bar->addMenu(QStringLiteral("Cadastros"));
    Cadastros1->setObjectName(QStringLiteral("Cadastros1"));
    Cargos1 = item(Cadastros1, "Cargos1", QStringLiteral("Cargos"), "cargos");
    Cadastros1->addSeparator();
    Evento1 = item(Cadastros1, "Evento1", QStringLiteral("Eventos"), "eventos");
    Cadastros1->addSeparator();
    Membros1 = item(Cadastros1, "Membros1", QStringLiteral("Membros"), "membros");
    Cadastros1->addSeparator();
    Aniversariantes1 = item(Cadastros1, "Aniversariantes1", QStringLiteral("Aniversariantes"), "aniversariantes");
    MovimentodoRol1 = item(Cadastros1, "MovimentodoRol1", QStringLiteral("Movimento do Rol"), "relatorio");
    Cadastros1->addSeparator();
    Funcionrios1 = item(Cadastros1, "Funcionrios1", QStringLiteral("Funcionários"), "funcionarios");
    Cadastros1->addSeparator();
    Categorias1 = item(Cadastros1, "Categorias1", QStringLiteral("Categorias"), "categorias");

    Movimentaes1 = bar->addMenu(QStringLiteral("Movimentações"));
    Movimentaes1->setObjectName(QStringLiteral("Movimentaes1"));
    Caixa1 = Movimentaes1->addMenu(QIcon(QStringLiteral(":/icons/livro.svg")), QStringLiteral("Livro Caixa"));
    Caixa1->setObjectName(QStringLiteral("Caixa1"));
    CadastrodoLivroCaixadoMs1 = item(Caixa1, "CadastrodoLivroCaixadoMs1", QStringLiteral("Cadastro do Livro Caixa do Mês"),
                                     "livro_cadastro");
    Caixa1->addSeparator();
    MovimentaesdoLivroCaixa1 = item(Caixa1, "MovimentaesdoLivroCaixa1", QStringLiteral("Movimentações do Livro Caixa"),
                                    "movimentacoes");
    Caixa1->addSeparator();
    RelatriodeLivroCaixa1 = item(Caixa1, "RelatriodeLivroCaixa1", QStringLiteral("Relatório de Livro Caixa"), "relatorio");
    Movimentaes1->addSeparator();
    ResumoAnualdoCaixa1 = item(Movimentaes1, "ResumoAnualdoCaixa1", QStringLiteral("Resumo Anual do Caixa"), "relatorio");
    LivroCaixaAnual1 = item(Movimentaes1, "LivroCaixaAnual1", QStringLiteral("Livro Caixa Anual"), "livro");
    Dizimistas1 = item(Movimentaes1, "Dizimistas1", QStringLiteral("Dizimistas"), "dizimistas");

    Configuraes1 = bar->addMenu(QStringLiteral("Configurações"));
    Configuraes1->setObjectName(QStringLiteral("Configuraes1"));
    Parametros = item(Configuraes1, "Parametros", QStringLiteral("Parametros"), "parametros");
    DadosdaIgreja1 = item(Configuraes1, "DadosdaIgreja1", QStringLiteral("Dados da Igreja"), "login_igreja");
    Usuarios1 = item(Configuraes1, "Usuarios1", QStringLiteral("Usuários"), "login_cadeado");
    ModelosdeDocumentos1 = item(Configuraes1, "ModelosdeDocumentos1", QStringLiteral("Modelos de Documentos"),
                                "imprimir");
    HistoricodeAlteracoes1 = item(Configuraes1, "HistoricodeAlteracoes1", QStringLiteral("Histórico de Alterações"),
                                  "historico");
    Aparencia1 = item(Configuraes1, "Aparencia1", QStringLiteral("Aparência"), "aparencia");
    CopiadeSeguranca1 = item(Configuraes1, "CopiadeSeguranca1", QStringLiteral("Cópia de Segurança"), "copia");

    Sair1 = bar->addAction(QStringLiteral("Sair")); // a bar item shows its caption, not a picture
    Sair1->setObjectName(QStringLiteral("Sair1"));
}

void TFMenu::buildBody()
{
    auto *central = new QWidget(this);
    auto *column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    buildToolbar();
    column->addWidget(Panel1);

    auto *below = new QHBoxLayout;
    below->setSpacing(0);
    Image1 = new BackgroundPicture(central, QStringLiteral(":/fundo.svg"));
    Image1->setObjectName(QStringLiteral("Image1"));
    below->addWidget(Image1, 1);

    Panel2 = whitePanel(central, QStringLiteral("Panel2"));
    txtEventos = new QPlainTextEdit(Panel2);
    txtEventos->setObjectName(QStringLiteral("txtEventos"));
    txtEventos->setReadOnly(true);
    Label1 = FormKit::captionLabel(Panel2, QStringLiteral("Label1"), QStringLiteral("Eventos Para Hoje:"), txtEventos, 0, true);
    btnFechar = smallButton(Panel2, QStringLiteral("btnFechar"), QStringLiteral("Fechar"), QStringLiteral("#c00000"));
    auto *head = new QHBoxLayout;
    head->addWidget(Label1, 1);
    head->addWidget(btnFechar);
    auto *panelColumn = new QVBoxLayout(Panel2);
    panelColumn->setContentsMargins(6, 6, 6, 6);
    panelColumn->addLayout(head);
    panelColumn->addWidget(txtEventos, 1);
    // Today's birthdays, below the events and with the same look.
    txtAniversariantes = new QPlainTextEdit(Panel2);
    txtAniversariantes->setObjectName(QStringLiteral("txtAniversariantes"));
    txtAniversariantes->setReadOnly(true);
    Label2 = FormKit::captionLabel(Panel2, QStringLiteral("Label2"), QStringLiteral("Aniversariantes de Hoje:"),
                                   txtAniversariantes, 0, true);
    panelColumn->addSpacing(6);
    panelColumn->addWidget(Label2);
    panelColumn->addWidget(txtAniversariantes, 1);
    below->addWidget(Panel2);

    Panel3 = whitePanel(central, QStringLiteral("Panel3"));
    btnAbrir = smallButton(Panel3, QStringLiteral("btnAbrir"), QStringLiteral("Abrir"), QStringLiteral("#008000"));
    auto *collapsed = new QVBoxLayout(Panel3);
    collapsed->setContentsMargins(2, 6, 2, 6);
    collapsed->addWidget(btnAbrir, 0, Qt::AlignTop);
    Panel3->hide();
    below->addWidget(Panel3);

    column->addLayout(below, 1);
    setCentralWidget(central);
    sizeToText();
}

void TFMenu::connectCommands()
{
    connectGuarded(btnFechar, &QPushButton::clicked, this, [this] { btnFecharClick(); });
    connectGuarded(btnAbrir, &QPushButton::clicked, this, [this] { btnAbrirClick(); });
    const auto opens = [this](auto *&global) { return [this, &global] { FormKit::openModal(global, this); }; };
    using A = Area;
    m_commands = {
        {Cargos1, nullptr, QStringLiteral("FCargo"), opens(FCargo), A::Employees},
        {Evento1, SpeedButton5, QStringLiteral("FEvento"), opens(FEvento), A::Members},
        {Membros1, SpeedButton1, QStringLiteral("FMembro"), opens(FMembro), A::Members},
        {Aniversariantes1, nullptr, QStringLiteral("FFAniversariantes"), opens(FFAniversariantes), A::Members},
        {MovimentodoRol1, nullptr, QStringLiteral("FFMovimentoRol"), opens(FFMovimentoRol), A::Members, Roll::kLevel},
        {Funcionrios1, SpeedButton3, QStringLiteral("FFuncionario"), opens(FFuncionario), A::Employees},
        {Categorias1, nullptr, QStringLiteral("FCategoria"), opens(FCategoria), A::Cash, 1},
        {CadastrodoLivroCaixadoMs1, nullptr, QStringLiteral("FLivroCaixa"), opens(FLivroCaixa), A::Cash},
        {MovimentaesdoLivroCaixa1, SpeedButton2, QStringLiteral("FMovimentacoes"), opens(FMovimentacoes), A::Cash},
        {RelatriodeLivroCaixa1, btnLivro, QStringLiteral("FFLivro"), opens(FFLivro), A::Cash},
        {ResumoAnualdoCaixa1, nullptr, QStringLiteral("FFResumoAnual"), opens(FFResumoAnual), A::Cash},
        {LivroCaixaAnual1, nullptr, QStringLiteral("FFLivroAnual"), opens(FFLivroAnual), A::Cash},
        {Dizimistas1, nullptr, QStringLiteral("FFDizimistas"), opens(FFDizimistas), A::Cash, 1},
        {Parametros, nullptr, QStringLiteral("FParamentros"), opens(FParamentros), A::Configuration},
        {DadosdaIgreja1, nullptr, QStringLiteral("FDadosIgreja"), opens(FDadosIgreja), A::Configuration},
        {Usuarios1, nullptr, QStringLiteral("FUsuario"), opens(FUsuario), A::Configuration, 2},
        {ModelosdeDocumentos1, nullptr, QStringLiteral("FModelos"), opens(FModelos), A::Documents, Documents::kLevel},
        {HistoricodeAlteracoes1, nullptr, QStringLiteral("FHistorico"), opens(FHistorico), A::History,
         ChangeLog::kLevel},
        {CopiadeSeguranca1, nullptr, QStringLiteral("FCopiaSeguranca"), opens(FCopiaSeguranca), A::Backup},
        {Aparencia1, nullptr, QStringLiteral("FAparencia"), opens(FAparencia)},
        {Sair1, SpeedButton4, QString(), [this] { close(); }},
    };
    for (const MenuCommand &command : m_commands) {
        connectGuarded(command.action, &QAction::triggered, this, command.run);
        if (command.button)
            FormKit::showAction(command.button, command.action);
    }
    if (DM) // a restored database: today's events as it holds them, and the commands of its level
        connectGuarded(DM, &TDM::reopened, this, [this] {
            listTodaysEvents();
            updateCommands();
        });
}

void TFMenu::updateCommands()
{
    QHash<int, bool> levels{{0, true}}; // each level asked of the database once
    for (const MenuCommand &command : m_commands) {
        if (!levels.contains(command.level))
            levels.insert(command.level, SchemaUpgrade::available(DM->SQLConnection1(), command.level));
        const bool seen = !command.area || Session::access(*command.area) != Access::None;
        command.action->setVisible(seen && levels.value(command.level));
    }
    hideEmptyMenus();
    lblUsuario->setText(Session::caption());
}

// The submenu first: the menu that holds it then counts it as it is now.
void TFMenu::hideEmptyMenus()
{
    for (QMenu *menu : {Caixa1, Cadastros1, Movimentaes1, Configuraes1}) {
        const QList<QAction *> items = menu->actions();
        menu->menuAction()->setVisible(std::any_of(items.begin(), items.end(), [](const QAction *a) {
            return !a->isSeparator() && a->isVisible();
        }));
    }
}

void TFMenu::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (!event->spontaneous())
        runGuarded([this] { FormShow(); });
}

// Only what the window shows is read before it is there; the tables the
// registers and lists need are read beside it, and each window opens them
// when it is first shown, taking what was read. A table the database holds in
// another form than the program's is said once, in one box with the others,
// and the rest of the program works on.
void TFMenu::FormShow()
{
    updateCommands();
    QStringList refusals;
    const auto attempt = [&refusals](const std::function<void()> &step) {
        try {
            step();
        } catch (const DbError &e) {
            if (!refusals.contains(e.text()))
                refusals << e.text();
        }
    };
    attempt([this] { listTodaysEvents(); });
    attempt([this] { listTodaysBirthdays(); });
    // What the registers and lists will need, read beside the window.
    for (TableDataset *table : {DM->TBMEMBRO, DM->TBFUNCIONARIO, DM->TBMOVIMENTACOES, DM->TBLIVRO, DM->TBCARGO})
        attempt([table] { table->readAhead(); });
    if (!refusals.isEmpty())
        Messages::error(refusals.join(QStringLiteral("\n\n")));
}

void TFMenu::listTodaysEvents()
{
    txtEventos->clear();
    QStringList lines{QStringLiteral("Hoje é ") + QLocale().toString(Today::date(), QLocale::ShortFormat), QString()};
    DM->SQLEVENTO->setActive(true);
    TableDataset *events = DM->TBEVENTO;
    events->open();
    const int date = DM->TBEVENTOEVEDATA->index();
    const int description = DM->TBEVENTOEVEDESCRICAO->index();
    const int hour = DM->TBEVENTOEVEHORA->index();
    const int minutes = DM->TBEVENTOEVEMINUTOS->index();
    for (int row = 0; row < events->recordCount(); ++row) {
        if (events->valueAt(row, date).toDate() != Today::date())
            continue;
        lines << QStringLiteral("* %1 às %2:%3")
                     .arg(events->valueAt(row, description).toString(), plainNumber(events->valueAt(row, hour)),
                          plainNumber(events->valueAt(row, minutes)));
    }
    txtEventos->setPlainText(lines.join(u'\n'));
}

// Every stored member, whatever search the members register left on, by
// name: "* NOME (34 anos)"; nothing at all when nobody was born on this day.
void TFMenu::listTodaysBirthdays()
{
    txtAniversariantes->clear();
    QStringList lines;
    for (const Birthdays::Born &b : Birthdays::bornOn(Today::date()))
        lines << QStringLiteral("* %1 (%2)").arg(b.name, Birthdays::ageText(b.age));
    txtAniversariantes->setPlainText(lines.join(u'\n'));
}

void TFMenu::btnFecharClick()
{
    Panel2->hide();
    Panel3->show();
}

void TFMenu::btnAbrirClick()
{
    Panel3->hide();
    Panel2->show();
    listTodaysEvents();
    listTodaysBirthdays();
}

// FormClose
void TFMenu::closeEvent(QCloseEvent *event)
{
    runGuarded([] { LauncherRepair::run(LauncherRepair::Form::ServerMarker); });
    event->accept();
    emit closed();
}
