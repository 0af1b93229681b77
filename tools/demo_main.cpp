// kelmara-demo ARQUIVO [--membros N] [--funcionarios N] [--cargos N] [--livros N]
//              [--movimentos N] [--eventos N] [--fotos N] [--foto-kb K]
// Fills a LIVRO.GDB with sample data, creating the file when there is none.
// Run again on the same file, it appends. --fotos N gives the first N new
// members photographs of about K KB (2,400 by default) as a phone takes them.
#include "DemoData.h"
#include "datamodule/EngineLocks.h"
#include "uikit/KelmaraApplication.h"
#include "dataset/DbError.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLocale>
#include <QTextStream>

namespace {

const char *const kUsage = "uso: kelmara-demo ARQUIVO [--membros N] [--funcionarios N] [--cargos N] "
                           "[--livros N] [--movimentos N] [--eventos N] [--fotos N] [--foto-kb K]";

struct Option
{
    const char *name;
    int DemoSizes::*count;
};
const Option kOptions[] = {{"--membros", &DemoSizes::members},     {"--funcionarios", &DemoSizes::employees},
                           {"--cargos", &DemoSizes::positions},     {"--livros", &DemoSizes::books},
                           {"--movimentos", &DemoSizes::movements}, {"--eventos", &DemoSizes::events},
                           {"--fotos", &DemoSizes::photos},         {"--foto-kb", &DemoSizes::photoKilobytes}};

const Option *findOption(const QString &name)
{
    for (const Option &o : kOptions)
        if (name == QLatin1String(o.name))
            return &o;
    return nullptr;
}

// Reads the command line into `path` and `sizes`; returns what is wrong with it, if anything.
QString parseArguments(const QStringList &args, QString &path, DemoSizes &sizes)
{
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &arg = args[i];
        if (!arg.startsWith(u'-')) {
            if (!path.isEmpty())
                return QStringLiteral("mais de um arquivo indicado (\"%1\" e \"%2\").").arg(path, arg);
            path = arg;
            continue;
        }
        const Option *option = findOption(arg);
        if (!option)
            return QStringLiteral("opção desconhecida: %1.").arg(arg);
        bool ok = false;
        const int n = i + 1 < args.size() ? args[i + 1].toInt(&ok) : 0;
        if (!ok || n < 0)
            return QStringLiteral("%1 pede um número inteiro maior ou igual a zero.").arg(arg);
        sizes.*(option->count) = n;
        ++i;
    }
    return path.isEmpty() ? QStringLiteral("nenhum arquivo indicado.") : QString();
}

QString summary(const QString &path, bool created, const DemoSizes &s, double seconds)
{
    const QLocale l;
    return QStringLiteral("%1 %2: incluídos %3 membros, %4 funcionários, %5 cargos, %6 livros, "
                          "%7 movimentações e %8 eventos em %9 s.")
        .arg(created ? QStringLiteral("Banco de dados criado") : QStringLiteral("Banco de dados"), path,
             l.toString(s.members), l.toString(s.employees), l.toString(s.positions), l.toString(s.books),
             l.toString(s.movements), l.toString(s.events), l.toString(seconds, 'f', 1));
}

} // namespace

int main(int argc, char **argv)
{
    EngineLocks::useFolder();
    QCoreApplication app(argc, argv);
    useBrazilianLocale();
    QTextStream err(stderr);
    QString path;
    DemoSizes sizes;
    const QString wrong = parseArguments(app.arguments().mid(1), path, sizes);
    if (!wrong.isEmpty()) {
        err << "kelmara-demo: " << wrong << "\n" << kUsage << "\n";
        return 1;
    }
    const bool created = !QFileInfo::exists(path);
    QElapsedTimer timer;
    timer.start();
    try {
        fillDemoData(path, sizes);
    } catch (const DbError &e) {
        err << "kelmara-demo: " << e.text() << "\n";
        return 1;
    }
    QTextStream(stdout) << summary(path, created, sizes, timer.elapsed() / 1000.0) << "\n";
    return 0;
}
