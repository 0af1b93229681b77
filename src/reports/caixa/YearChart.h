#pragma once

#include <QColor>
#include <QList>
#include <QRect>
#include <array>

class Band;
class LabelElement;
class PolylineElement;
class ShapeElement;
struct CashMonth;

// A chart of the twelve months of a cash book year drawn with report
// elements, so every sink shows the same picture: entries and exits as
// bars side by side, the current balance as a line with a mark per month,
// a scale of round amounts with its grid, and a legend. A month without a
// book has no bars and breaks the line.
class YearChart
{
public:
    // Places the chart's elements on `band` within `area` (band units).
    YearChart(Band *band, const QRect &area);

    void show(const std::array<CashMonth, 12> &months);

    static QColor entriesColour() { return QColor(40, 90, 220); }
    static QColor exitsColour() { return QColor(220, 40, 40); }
    static QColor balanceColour() { return QColor(0, 128, 0); }

    // Round steps for a scale from `low` to `high` (1, 2, 2.5 or 5 times a
    // power of ten, at most about six of them).
    static double step(double low, double high);

private:
    int yOf(double value) const;
    void showScale();
    void showMonth(int index, const CashMonth &month);
    void showBalanceLine(const std::array<CashMonth, 12> &months);

    QRect m_plot; // the area of the bars, band units
    double m_low = 0;
    double m_high = 1;
    double m_unit = 1; // between two lines of the scale
    QList<ShapeElement *> m_grid;
    QList<LabelElement *> m_scale;
    ShapeElement *m_zero;
    std::array<ShapeElement *, 12> m_entries, m_exits, m_marks;
    QList<PolylineElement *> m_lines;
};
