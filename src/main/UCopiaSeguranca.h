#pragma once

#include "PhotoReduction.h"
#include "backup/BackupTask.h"

#include <QDialog>

#include <atomic>
#include <memory>
#include <optional>

class QLabel;
class QLineEdit;
class QProgressBar;
class QToolButton;
class QTreeWidget;

// "Cópia de Segurança": the folder of the copies, the list of the copies
// found there, making a checked copy and restoring one; when photographs are
// stored larger than the program stores them, reducing them after a checked
// copy. Opened modally from the main window. While a copy, a restore or a
// reduction runs, the window shows its progress and cannot be closed; a
// reduction can be stopped with "Cancelar".
class TFCopiaSeguranca : public QDialog
{
    Q_OBJECT
public:
    explicit TFCopiaSeguranca(QWidget *owner);

    QLabel *Label1, *Label2, *lblProgresso;
    QLineEdit *txtPasta;
    QTreeWidget *lstCopias;
    QProgressBar *pbProgresso;
    QToolButton *btnFazerCopia, *btnRestaurar, *btnReduzirFotos, *btnCancelar, *btnOutraPasta, *btnSair;

    void FormShow();
    void btnFazerCopiaClick();
    void btnRestaurarClick();
    void btnReduzirFotosClick();
    void btnCancelarClick();
    void btnOutraPastaClick();
    void btnSairClick();
    void chooseFolder(const QString &folder); // what "Outra Pasta..." does with the folder picked
    void listCopies();
    bool busy() const { return m_busy; }
    bool surveying() const { return m_survey && m_survey->running(); }

    // At sign-in: when the database holds data and its newest good copy is
    // more than a week old (or there is none), says so and offers the window.
    static void remindIfDue(QWidget *owner);
    // When the program ends: a checked copy, with its progress shown, if
    // data was written during the run. A failure is said; the end goes on.
    static void makeExitCopy();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void reject() override;

private:
    void buildControls();
    void connectHandlers();
    void runTask(const BackupTask::Work &work); // DbError with the task's reason when it failed
    void followState(); // every button from what the window holds and does
    bool reductionOffered() const;
    void surveyPhotographs();
    void waitForSurvey();
    PhotoReduction::Outcome reducePhotographs();
    void offerShrinking(const PhotoReduction::Outcome &outcome);
    QString putInPlace(const Backup::RestoredCopy &restored);
    std::optional<BackupCopy> selectedCopy() const;

    QList<BackupCopy> m_copies;
    PhotoReduction::Survey m_oversized;
    PhotoReduction::Survey m_surveyed; // written by the survey's worker
    std::unique_ptr<BackupTask> m_survey;
    QString m_folder;
    bool m_busy = false;
    bool m_reducing = false;
    std::atomic_bool m_cancel = false;
};

extern TFCopiaSeguranca *FCopiaSeguranca;
