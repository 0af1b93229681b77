#pragma once

#include "datamodule/ChangeLog.h"
#include "reports/base/ReportWindow.h"

class LineDataset;

// The change log as printed: on every page the church's heading, the title
// and the filter with the column headings, so that each sheet stands alone;
// then one line per change, its details wrapped in their column over as many
// lines as they need.
class TFRHistorico : public ReportWindow
{
    Q_OBJECT
public:
    explicit TFRHistorico(QWidget *owner);

    // What is printed: the lines read with `filter`, newest first.
    void setEntries(const QList<ChangeLog::Entry> &entries, const ChangeLog::Filter &filter);

    LineDataset *QLinhas;

private:
    void buildHeader();
    void buildDetail();
    void buildFooter();
    void QuickRep1BeforePrint();
    QStringList detailLines(const QString &details) const;

    QList<ChangeLog::Entry> m_entries;
    QString m_filter;
};
