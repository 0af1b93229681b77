// kelmara-retratos PASTA [grande|muito-grande]: pictures of the whole
// program on a demo database, at the text size named (normal when none is).
// Opens every window (both pages of each register, in browse and in edit
// state, the filter windows, the church's data, the accounts, the backup
// window with and without photographs to reduce, the main window with today's
// events and birthdays, as an Administrador and as the treasury, a register
// the treasury only reads, a closed month and the change log) and saves a PNG
// of each; makes every report through
// its own window and saves it as PDF and as one PNG per page. Runs headless.
#include "DemoData.h"
#include "DemoPhotos.h"

#include "cashbook/ULivroCaixa.h"
#include "cashbook/UMovimentacoes.h"
#include "uikit/Appearance.h"
#include "uikit/KelmaraApplication.h"
#include "uikit/Messages.h"
#include "datamodule/ClosedMonths.h"
#include "datamodule/SystemPaths.h"
#include "datamodule/UDM.h"
#include "controls/DBLookupComboBox.h"
#include "dataset/DbError.h"
#include "main/UAparencia.h"
#include "main/UDadosIgreja.h"
#include "backup/Backup.h"
#include "history/UHistorico.h"
#include "main/UCopiaSeguranca.h"
#include "main/UMenu.h"
#include "main/UDefinirSenha.h"
#include "main/UParamentros.h"
#include "main/UUsuario.h"
#include "datamodule/Session.h"
#include "registers/UCargo.h"
#include "registers/UCategoria.h"
#include "registers/UEvento.h"
#include "registers/UFuncionario.h"
#include "registers/UMembro.h"
#include "reports/cadastros/UFAniversariantes.h"
#include "reports/caixa/UFDizimistas.h"
#include "reports/cadastros/UFEvento.h"
#include "reports/caixa/UFLivro.h"
#include "reports/caixa/UFLivroAnual.h"
#include "reports/caixa/UFResumoAnual.h"
#include "reports/cadastros/UFMembro.h"
#include "reports/cadastros/UFMovimentoRol.h"
#include "reports/engine/PrintPreview.h"
#include "reports/engine/Report.h"
#include "signin/ULogin.h"
#include "signin/UTrocaSenha.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QProgressDialog>
#include <QSqlError>
#include <QSqlQuery>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>
#include <QTimer>
#include <QToolButton>

#include <memory>

namespace {

QDir output;
QTextStream err(stderr);

void settle()
{
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
}

void savePicture(QWidget *window, const QString &name)
{
    settle();
    const QString path = output.filePath(name + QStringLiteral(".png"));
    if (!window->grab().save(path))
        err << "não foi possível gravar " << path << Qt::endl;
}

// A register: both pages in browse state, then the entry page in edit state.
template <typename Window> void pictureRegister(QWidget *owner, const QString &name)
{
    auto window = std::make_unique<Window>(owner);
    window->show();
    settle();
    window->PageControl1->setCurrentIndex(0);
    savePicture(window.get(), name + QStringLiteral("-cadastro"));
    window->PageControl1->setCurrentIndex(1);
    savePicture(window.get(), name + QStringLiteral("-consulta"));
    window->PageControl1->setCurrentIndex(0);
    if (window->btnAlterar->isEnabled()) {
        window->btnAlterar->click();
        savePicture(window.get(), name + QStringLiteral("-edicao"));
        window->btnCancelar->click();
    }
}

// A report window's pages, as PDF and PNG.
void saveReport(const ReportRun &run, const QString &name)
{
    if (run.pages().isEmpty()) {
        err << "o relatório " << name << " não foi gerado" << Qt::endl;
        return;
    }
    writePdf(output.filePath(name + QStringLiteral(".pdf")), run);
    constexpr qreal Dpi = 110;
    const qreal scale = Dpi / 254.0;
    for (qsizetype i = 0; i < run.pages().size(); ++i) {
        QImage page(qRound(run.pageSize().width() * scale), qRound(run.pageSize().height() * scale),
                    QImage::Format_RGB32);
        page.setDotsPerMeterX(qRound(Dpi / 0.0254));
        page.setDotsPerMeterY(qRound(Dpi / 0.0254));
        page.fill(Qt::white);
        QPainter painter(&page);
        paintPage(painter, run.pages().at(i), run.images(), scale);
        painter.end();
        page.save(output.filePath(QStringLiteral("%1-pagina%2.png").arg(name).arg(i + 1)));
    }
}

// Clicks a button that previews a report; saves the preview window and the
// report's pages, then closes the preview as the user would.
void pictureReport(QAbstractButton *button, const QString &name)
{
    ReportRun run;
    bool previewSaved = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto *preview = qobject_cast<PrintPreview *>(QApplication::activeModalWidget());
        if (!preview || !preview->isLaidOut())
            return;
        poll.stop();
        run = preview->run();
        if (!previewSaved) {
            preview->resize(1000, 760);
            preview->setZoom(PrintPreview::Zoom::PageWidth);
            savePicture(preview, QStringLiteral("visualizacao-") + name);
            previewSaved = true;
        }
        preview->close();
    });
    poll.start(20);
    button->click();
    poll.stop();
    saveReport(run, name);
}

