#include "UCopiaSeguranca.h"

#include "uikit/Appearance.h"
#include "uikit/ErrorGuard.h"
#include "uikit/FormKit.h"
#include "uikit/Messages.h"
#include "datamodule/Session.h"
#include "uikit/Pictures.h"
#include "datamodule/UDM.h"
#include "dataset/DbError.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QProgressBar>
#include <QProgressDialog>
#include <QScopeGuard>
#include <QToolButton>
#include <QTreeWidget>

TFCopiaSeguranca *FCopiaSeguranca = nullptr;

namespace {

const QString kTitle = QStringLiteral("Cópia de Segurança");

QString when(const QDateTime &made)
{
    return made.toString(QStringLiteral("dd/MM/yyyy HH:mm:ss"));
}

QString checkedText(BackupCopy::Status status)
{
    switch (status) {
    case BackupCopy::Status::Checked:
        return QStringLiteral("Sim");
    case BackupCopy::Status::Failed:
        return QStringLiteral("Falhou");
    case BackupCopy::Status::Unchecked:
        break;
    }
    return QStringLiteral("Não");
}

bool onServer()
{
    return DatabaseLocation::of(DM->databasePath()).onServer();
}

QString megabytes(qint64 bytes)
{
    const double mb = double(bytes) / (1024 * 1024);
    return QLocale().toString(mb, 'f', mb < 10 ? 1 : 0) + QStringLiteral(" MB");
}

// "1 fotografia foi reduzida: ocupava", "3 fotografias foram reduzidas: ocupavam"
QString counted(qint64 n, const char *one, const char *many)
{
    return QLocale().toString(n) + u' ' + QString::fromUtf8(n == 1 ? one : many);
}

const QString kShrinksOnlyByARestore = QStringLiteral(
    "O arquivo do banco de dados só diminui quando ele é refeito a partir de uma cópia de segurança.");

} // namespace

TFCopiaSeguranca::TFCopiaSeguranca(QWidget *owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_folder(Backup::folderForRun(DM->databasePath()))
{
    setObjectName(QStringLiteral("FCopiaSeguranca"));
    setWindowTitle(kTitle);
    buildControls();
    connectHandlers();
}

void TFCopiaSeguranca::buildControls()
{
    FormKit::whiteBackground(this);
    resize(Appearance::scaled(QSize(720, 480)));
    txtPasta = FormKit::textBox(this, QStringLiteral("txtPasta"));
    txtPasta->setReadOnly(true);
    lstCopias = new QTreeWidget(this);
    lstCopias->setObjectName(QStringLiteral("lstCopias"));
    lstCopias->setRootIsDecorated(false);
    lstCopias->setAllColumnsShowFocus(true);
    lstCopias->setHeaderLabels({QStringLiteral("Data e hora"), QStringLiteral("Tamanho"), QStringLiteral("Conferida"),
                                QStringLiteral("Arquivo")});
    lstCopias->header()->setStretchLastSection(true);
    Label1 = FormKit::captionLabel(this, QStringLiteral("Label1"), QStringLiteral("PASTA DAS CÓPIAS"), txtPasta, 0, true);
    Label2 = FormKit::captionLabel(this, QStringLiteral("Label2"), QStringLiteral("CÓPIAS"), lstCopias, 0, true);
    pbProgresso = new QProgressBar(this);
    pbProgresso->setObjectName(QStringLiteral("pbProgresso"));
    pbProgresso->setRange(0, 100);
    pbProgresso->setValue(0);
    pbProgresso->setTextVisible(false); // no "0%" while nothing runs
    lblProgresso = FormKit::captionLabel(this, QStringLiteral("lblProgresso"), QString(), pbProgresso);

    const auto button = [this](const char *name, const QString &caption, const char *icon) {
        QToolButton *b = FormKit::pictureButton(this, QString::fromLatin1(name), caption,
                                                QStringLiteral(":/icons/%1.svg").arg(QLatin1String(icon)), false);
        b->setMinimumSize(Appearance::scaled(QSize(110, 60)));
        return b;
    };
    btnFazerCopia = button("btnFazerCopia", QStringLiteral("Fazer Cópia"), "copia");
    btnRestaurar = button("btnRestaurar", QStringLiteral("Restaurar"), "restaurar");
    btnReduzirFotos = button("btnReduzirFotos", QStringLiteral("Reduzir Fotografias"), "foto");
    btnCancelar = button("btnCancelar", QStringLiteral("Cancelar"), "cancelar");
    btnOutraPasta = button("btnOutraPasta", QStringLiteral("Outra Pasta..."), "pasta");
    btnSair = button("btnSair", QStringLiteral("Sair"), "sair");
    btnRestaurar->setVisible(Session::mayChange(Area::Restore)); // over the live data: the profile says who may
    if (onServer()) // the server writes its copies beside the database
        btnOutraPasta->setToolTip(QStringLiteral("No servidor a cópia fica ao lado do banco de dados."));
    btnReduzirFotos->setToolTip(QStringLiteral("Guarda de novo, menores, as fotografias guardadas maiores do que o "
                                               "programa guarda hoje."));

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QToolButton *b : {btnFazerCopia, btnRestaurar, btnReduzirFotos, btnCancelar, btnOutraPasta, btnSair})
        buttons->addWidget(b);
    buttons->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 14, 16, 12);
    layout->addWidget(Label1);
    layout->addWidget(txtPasta);
    layout->addSpacing(6);
    layout->addWidget(Label2);
    layout->addWidget(lstCopias, 1);
    layout->addWidget(lblProgresso);
    layout->addWidget(pbProgresso);
    layout->addSpacing(6);
    layout->addLayout(buttons);
    followState();
}

