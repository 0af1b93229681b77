#pragma once

#include "Dataset.h"

#include <QVector>

// The lines of a report worked out beforehand (headings, lines, totals),
// held in memory and walked by the band engine like a query: a report whose
// lines are of several kinds prints them through one detail band, its
// handler styling each line by its kind. Read-only.
class LineDataset : public Dataset
{
    Q_OBJECT
public:
    LineDataset(const QString &name, const FieldDefs &columns, QObject *parent = nullptr);

    void clear();
    void append(const QVector<QVariant> &line); // one value per column, in order
    void open(); // browsing the lines, the first one current

    int recordCount() const override { return int(m_lines.size()); }
    QVariant fieldValue(int column) const override;
    void setFieldValue(int column, const QVariant &value) override; // DbError: read-only

private:
    int m_columns;
    QVector<QVector<QVariant>> m_lines;
};