void chooseRow(DBLookupComboBox *list, int row)
{
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Home);
    for (int i = 0; i < row; ++i)
        QTest::keyClick(list, Qt::Key_Down);
}

// The list row of the first member with a photograph (0 when none has one).
int firstMemberWithPhotograph()
{
    TableDataset *members = DM->TBMEMBRO;
    for (int row = 0; row < members->recordCount(); ++row)
        if (!members->valueAt(row, DM->TBMEMBROMEMFOTO->index()).isNull())
            return row;
    return 0;
}

void pictureMemberReports(QWidget *owner)
{
    TFFMembro filter(owner);
    filter.show();
    savePicture(&filter, QStringLiteral("filtro-membros"));
    filter.RGMembros->findChild<QAbstractButton *>(QStringLiteral("RGMembros0"))->click();
    pictureReport(filter.btnGerar, QStringLiteral("relatorio-lista-de-membros"));
    chooseRow(filter.DBLookupComboBox1, firstMemberWithPhotograph());
    filter.RGMembros->findChild<QAbstractButton *>(QStringLiteral("RGMembros1"))->click();
    pictureReport(filter.btnGerar, QStringLiteral("relatorio-ficha-de-membro"));
}

void pictureBirthdayReport(QWidget *owner)
{
    TFFAniversariantes filter(owner);
    filter.show();
    savePicture(&filter, QStringLiteral("filtro-aniversariantes"));
    pictureReport(filter.btnGerar, QStringLiteral("relatorio-aniversariantes"));
}

// The cards of every member listed, the question answered "Sim".
void pictureMembershipCards(QWidget *owner)
{
    TFMembro members(owner);
    members.show();
    settle();
    Messages::Recorder answers;
    answers.answers = {true};
    pictureReport(members.btnCarteirinha, QStringLiteral("relatorio-carteirinhas"));
}

// The secretary's prints: everything kept about the member with a
// photograph, from the roll's page, and the roll's year.
void pictureSecretaryReports(QWidget *owner)
{
    {
        TFMembro members(owner);
        members.show();
        settle();
        members.PageControl1->setCurrentWidget(members.TabRol);
        TableDataset *table = DM->TBMEMBRO;
        table->locate(QStringLiteral("MEMCODIGO"),
                      {table->valueAt(firstMemberWithPhotograph(), DM->TBMEMBROMEMCODIGO->index())});
        settle();
        pictureReport(members.btnDadosMembro, QStringLiteral("relatorio-dados-do-membro"));
    }
    TFFMovimentoRol roll(owner);
    roll.show();
    roll.txtAno->setText(QStringLiteral("2011"));
    pictureReport(roll.btnGerar, QStringLiteral("relatorio-movimento-do-rol"));
}