void TFCopiaSeguranca::connectHandlers()
{
    connectGuarded(btnFazerCopia, &QToolButton::clicked, this, [this] { btnFazerCopiaClick(); });
    connectGuarded(btnRestaurar, &QToolButton::clicked, this, [this] { btnRestaurarClick(); });
    connectGuarded(btnReduzirFotos, &QToolButton::clicked, this, [this] { btnReduzirFotosClick(); });
    connectGuarded(btnCancelar, &QToolButton::clicked, this, [this] { btnCancelarClick(); });
    connectGuarded(btnOutraPasta, &QToolButton::clicked, this, [this] { btnOutraPastaClick(); });
    connectGuarded(btnSair, &QToolButton::clicked, this, [this] { btnSairClick(); });
}

void TFCopiaSeguranca::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        runGuarded([this] { FormShow(); });
}

void TFCopiaSeguranca::FormShow()
{
    listCopies();
    surveyPhotographs();
}

void TFCopiaSeguranca::listCopies()
{
    txtPasta->setText(QDir::toNativeSeparators(m_folder));
    m_copies = onServer() ? QList<BackupCopy>() : BackupFolder::list(m_folder);
    lstCopias->clear();
    const QLocale locale;
    for (const BackupCopy &copy : m_copies) {
        auto *item = new QTreeWidgetItem(lstCopias, {when(copy.made),
                                                     locale.formattedDataSize(copy.size, 1, QLocale::DataSizeTraditionalFormat),
                                                     checkedText(copy.status), QFileInfo(copy.path).fileName()});
        item->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
    }
    for (int c = 0; c < 3; ++c)
        lstCopias->resizeColumnToContents(c);
    if (!m_copies.isEmpty())
        lstCopias->setCurrentItem(lstCopias->topLevelItem(0));
    followState();
}

std::optional<BackupCopy> TFCopiaSeguranca::selectedCopy() const
{
    const int row = lstCopias->indexOfTopLevelItem(lstCopias->currentItem());
    if (row < 0 || row >= m_copies.size())
        return std::nullopt;
    return m_copies[row];
}

void TFCopiaSeguranca::followState()
{
    const bool idle = !m_busy;
    for (QWidget *w : {static_cast<QWidget *>(btnFazerCopia), static_cast<QWidget *>(btnSair),
                       static_cast<QWidget *>(lstCopias), static_cast<QWidget *>(btnReduzirFotos)})
        w->setEnabled(idle);
    btnOutraPasta->setEnabled(idle && !onServer());
    btnRestaurar->setEnabled(idle && !m_copies.isEmpty());
    btnReduzirFotos->setVisible(reductionOffered() && !m_reducing);
    btnCancelar->setVisible(m_reducing);
    btnCancelar->setEnabled(m_reducing && !m_cancel);
}

// The one place that decides whether "Reduzir Fotografias" is offered: when
// there are photographs to reduce, to an Administrador (it stores every
// member's photograph anew, and its last step is a restore).
bool TFCopiaSeguranca::reductionOffered() const
{
    return !m_oversized.isEmpty() && Session::mayChange(Area::Restore);
}

