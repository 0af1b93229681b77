#pragma once

#include "datamodule/UDM.h"

#include <QStringList>
#include <QTest>

// The tables of `dm` that hold changes never applied to the database. When a
// user action has finished there are none: a row is left only by saving
// (post and apply) or cancelling, and a refused save puts its row back in
// insert or edit mode with what the user typed, with nothing pending.
inline QStringList tablesWithUnappliedChanges(const TDM *dm)
{
    QStringList names;
    if (dm)
        for (const TableDataset *table : dm->tables())
            if (table->hasPendingChanges())
                names << table->objectName();
    return names;
}

// For a test after each of its steps.
#define ASSERT_NO_UNAPPLIED_CHANGES(dm)                                                  \
    QVERIFY2(tablesWithUnappliedChanges(dm).isEmpty(),                                  \
             qPrintable(QStringLiteral("alterações pendentes, nunca gravadas, em ")       \
                        + tablesWithUnappliedChanges(dm).join(QStringLiteral(", "))))
