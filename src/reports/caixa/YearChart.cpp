#include "YearChart.h"

#include "CashYear.h"
#include "reports/engine/Band.h"

#include <QLocale>
#include <cmath>

namespace {

constexpr int ScaleWidth = 170; // the amounts left of the plot
constexpr int LegendHeight = 70;
constexpr int MonthsHeight = 55; // the month names under the plot
constexpr int MaxGridLines = 12;
constexpr int MaxLines = 6; // a line breaks at a month without a book
constexpr int BarWidth = 40;
constexpr int MarkSize = 18;
constexpr int LineWidth = 6; // 0.6 mm
const QColor GridColour(205, 205, 205);

const char *const ShortMonths[] = {"Jan", "Fev", "Mar", "Abr", "Mai", "Jun",
                                   "Jul", "Ago", "Set", "Out", "Nov", "Dez"};

LabelElement *smallLabel(Band *band, const QString &name, const QRect &rect, const QString &caption,
                         Qt::Alignment alignment)
{
    LabelElement *label = band->addLabel(name, rect, caption);
    label->font.pointSize = 8;
    label->alignment = alignment;
    return label;
}

ShapeElement *filled(Band *band, const QString &name, const QRect &rect, const QColor &colour)
{
    ShapeElement *shape = band->addShape(name, rect);
    shape->pen = Qt::transparent;
    shape->background = colour;
    return shape;
}

} // namespace

YearChart::YearChart(Band *band, const QRect &area)
    : m_plot(area.left() + ScaleWidth + 10, area.top() + LegendHeight, area.width() - ScaleWidth - 10,
             area.height() - LegendHeight - MonthsHeight)
{
    // Legend, right-aligned above the plot.
    const struct { const char *caption; QColor colour; } legend[] = {
        {"Entradas", entriesColour()}, {"Saídas", exitsColour()}, {"Saldo atual", balanceColour()}};
    int x = m_plot.right() - 3 * 330;
    const int legendTop = area.top() + 10;
    for (const auto &entry : legend) {
        if (entry.colour == balanceColour()) {
            auto *swatch = band->add<PolylineElement>(QStringLiteral("legendaSaldo"), QRect());
            swatch->points = QPolygon({QPoint(x, legendTop + 18), QPoint(x + 60, legendTop + 18)});
            swatch->pen = entry.colour;
            swatch->width = LineWidth;
        } else {
            filled(band, QStringLiteral("legendaBarra"), QRect(x + 15, legendTop + 3, 30, 30), entry.colour);
        }
        smallLabel(band, QStringLiteral("txtLegenda"), QRect(x + 75, legendTop, 240, 40),
                   QString::fromUtf8(entry.caption), Qt::AlignLeft);
        x += 330;
    }

    for (int i = 0; i < MaxGridLines; ++i) {
        m_grid << band->addShape(QStringLiteral("gradeGrafico"), QRect(m_plot.left(), 0, m_plot.width(), 1));
        m_grid.last()->pen = GridColour;
        m_scale << smallLabel(band, QStringLiteral("txtEscala"), QRect(area.left(), 0, ScaleWidth, 40), QString(),
                              Qt::AlignRight);
    }
    band->addShape(QStringLiteral("molduraGrafico"), m_plot)->pen = GridColour;
    const int slot = m_plot.width() / 12;
    for (int i = 0; i < 12; ++i) {
        const int left = m_plot.left() + i * slot + (slot - 2 * BarWidth - 10) / 2;
        m_entries[i] = filled(band, QStringLiteral("barraEntradas"), QRect(left, 0, BarWidth, 0), entriesColour());
        m_exits[i] = filled(band, QStringLiteral("barraSaidas"), QRect(left + BarWidth + 10, 0, BarWidth, 0),
                            exitsColour());
        smallLabel(band, QStringLiteral("txtMesGrafico"),
                   QRect(m_plot.left() + i * slot, m_plot.bottom() + 12, slot, 40),
                   QString::fromLatin1(ShortMonths[i]), Qt::AlignHCenter);
    }
    m_zero = band->addShape(QStringLiteral("zeroGrafico"), QRect(m_plot.left(), 0, m_plot.width(), 1));
    for (int i = 0; i < MaxLines; ++i) {
        m_lines << band->add<PolylineElement>(QStringLiteral("linhaSaldo"), QRect());
        m_lines.last()->pen = balanceColour();
        m_lines.last()->width = LineWidth;
    }
    for (int i = 0; i < 12; ++i)
        m_marks[i] = filled(band, QStringLiteral("marcaSaldo"), QRect(0, 0, MarkSize, MarkSize), balanceColour());
}

double YearChart::step(double low, double high)
{
    const double range = high - low;
    if (!(range > 0))
        return 1;
    const double raw = range / 5;
    const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
    for (double m : {1.0, 2.0, 2.5, 5.0})
        if (m * magnitude >= raw)
            return m * magnitude;
    return 10 * magnitude;
}

int YearChart::yOf(double value) const
{
    return m_plot.bottom() - int(std::lround((value - m_low) / (m_high - m_low) * m_plot.height()));
}

void YearChart::show(const std::array<CashMonth, 12> &months)
{
    double low = 0, high = 0;
    for (const CashMonth &m : months)
        if (m.hasBook())
            for (double v : {m.entries, m.exits, m.current}) {
                low = std::min(low, v);
                high = std::max(high, v);
            }
    if (high - low < 1)
        high = low + 1;
    m_unit = step(low, high);
    m_low = std::floor(low / m_unit) * m_unit;
    m_high = std::ceil(high / m_unit) * m_unit;
    showScale();
    for (int i = 0; i < 12; ++i)
        showMonth(i, months[i]);
    showBalanceLine(months);
}

void YearChart::showScale()
{
    const double unit = m_unit;
    const int decimals = unit == std::floor(unit) ? 0 : 2;
    for (int i = 0; i < MaxGridLines; ++i) {
        const double value = m_low + i * unit;
        const bool shown = value <= m_high + unit / 1000;
        m_grid[i]->visible = shown;
        m_scale[i]->visible = shown;
        if (!shown)
            continue;
        const int y = yOf(value);
        m_grid[i]->rect.moveTop(y);
        m_scale[i]->rect.moveTop(y - 20);
        m_scale[i]->caption = QLocale().toString(std::abs(value) < unit / 1000 ? 0.0 : value, 'f', decimals);
    }
    m_zero->rect.moveTop(yOf(0));
}

void YearChart::showMonth(int index, const CashMonth &month)
{
    const int zero = yOf(0);
    const auto bar = [&](ShapeElement *shape, double value) {
        const int y = yOf(value);
        shape->rect.setTop(std::min(y, zero));
        shape->rect.setHeight(std::abs(y - zero));
        shape->visible = month.hasBook() && shape->rect.height() > 0;
    };
    bar(m_entries[index], month.entries);
    bar(m_exits[index], month.exits);
    const int slot = m_plot.width() / 12;
    m_marks[index]->rect.moveCenter(QPoint(m_plot.left() + index * slot + slot / 2, yOf(month.current)));
    m_marks[index]->visible = month.hasBook();
}

void YearChart::showBalanceLine(const std::array<CashMonth, 12> &months)
{
    for (PolylineElement *line : m_lines)
        line->points.clear();
    int line = -1;
    bool previousHasBook = false;
    for (int i = 0; i < 12; ++i) {
        if (!months[i].hasBook()) {
            previousHasBook = false;
            continue;
        }
        if (!previousHasBook)
            ++line;
        m_lines[line]->points << m_marks[i]->rect.center();
        previousHasBook = true;
    }
}
