// Test helper: holds the database named by the first argument open as the
// program does, says "copiando" on its output and makes a checked copy into
// the folder named by the second; "copiado" when it returned. The backup
// test kills it somewhere in between.
#include "datamodule/UDM.h"
#include "backup/Backup.h"
#include "dataset/DbError.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "uso: kelmara-copia-interrompida BANCO PASTA\n");
        return 2;
    }
    try {
        const QString database = QString::fromLocal8Bit(argv[1]);
        TDM dm(nullptr, QStringLiteral("LIVRO"), database);
        dm.TBMEMBRO->open();
        std::puts("copiando");
        std::fflush(stdout);
        Backup::makeCheckedCopy(database, QString::fromLocal8Bit(argv[2]), {}, {});
        std::puts("copiado");
        std::fflush(stdout);
    } catch (const DbError &e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
