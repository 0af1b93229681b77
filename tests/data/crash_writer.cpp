// Test helper: stages the crash batch on the database named by the first
// argument, says "aplicando" on its output and applies it; "aplicado" when
// the apply returned. The crash test kills it somewhere in between.
#include "CrashBatch.h"

#include "dataset/DbError.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "uso: kelmara-crash-writer BANCO\n");
        return 2;
    }
    try {
        TDM dm(nullptr, QStringLiteral("LIVRO"), QString::fromLocal8Bit(argv[1]));
        CrashBatch::stage(dm);
        std::puts("aplicando");
        std::fflush(stdout);
        dm.TBMOVIMENTACOES->applyUpdates(0);
        std::puts("aplicado");
        std::fflush(stdout);
    } catch (const DbError &e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