// On a worker thread, through a connection of its own, so that the window
// answers at once however many photographs the database holds; the button
// follows when the survey ends.
void TFCopiaSeguranca::surveyPhotographs()
{
    waitForSurvey();
    m_oversized = {};
    followState();
    const QString database = DM->databasePath();
    m_survey = std::make_unique<BackupTask>([this, database](const Backup::Progress &) {
        Backup::withConnection(database, [this](const QSqlDatabase &db) { m_surveyed = PhotoReduction::survey(db); });
    });
    BackupTask *task = m_survey.get();
    connect(task, &BackupTask::finished, task, [this, task] {
        if (task->failure().isEmpty())
            m_oversized = m_surveyed;
        followState();
    });
    task->start();
}

void TFCopiaSeguranca::waitForSurvey()
{
    m_survey.reset(); // waits for its worker
}

void TFCopiaSeguranca::runTask(const BackupTask::Work &work)
{
    BackupTask task(work);
    connect(&task, &BackupTask::progress, this, [this](int percent, const QString &step) {
        pbProgresso->setValue(percent);
        lblProgresso->setText(step);
    });
    pbProgresso->setTextVisible(true);
    m_busy = true;
    followState();
    const bool done = task.run();
    m_busy = false;
    followState();
    if (done)
        return;
    pbProgresso->setValue(0);
    lblProgresso->setText(QStringLiteral("Não concluída."));
    listCopies();
    throw DbError(task.failure());
}

void TFCopiaSeguranca::btnFazerCopiaClick()
{
    const QString database = DM->databasePath();
    const QString folder = m_folder;
    BackupCopy made;
    runTask([&](const Backup::Progress &progress) { made = Backup::makeCheckedCopy(database, folder, {}, progress); });
    DM->clearDataWritten();
    listCopies();
    Messages::information(QStringLiteral("A cópia de segurança foi feita e conferida:\n%1\n\nEla guarda %2.")
                              .arg(QDir::toNativeSeparators(made.path), made.counts ? made.counts->summary() : QString()));
}

void TFCopiaSeguranca::btnRestaurarClick()
{
    const std::optional<BackupCopy> copy = selectedCopy();
    if (!copy) {
        Messages::information(QStringLiteral("Escolha na lista \"CÓPIAS\" a cópia que deve ser restaurada."));
        return;
    }
    const QString database = DM->databasePath();
    if (const QString refusal = Backup::restoreRefusal(database, *copy); !refusal.isEmpty()) {
        Messages::information(refusal);
        return;
    }
    const QString holds = copy->counts ? QStringLiteral("Ela guarda %1.").arg(copy->counts->summary())
                                       : QStringLiteral("O que ela guarda será mostrado depois de uma restauração de teste.");
    if (!Messages::question(QStringLiteral("Restaurar a cópia de %1?\n\n%2\n\nO banco de dados atual será guardado ao "
                                           "lado dele, com o nome LIVRO-antes-da-restauracao seguido da data e da hora.")
                                .arg(when(copy->made), holds)))
        return;
    Backup::RestoredCopy restored;
    runTask([&](const Backup::Progress &progress) { restored = Backup::restoreForReplacing(database, *copy, progress); });
    if (!Messages::question(QStringLiteral("A cópia de %1 foi restaurada em um arquivo novo e conferida. Ela guarda "
                                           "%2.\n\nSubstituir agora o banco de dados atual por ela?")
                                .arg(when(copy->made), restored.counts.summary()))) {
        lblProgresso->setText(QStringLiteral("Restauração desistida; o banco de dados atual não foi alterado."));
        return;
    }
    const QString kept = putInPlace(restored);
    Messages::information(QStringLiteral("O banco de dados foi restaurado da cópia de %1.\n\nO banco de dados anterior "
                                         "foi guardado ao lado dele como \"%2\".")
                              .arg(when(copy->made), kept));
}

QString TFCopiaSeguranca::putInPlace(const Backup::RestoredCopy &restored)
{
    waitForSurvey(); // its connection holds the file
    const QString kept = Backup::replaceDatabase(*DM, restored, QDateTime::currentDateTime());
    DM->clearDataWritten();
    listCopies();
    surveyPhotographs();
    lblProgresso->setText(QStringLiteral("Banco de dados restaurado."));
    return kept;
}