// A few demo members have their birthday today, so that the main window
// lists them.
void birthdaysToday()
{
    TableDataset *members = DM->TBMEMBRO;
    members->open();
    const QDate today = QDate::currentDate();
    for (int row : {2, 11, 23}) {
        if (row >= members->recordCount())
            break;
        members->moveTo(row);
        const int year = DM->TBMEMBROMEMDATANASC->asDate().isValid() ? DM->TBMEMBROMEMDATANASC->asDate().year() : 1980;
        const QDate born(year, today.month(), today.day());
        members->edit();
        DM->TBMEMBROMEMDATANASC->setAsDate(born.isValid() ? born : QDate(1980, 2, 29));
        members->post();
    }
    members->applyUpdates(0);
    members->first();
}

void pictureEventReport(QWidget *owner)
{
    TFFEvento filter(owner);
    filter.show();
    settle();
    filter.txtDataInicial->setText(QDate::currentDate().addDays(-60).toString(QStringLiteral("dd/MM/yyyy")));
    filter.txtDataFinal->setText(QDate::currentDate().addDays(60).toString(QStringLiteral("dd/MM/yyyy")));
    savePicture(&filter, QStringLiteral("filtro-eventos"));
    pictureReport(filter.btnRelatorio, QStringLiteral("relatorio-eventos"));
}

void pictureCashBookReport(QWidget *owner)
{
    TFFLivro filter(owner);
    filter.show();
    settle();
    chooseRow(filter.DBLookupComboBox1, 0);
    filter.DBLookupComboBox1Exit();
    savePicture(&filter, QStringLiteral("filtro-livro-caixa"));
    pictureReport(filter.btnGerar, QStringLiteral("relatorio-livro-caixa"));
}

// The church's data typed and saved, so the yearly reports print them.
void pictureChurchData(QWidget *owner)
{
    TFDadosIgreja window(owner);
    window.show();
    settle();
    const std::pair<QLineEdit *, const char *> typed[] = {
        {window.txtCNPJ, "11.222.333/0001-81"},
        {window.txtEndereco, "Rua das Flores, 123 - Centro"},
        {window.txtCidade, "Campinas/SP"},
        {window.txtTesoureiro, "Maria Aparecida da Silva"},
        {window.txtPastor, "Pr. João Batista Souza"},
        {window.txtConselho1, "Ana Paula Ferreira"},
        {window.txtConselho2, "José Carlos Pereira"},
        {window.txtConselho3, "Marcos Antônio Lima"},
    };
    for (const auto &[box, text] : typed)
        box->setText(QString::fromUtf8(text));
    savePicture(&window, QStringLiteral("dados-da-igreja"));
    window.btnSalvar->click();
}

// The month's accounts (with the church's officers to sign) and the tithers
// of the demo year.
void pictureCategoryReports(QWidget *owner)
{
    TFFLivro filter(owner);
    filter.show();
    settle();
    chooseRow(filter.DBLookupComboBox1, 0);
    filter.DBLookupComboBox1Exit();
    if (filter.btnPrestacao)
        pictureReport(filter.btnPrestacao, QStringLiteral("relatorio-prestacao-contas"));
    TFFDizimistas tithers(owner);
    tithers.show();
    tithers.txtDataInicial->setText(QStringLiteral("01/01/2011")); // the demo year
    tithers.txtDataFinal->setText(QStringLiteral("31/12/2011"));
    savePicture(&tithers, QStringLiteral("filtro-dizimistas"));
    pictureReport(tithers.btnGerar, QStringLiteral("relatorio-dizimistas"));
}

// The receipt of the first entry booked with its member.
void pictureReceipt(QWidget *owner)
{
    TFMovimentacoes movements(owner);
    movements.show();
    settle();
    TableDataset *table = DM->TBMOVIMENTACOES;
    for (int row = 0; row < table->recordCount() && !movements.btnRecibo->isEnabled(); ++row)
        table->moveTo(row);
    if (!movements.btnRecibo->isEnabled()) {
        err << "nenhuma entrada com membro para o recibo" << Qt::endl;
        return;
    }
    pictureReport(movements.btnRecibo, QStringLiteral("relatorio-recibo"));
}

