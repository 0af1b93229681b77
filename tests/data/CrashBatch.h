#pragma once

#include "datamodule/UDM.h"

#include <QString>

// The batch that the crash test kills in the middle of its apply: on a table
// of 6,000 movements, 2,000 deletes, 2,000 changes and 6,000 inserts, 10,000
// changes written by one applyUpdates.
namespace CrashBatch {

inline constexpr int kInitialRows = 6000;
inline constexpr int kInsertedRows = 6000;

// SQL that stores the 6,000 movements the batch starts from.
inline QString initialRowsSql()
{
    return QStringLiteral("EXECUTE BLOCK AS DECLARE i INTEGER = 1; BEGIN "
                          "WHILE (i <= %1) DO BEGIN "
                          "INSERT INTO TMOVIMETACOES (MOVCODIGO, MOVDESCRICAO, MOVVALOR, MOVDEBITOCREDITO) "
                          "VALUES (:i, 'ANTIGO ' || :i, :i, 'ENTRADA'); i = i + 1; END END")
        .arg(kInitialRows);
}

// Puts the batch into TBMOVIMENTACOES as pending changes, nothing applied yet.
inline void stage(TDM &dm)
{
    TableDataset *tb = dm.TBMOVIMENTACOES;
    tb->open();
    for (int code = 1; code <= kInitialRows; ++code) {
        if (code % 3 == 2)
            continue;
        tb->locate(QStringLiteral("MOVCODIGO"), {code});
        if (code % 3 == 0) {
            tb->del();
            continue;
        }
        tb->edit();
        dm.TBMOVIMENTACOESMOVDESCRICAO->setAsString(QStringLiteral("ALTERADO %1").arg(code));
        dm.TBMOVIMENTACOESMOVVALOR->setAsFloat(code * 2.0);
        tb->post();
    }
    for (int i = 1; i <= kInsertedRows; ++i) {
        tb->insert();
        dm.TBMOVIMENTACOESMOVCODIGO->setAsInteger(kInitialRows + i);
        dm.TBMOVIMENTACOESMOVDESCRICAO->setAsString(QStringLiteral("NOVO %1").arg(i));
        dm.TBMOVIMENTACOESMOVVALOR->setAsFloat(i + 0.5);
        dm.TBMOVIMENTACOESMOVDEBITOCREDITO->setAsString(QStringLiteral("SAIDA"));
        tb->post();
    }
}

} // namespace CrashBatch
