#pragma once

class QObject;

// The program's start once the application object exists: the application
// folder is recorded and DM created under `owner`, which finds the database
// file and opens the connection. A refused connection is shown in the error
// box (naming the path it tried) and gives false.
bool startDataModule(QObject *owner);
