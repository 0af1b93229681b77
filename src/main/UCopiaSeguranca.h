#pragma once

#include "backup/BackupTask.h"

#include <QDialog>

#include <optional>

class QLabel;
class QLineEdit;
class QProgressBar;
class QToolButton;
class QTreeWidget;

// "Cópia de Segurança": the folder of the copies, the list of the copies
// found there, making a checked copy and restoring one. Opened modally from
// the main window. While a copy or a restore runs, the window shows its
// progress and cannot be closed.
class TFCopiaSeguranca : public QDialog
{
    Q_OBJECT
public:
    explicit TFCopiaSeguranca(QWidget *owner);

    QLabel *Label1, *Label2, *lblProgresso;
    QLineEdit *txtPasta;
    QTreeWidget *lstCopias;
    QProgressBar *pbProgresso;
    QToolButton *btnFazerCopia, *btnRestaurar, *btnOutraPasta, *btnSair;

    void FormShow();
    void btnFazerCopiaClick();
    void btnRestaurarClick();
    void btnOutraPastaClick();
    void btnSairClick();
    void chooseFolder(const QString &folder); // what "Outra Pasta..." does with the folder picked
    void listCopies();
    bool busy() const { return m_busy; }

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
    void setBusy(bool on);
    std::optional<BackupCopy> selectedCopy() const;

    QList<BackupCopy> m_copies;
    QString m_folder;
    bool m_busy = false;
};

extern TFCopiaSeguranca *FCopiaSeguranca;