void TFCopiaSeguranca::btnReduzirFotosClick()
{
    waitForSurvey();
    const QString database = DM->databasePath();
    PhotoReduction::Survey survey;
    runTask([&](const Backup::Progress &progress) {
        progress(0, QStringLiteral("Procurando as fotografias maiores do que o programa guarda..."));
        Backup::withConnection(database, [&](const QSqlDatabase &db) { survey = PhotoReduction::survey(db); });
    });
    lblProgresso->clear();
    m_oversized = survey;
    followState();
    if (!reductionOffered())
        return;
    const qsizetype count = m_oversized.photos.size();
    const QString found = count == 1 ? QStringLiteral("Há 1 fotografia guardada maior do que o programa guarda hoje; ela "
                                                      "ocupa %2.")
                                     : QStringLiteral("Há %1 fotografias guardadas maiores do que o programa guarda hoje; "
                                                      "elas ocupam %2.");
    if (!Messages::question(found.arg(QLocale().toString(count), megabytes(m_oversized.bytes))
                            + QStringLiteral("\n\nAntes é feita uma cópia de segurança conferida, marcada \"%1\". "
                                             "Depois cada uma é guardada como o botão \"Buscar\" guarda uma fotografia: "
                                             "em pé, com o lado maior de até %2 pixels, em JPEG.\n\nReduzir as "
                                             "fotografias agora?")
                                  .arg(PhotoReduction::kBackupTag, QLocale().toString(Pictures::kLongestStoredSide))))
        return;
    const QString folder = m_folder;
    runTask([&](const Backup::Progress &progress) {
        Backup::makeCheckedCopy(database, folder, PhotoReduction::kBackupTag, progress);
    });
    listCopies();
    const PhotoReduction::Outcome outcome = reducePhotographs();
    surveyPhotographs();
    offerShrinking(outcome);
}

// On a worker thread, through a connection of its own; "Cancelar" stops it
// at the end of a batch.
PhotoReduction::Outcome TFCopiaSeguranca::reducePhotographs()
{
    const QString database = DM->databasePath();
    const QList<PhotoReduction::StoredPhoto> photos = m_oversized.photos;
    PhotoReduction::Outcome outcome;
    m_cancel = false;
    m_reducing = true;
    const auto over = qScopeGuard([this] {
        m_reducing = false;
        DM->noteDataWritten();
        followState();
    });
    runTask([&](const Backup::Progress &progress) {
        const auto step = [&](int done, int total) {
            const QString doing = m_cancel ? QStringLiteral("Parando ao fim do lote em curso: %1 de %2 fotografias...")
                                           : QStringLiteral("Reduzindo as fotografias: %1 de %2...");
            progress(done * 100 / total, doing.arg(QLocale().toString(done), QLocale().toString(total)));
        };
        try {
            Backup::withConnection(database, [&](const QSqlDatabase &db) {
                Session::tellEngine(db); // the change log names who reduced them
                outcome = PhotoReduction::reduce(db, photos, m_cancel, step);
            });
        } catch (const DbError &e) {
            throw DbError(QStringLiteral("A redução das fotografias parou. As que já foram reduzidas continuam "
                                         "reduzidas; as outras continuam como estavam.\n\n")
                          + e.text());
        }
    });
    return outcome;
}

void TFCopiaSeguranca::btnCancelarClick()
{
    m_cancel = true;
    followState();
    lblProgresso->setText(QStringLiteral("Parando ao fim do lote em curso..."));
}

// Says what was done and, when something was, offers to make the file small:
// a checked copy restored in the place of the database.
void TFCopiaSeguranca::offerShrinking(const PhotoReduction::Outcome &outcome)
{
    QString done = counted(outcome.reduced, "fotografia foi reduzida: ocupava %1 e agora ocupa %2.",
                               "fotografias foram reduzidas: ocupavam %1 e agora ocupam %2.")
                       .arg(megabytes(outcome.bytesBefore), megabytes(outcome.bytesAfter));
    if (outcome.cancelled)
        done += QStringLiteral(" A redução foi interrompida; as outras %1 continuam como estavam.").arg(outcome.left);
    else if (outcome.left > 0)
        done += QStringLiteral(" %1 mudaram em outra estação durante a redução e ficaram como estavam.").arg(outcome.left);
    lblProgresso->setText(outcome.cancelled ? QStringLiteral("Redução interrompida.") : QStringLiteral("Fotografias reduzidas."));
    const QString database = DM->databasePath();
    if (outcome.reduced == 0) {
        Messages::information(done);
        return;
    }
    if (onServer()) {
        Messages::information(done + QStringLiteral("\n\n") + kShrinksOnlyByARestore
                              + QStringLiteral(" O banco de dados está em um servidor: quem cuida do servidor faz isso "
                                               "lá, com o programa fechado em todas as estações (uma cópia com o gbak e "
                                               "a restauração dela em um arquivo novo, posto no lugar do atual)."));
        return;
    }
    if (!Messages::question(done + QStringLiteral("\n\n") + kShrinksOnlyByARestore
                            + QStringLiteral(" Fazer agora uma cópia conferida e restaurá-la no lugar do banco de dados "
                                             "atual?\n\nO banco de dados atual será guardado ao lado dele, com o nome "
                                             "LIVRO-antes-da-restauracao seguido da data e da hora."))) {
        lblProgresso->setText(QStringLiteral("Fotografias reduzidas. O arquivo do banco de dados diminui quando uma "
                                             "cópia feita agora for restaurada."));
        return;
    }
    const qint64 before = QFileInfo(database).size();
    const QString folder = m_folder;
    BackupCopy made;
    runTask([&](const Backup::Progress &progress) { made = Backup::makeCheckedCopy(database, folder, {}, progress); });
    Backup::RestoredCopy restored;
    runTask([&](const Backup::Progress &progress) { restored = Backup::restoreForReplacing(database, made, progress); });
    const QString kept = putInPlace(restored);
    Messages::information(QStringLiteral("O banco de dados foi refeito a partir da cópia de %1: o arquivo passou de %2 "
                                         "para %3.\n\nO arquivo anterior foi guardado ao lado dele como \"%4\", e a "
                                         "cópia de antes da redução (\"%5\") continua na pasta das cópias; apague-os "
                                         "depois de conferir o banco de dados, para liberar o espaço.")
                              .arg(when(made.made), megabytes(before), megabytes(QFileInfo(database).size()), kept,
                                   PhotoReduction::kBackupTag));
}

