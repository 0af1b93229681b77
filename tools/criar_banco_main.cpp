// kelmara-criar-banco ARQUIVO: creates an empty LIVRO.GDB with the program's
// tables and the default account. Refuses to touch an existing file.
#include "DatabaseCreator.h"
#include "datamodule/EngineLocks.h"
#include "dataset/DbError.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char **argv)
{
    EngineLocks::useFolder();
    QCoreApplication app(argc, argv);
    QTextStream err(stderr);
    const QStringList args = app.arguments().mid(1);
    if (args.size() != 1 || args.first().startsWith(u'-')) {
        err << "uso: kelmara-criar-banco ARQUIVO\n";
        return 2;
    }
    try {
        createDatabase(args.first());
    } catch (const DbError &e) {
        err << e.text() << "\n";
        return 1;
    }
    QTextStream(stdout) << "Banco de dados criado: " << args.first() << "\n";
    return 0;
}
