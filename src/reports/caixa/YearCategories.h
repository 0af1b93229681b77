#pragma once

#include <QRect>
#include <QString>

class Band;
struct CategoryTotals;

// The year's entries and exits by category, as two small tables side by
// side on a band (below the chart of the year summary): the largest first;
// when a side has more categories than lines, the last line sums the rest.
class YearCategories
{
public:
    static constexpr int kLines = 9;
    static constexpr int kHeight = 500; // tenths of a millimetre

    YearCategories(Band *band, const QRect &area);

    void show(const CategoryTotals &totals);
    void hide(); // nothing of it prints: a database without categories

private:
    void setVisible(bool on);

    Band *m_band;
};
