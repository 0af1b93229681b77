#include "SecretaryLists.h"

#include "BenchKit.h"
#include "uikit/CsvExport.h"
#include "datamodule/UDM.h"
#include "reports/cadastros/URCarteirinha.h"

#include <QFileInfo>
#include <QTemporaryDir>

using namespace Bench;

void exportFigures(TDM &dm)
{
    TableDataset *members = dm.TBMEMBRO;
    members->open();
    members->setFiltered(false); // a search measured before leaves its filter on
    const QList<int> columns{dm.TBMEMBROMEMNOME->index(), dm.TBMEMBROMEMENDERECO->index(),
                             dm.TBMEMBROMEMTELEFONERES->index(), dm.TBMEMBROMEMEMAIL->index()};
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("membros.csv"));
    const double ms = bestOf(kRuns, [&] {
        return timedMs([&] {
            CsvExport::write(path, {QStringLiteral("NOME"), QStringLiteral("ENDEREÇO"), QStringLiteral("TELEFONE"),
                                    QStringLiteral("EMAIL")},
                             members->recordCount(), [&](int row) {
                                 QVariantList cells;
                                 for (int column : columns)
                                     cells << members->valueAt(row, column);
                                 return cells;
                             });
        });
    });
    printFigure({QStringLiteral("export_rows"), double(members->recordCount()), QStringLiteral("rows")});
    printFigure({QStringLiteral("export_csv"), ms, QStringLiteral("ms")});
    printFigure({QStringLiteral("export_csv_size"), double(QFileInfo(path).size()) / (1024 * 1024), QStringLiteral("MiB")});
    printTarget({QStringLiteral("export_csv"), ms, true, 1000.0});
    members->close();
}

void membershipCardFigures(const QString &churchFile)
{
    TDM dm(nullptr, QStringLiteral("bench-carteirinhas"), churchFile);
    if (DM != &dm) // the cards read the data module's tables
        return;
    dm.TBMEMBRO->open();
    TFRCarteirinha cards(nullptr);
    cards.setMembers(true);
    double ms = 0;
    qint64 imageBytes = 0;
    int pages = 0;
    const auto heldMiB = growthMiB([&](const Probe &probe) {
        ReportRun run;
        ms = timedMs([&] { run = cards.QuickRep1->run(); });
        for (const QImage &image : run.images())
            imageBytes += image.sizeInBytes();
        pages = int(run.pages().size());
        probe();
    });
    const double perCard = cards.memberCount() ? ms / cards.memberCount() : 0;
    printFigure({QStringLiteral("cards_members"), double(cards.memberCount()), QStringLiteral("cards")});
    printFigure({QStringLiteral("cards_pages"), double(pages), QStringLiteral("pages")});
    printFigure({QStringLiteral("cards_layout"), ms, QStringLiteral("ms")});
    printFigure({QStringLiteral("cards_layout_per_card"), perCard, QStringLiteral("ms")});
    printFigure({QStringLiteral("cards_pictures"), double(imageBytes) / (1024 * 1024), QStringLiteral("MiB")});
    printFigure({QStringLiteral("cards_run_held"), heldMiB, QStringLiteral("MiB")});
    printTarget({QStringLiteral("cards_run_held"), heldMiB, true, 200.0});
    printTarget({QStringLiteral("cards_layout_per_card"), perCard, true, 100.0});
}
