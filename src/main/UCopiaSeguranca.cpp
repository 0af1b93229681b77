#include "UCopiaSeguranca.h"

#include "uikit/Appearance.h"
#include "uikit/ErrorGuard.h"
#include "uikit/FormKit.h"
#include "uikit/Messages.h"
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
    btnOutraPasta = button("btnOutraPasta", QStringLiteral("Outra Pasta..."), "pasta");
    btnSair = button("btnSair", QStringLiteral("Sair"), "sair");
    if (onServer()) {
        btnOutraPasta->setEnabled(false); // the server writes its copies beside the database
        btnOutraPasta->setToolTip(QStringLiteral("No servidor a cópia fica ao lado do banco de dados."));
    }

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QToolButton *b : {btnFazerCopia, btnRestaurar, btnOutraPasta, btnSair})
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
}

void TFCopiaSeguranca::connectHandlers()
{
    connectGuarded(btnFazerCopia, &QToolButton::clicked, this, [this] { btnFazerCopiaClick(); });
    connectGuarded(btnRestaurar, &QToolButton::clicked, this, [this] { btnRestaurarClick(); });
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
    btnRestaurar->setEnabled(!m_busy && !m_copies.isEmpty());
}

std::optional<BackupCopy> TFCopiaSeguranca::selectedCopy() const
{
    const int row = lstCopias->indexOfTopLevelItem(lstCopias->currentItem());
    if (row < 0 || row >= m_copies.size())
        return std::nullopt;
    return m_copies[row];
}

void TFCopiaSeguranca::setBusy(bool on)
{
    m_busy = on;
    for (QWidget *w : {static_cast<QWidget *>(btnFazerCopia), static_cast<QWidget *>(btnOutraPasta),
                       static_cast<QWidget *>(btnSair), static_cast<QWidget *>(lstCopias)})
        w->setEnabled(!on);
    btnOutraPasta->setEnabled(!on && !onServer());
    btnRestaurar->setEnabled(!on && !m_copies.isEmpty());
}

void TFCopiaSeguranca::runTask(const BackupTask::Work &work)
{
    BackupTask task(work);
    connect(&task, &BackupTask::progress, this, [this](int percent, const QString &step) {
        pbProgresso->setValue(percent);
        lblProgresso->setText(step);
    });
    pbProgresso->setTextVisible(true);
    setBusy(true);
    const bool done = task.run();
    setBusy(false);
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
    const QString kept = Backup::replaceDatabase(*DM, restored, QDateTime::currentDateTime());
    DM->clearDataWritten();
    listCopies();
    lblProgresso->setText(QStringLiteral("Banco de dados restaurado."));
    Messages::information(QStringLiteral("O banco de dados foi restaurado da cópia de %1.\n\nO banco de dados anterior "
                                         "foi guardado ao lado dele como \"%2\".")
                              .arg(when(copy->made), kept));
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