// The summary first, while most months are not yet reported (and so marked),
// then the yearly book, which stores every month.
void pictureYearReports(QWidget *owner)
{
    TFFResumoAnual summary(owner);
    summary.show();
    savePicture(&summary, QStringLiteral("filtro-resumo-anual"));
    pictureReport(summary.btnGerar, QStringLiteral("relatorio-resumo-anual"));
    TFFLivroAnual book(owner);
    book.show();
    savePicture(&book, QStringLiteral("filtro-livro-caixa-anual"));
    pictureReport(book.btnGerar, QStringLiteral("relatorio-livro-caixa-anual"));
}

// The book of a month of the demo year; 0 when there is none.
int bookOfMonth(int month)
{
    TableDataset *books = DM->TBLIVRO;
    books->open();
    for (int row = 0; row < books->allRowCount(); ++row)
        if (books->allRowValue(row, DM->TBLIVROLIVANO->index()).toInt() == 2011
            && books->allRowValue(row, DM->TBLIVROLIVMES->index()).toInt() == month)
            return books->allRowValue(row, DM->TBLIVROLIVCODIGO->index()).toInt();
    return 0;
}

// The first quarter of the demo year closed: the books register on March,
// March's cash book with its closing line, the summary with the closed
// months; then March reopened for a reason, and the change log's window
// with its printout.
void pictureClosedMonths(QWidget *owner)
{
    for (int month = 1; month <= 3; ++month)
        ClosedMonths::close(bookOfMonth(month), QDate(2011, month + 1, 5));
    {
        TFLivroCaixa books(owner);
        books.show();
        settle();
        DM->TBLIVRO->locate(QStringLiteral("LIVCODIGO"), {bookOfMonth(3)});
        savePicture(&books, QStringLiteral("livro-caixa-fechado"));
    }
    TFFLivro filter(owner);
    filter.show();
    settle();
    TableDataset *books = DM->TBLIVRO;
    for (int row = 0; row < books->recordCount(); ++row)
        if (books->valueAt(row, DM->TBLIVROLIVCODIGO->index()).toInt() == bookOfMonth(3))
            chooseRow(filter.DBLookupComboBox1, row);
    pictureReport(filter.btnGerar, QStringLiteral("relatorio-livro-caixa-fechado"));
    TFFResumoAnual summary(owner);
    summary.show();
    pictureReport(summary.btnGerar, QStringLiteral("relatorio-resumo-anual-fechado"));
    ClosedMonths::reopen(bookOfMonth(3), QStringLiteral("Oferta do culto de 27/03 lançada em abril por engano"));

    TFHistorico history(owner);
    history.resize(1100, 640);
    history.show();
    history.txtDataInicial->clear();
    history.btnBuscar->click();
    savePicture(&history, QStringLiteral("historico"));
    history.cmbCadastro->setCurrentText(QStringLiteral("Livros"));
    history.btnBuscar->click();
    pictureReport(history.btnImprimir, QStringLiteral("relatorio-historico"));
}

void pictureEmployeeReport(QWidget *owner)
{
    TFFuncionario employees(owner);
    employees.show();
    settle();
    pictureReport(employees.btnRelatorio, QStringLiteral("relatorio-funcionarios"));
}

// The backup window with two checked copies of the demo database listed.
void pictureBackupWindow(QWidget *owner)
{
    const QString database = DM->databasePath();
    for (int i = 0; i < 2; ++i)
        Backup::makeCheckedCopy(database, Backup::folderForRun(database), {}, {});
    TFCopiaSeguranca window(owner);
    window.show();
    settle();
    savePicture(&window, QStringLiteral("copia-de-seguranca"));
}