void TFCopiaSeguranca::btnOutraPastaClick()
{
    const QString folder = QFileDialog::getExistingDirectory(this, QStringLiteral("Pasta das cópias de segurança"), m_folder);
    if (!folder.isEmpty())
        chooseFolder(folder);
}

void TFCopiaSeguranca::chooseFolder(const QString &folder)
{
    m_folder = folder;
    Backup::chooseFolderForRun(folder);
    listCopies();
}

void TFCopiaSeguranca::btnSairClick()
{
    close();
}

void TFCopiaSeguranca::closeEvent(QCloseEvent *event)
{
    if (m_busy)
        event->ignore();
    else
        QDialog::closeEvent(event);
}

void TFCopiaSeguranca::reject()
{
    if (!m_busy)
        QDialog::reject();
}

void TFCopiaSeguranca::remindIfDue(QWidget *owner)
{
    runGuarded([owner] {
        const QString folder = Backup::folderForRun(DM->databasePath());
        const QDateTime now = QDateTime::currentDateTime();
        if (onServer() || !BackupFolder::reminderDue(folder, now) || !Backup::holdsData(DM->SQLConnection1()))
            return;
        const std::optional<BackupCopy> newest = BackupFolder::newestChecked(folder);
        const QString age = newest ? QStringLiteral("A cópia de segurança mais recente deste banco de dados é de %1, "
                                                    "há %2 dias.")
                                         .arg(when(newest->made))
                                         .arg(newest->made.daysTo(now))
                                   : QStringLiteral("Este banco de dados ainda não tem nenhuma cópia de segurança.");
        if (Messages::question(age + QStringLiteral("\n\nAbrir a janela \"Cópia de Segurança\" para fazer uma agora?")))
            FormKit::openModal(FCopiaSeguranca, owner);
    });
}

void TFCopiaSeguranca::makeExitCopy()
{
    static bool running = false;
    if (running || !DM || !DM->dataWritten() || onServer())
        return;
    running = true;
    const QString doing = QStringLiteral("Fazendo a cópia de segurança antes de sair.");
    QProgressDialog box(doing, QString(), 0, 100);
    box.setObjectName(QStringLiteral("FCopiaSaida"));
    box.setWindowTitle(kTitle);
    box.setWindowModality(Qt::ApplicationModal);
    box.setMinimumDuration(0);
    box.setAutoClose(false);
    box.show();
    const QString database = DM->databasePath();
    const QString folder = Backup::folderForRun(database);
    BackupTask task([&](const Backup::Progress &progress) { Backup::makeCheckedCopy(database, folder, {}, progress); });
    QObject::connect(&task, &BackupTask::progress, &box, [&box, &doing](int percent, const QString &step) {
        box.setValue(percent);
        box.setLabelText(doing + u'\n' + step);
    });
    if (task.run())
        DM->clearDataWritten();
    else
        Messages::error(QStringLiteral("A cópia de segurança da saída não foi feita ou não passou na conferência. O "
                                       "programa será fechado assim mesmo.\n\n")
                        + task.failure());
    box.hide();
    running = false;
}
