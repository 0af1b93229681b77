#pragma once

#include "TestDatabase.h"

#include "datamodule/Profiles.h"

#include <QTemporaryDir>

// A fresh database reached the way the program reaches it: through the alias
// file below a temporary folder that stands for the drive root "C:\".
class ProgramFixture
{
public:
    ProgramFixture();
    ~ProgramFixture();

    TestDatabase db;
    QString fixedPath(const QString &windowsPath) const; // a fixed name below this drive root
    void writeFile(const QString &windowsPath, const QByteArray &bytes) const;
    QByteArray readFile(const QString &windowsPath) const;

private:
    QTemporaryDir m_root;
};

// The session of DM's default account as if it had signed in, with `profile`:
// what the main window shows and which tables are read-only follow it.
void startSession(Profile profile = Profile::Administrador);

// Another account of `db`, its password stored as the program stores it.
struct NewAccount
{
    int code;
    QString userName;
    QString password;
    QString profile = QStringLiteral("Secretaria");
    QString active = QStringLiteral("SIM");
    bool temporary = false;
};
void addAccount(const TestDatabase &db, const NewAccount &account);

// Runs `action` on the next modal window once it is up (for a button that opens one).
void whenModalOpens(std::function<void(QWidget *)> action);

class PrintPreview;
// Runs `action` on the next print preview once its pages are laid out.
void whenPreviewLaidOut(std::function<void(PrintPreview *)> action);