// The backup window when old photographs are stored as a phone took them:
// "Reduzir Fotografias" offered, then the reduction under way with
// "Cancelar" (the file is not restored afterwards).
void pictureOversizedPhotographs(QWidget *owner)
{
    const DemoPhotos phone(1800, 1);
    QSqlQuery update(DM->SQLConnection1());
    update.prepare(QStringLiteral("UPDATE TMEMBRO SET MEMFOTO = ? WHERE MEMCODIGO = ?"));
    for (int code = 1; code <= 3; ++code) {
        update.bindValue(0, phone.forMember(code));
        update.bindValue(1, code);
        if (!update.exec())
            throw DbError(update.lastError().text());
    }
    TFCopiaSeguranca window(owner);
    window.show();
    while (window.surveying()) // the button shows when the survey ends
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
    settle();
    savePicture(&window, QStringLiteral("copia-de-seguranca-fotografias"));
    Messages::Recorder answers;
    answers.answers = {true, false};
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (!window.lblProgresso->text().startsWith(QLatin1String("Reduzindo")))
            return;
        poll.stop();
        savePicture(&window, QStringLiteral("copia-de-seguranca-reduzindo"));
    });
    poll.start(1);
    window.btnReduzirFotos->click();
    for (const QString &text : answers.texts())
        err << text << Qt::endl << Qt::endl;
}

// The progress of the copy made at the end of a run that wrote data.
void pictureExitCopy()
{
    DM->TBCARGO->open();
    DM->TBCARGO->insert();
    DM->TBCARGOCARCODIGO->setAsInteger(DM->TBCARGO->nextCode(DM->TBCARGOCARCODIGO->index()));
    DM->TBCARGOCARDESCRICAO->setAsString(QStringLiteral("CARGO DE EXEMPLO"));
    DM->TBCARGO->applyUpdates(0);
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto *box = qobject_cast<QProgressDialog *>(QApplication::activeModalWidget());
        if (!box || box->objectName() != QLatin1String("FCopiaSaida") || box->value() < 45)
            return;
        poll.stop();
        savePicture(box, QStringLiteral("copia-de-seguranca-saida"));
    });
    poll.start(5);
    TFCopiaSeguranca::makeExitCopy();
}

// The office's other accounts, each with its profile; master's first
// password changed, as the accounts window asks before a second account.
void addAccounts()
{
    TableDataset *accounts = DM->TBUSUARIO;
    accounts->open();
    accounts->first();
    accounts->edit();
    Accounts::putPassword(QStringLiteral("Pastor 2026"), false);
    accounts->post();
    const struct
    {
        const char *userName, *fullName, *profile, *active;
    } office[] = {{"maria", "Maria Aparecida da Silva", "Tesouraria", "SIM"},
                  {"joana", "Joana Ferreira", "Secretaria", "SIM"},
                  {"conselho", "Conselho Fiscal", "Consulta", "SIM"},
                  {"pedro", "Pedro Lima", "Secretaria", "NÃO"}};
    for (const auto &a : office) {
        accounts->insert();
        DM->TBUSUARIOUSUCODIGO->setAsInteger(accounts->nextCode(DM->TBUSUARIOUSUCODIGO->index()));
        DM->TBUSUARIOUSULOGIN->setAsString(QString::fromUtf8(a.userName));
        DM->TBUSUARIOUSUNOME->setAsString(QString::fromUtf8(a.fullName));
        DM->TBUSUARIOUSUPERFIL->setAsString(QString::fromUtf8(a.profile));
        DM->TBUSUARIOUSUATIVO->setAsString(QString::fromUtf8(a.active));
        Accounts::putPassword(QStringLiteral("Provisoria 1"), true);
        accounts->post();
    }
    accounts->applyUpdates(0);
}

// What the treasury sees: the main window, and the members it only reads.
void pictureTreasury(QWidget *owner, TFMenu *menu)
{
    Session::start(*Accounts::byCode(2));
    menu->updateCommands();
    savePicture(menu, QStringLiteral("principal-tesouraria"));
    pictureRegister<TFMembro>(owner, QStringLiteral("membros-tesouraria"));
    Session::start(*Accounts::byCode(1));
    menu->updateCommands();
}

// A demo database in `folder`, reached through the alias file as on a workstation.
void prepareDatabase(const QTemporaryDir &folder)
{
    DemoSizes sizes;
    sizes.members = 60;
    sizes.books = 12; // the demo year, 2011
    sizes.movements = 720; // about two pages for each month
    fillDemoData(folder.filePath(QStringLiteral("LIVRO.GDB")), sizes);
    SystemPaths::setDriveRoot(folder.path());
    QFile alias(SystemPaths::aliasFilePath());
    if (!alias.open(QIODevice::WriteOnly) || alias.write(folder.path().toLocal8Bit()) < 0)
        throw DbError(QStringLiteral("não foi possível gravar ") + alias.fileName());
}

void pictureEverything()
{
    TFLogin login;
    login.show();
    savePicture(&login, QStringLiteral("entrada"));
    {
        TFTrocaSenha change(&login);
        change.show();
        savePicture(&change, QStringLiteral("trocar-senha"));
    }
    addAccounts();
    login.txtLogin->clear(); // as at the next start, with the office's accounts
    login.txtSenha->clear();
    login.FormShow();
    savePicture(&login, QStringLiteral("entrada-escritorio"));
    Session::start(*Accounts::byCode(1));
    birthdaysToday();
    auto *menu = new TFMenu(&login);
    menu->resize(1200, 760);
    menu->show();
    savePicture(menu, QStringLiteral("principal"));
    pictureTreasury(menu, menu);
    pictureRegister<TFUsuario>(menu, QStringLiteral("usuarios"));
    {
        TFDefinirSenha password(menu, QStringLiteral("maria"));
        password.show();
        savePicture(&password, QStringLiteral("definir-senha"));
    }

    pictureRegister<TFMembro>(menu, QStringLiteral("membros"));
    pictureRegister<TFFuncionario>(menu, QStringLiteral("funcionarios"));
    pictureRegister<TFCargo>(menu, QStringLiteral("cargos"));
    pictureRegister<TFEvento>(menu, QStringLiteral("eventos"));
    pictureRegister<TFLivroCaixa>(menu, QStringLiteral("livro-caixa"));
    pictureRegister<TFMovimentacoes>(menu, QStringLiteral("movimentacoes"));
    pictureRegister<TFParamentros>(menu, QStringLiteral("parametros"));
    pictureRegister<TFCategoria>(menu, QStringLiteral("categorias"));
    pictureBackupWindow(menu);
    {
        TFAparencia appearance(menu);
        appearance.show();
        savePicture(&appearance, QStringLiteral("aparencia"));
    }

    pictureMemberReports(menu);
    pictureMembershipCards(menu);
    pictureSecretaryReports(menu);
    pictureBirthdayReport(menu);
    pictureEmployeeReport(menu);
    pictureEventReport(menu);
    pictureCashBookReport(menu);
    pictureChurchData(menu);
    pictureCategoryReports(menu);
    pictureReceipt(menu);
    pictureYearReports(menu);
    pictureOversizedPhotographs(menu);
    pictureClosedMonths(menu);
    pictureExitCopy();
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    Q_INIT_RESOURCE(resources);
    KelmaraApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    const QStringList sizes{QStringLiteral("normal"), QStringLiteral("grande"), QStringLiteral("muito-grande")};
    if (args.isEmpty() || args.size() > 2 || args.first().startsWith(QLatin1Char('-'))
        || (args.size() == 2 && !sizes.contains(args.at(1)))) {
        err << "uso: kelmara-retratos PASTA [grande|muito-grande]" << Qt::endl;
        return 2;
    }
    Appearance::apply(Appearance::TextSize(sizes.indexOf(args.value(1, sizes.first()))));
    output.setPath(args.first());
    if (!output.mkpath(QStringLiteral("."))) {
        err << "não foi possível criar a pasta " << args.first() << Qt::endl;
        return 1;
    }
    QTemporaryDir work;
    try {
        prepareDatabase(work);
        pictureEverything();
    } catch (const DbError &e) {
        err << "kelmara-retratos: " << e.text() << Qt::endl;
        return 1;
    }
    return 0;
}
