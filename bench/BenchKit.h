#pragma once

#include <QApplication>
#include <QList>
#include <QWidget>
#include <QString>
#include <QTextStream>

#include <functional>
#include <optional>
#include <utility>

// What every figure of kelmara-bench shares: timing, resident memory and the
// report lines
//     name value unit [ratio_vs_X R]...
//     target name < limit value met|missed|unknown
namespace Bench {

inline constexpr int kRuns = 3;      // best of, for the table reads
inline constexpr int kQuickRuns = 7; // best of, for the in-memory operations

// The shown top-level window of that class, or none.
template <class Window>
Window *shownTopLevel()
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *window = qobject_cast<Window *>(w); window && window->isVisible())
            return window;
    return nullptr;
}

QTextStream &out();

double timedMs(const std::function<void()> &work);
// The smallest of `runs` figures from `measure`.
double bestOf(int runs, const std::function<double()> &measure);

// Resident memory in MiB, after giving freed heap back to the system; none off Linux.
std::optional<double> residentMiB();
// Growth of resident memory while `hold` keeps a structure alive: `hold`
// builds it, calls the given probe, then releases it.
using Probe = std::function<void()>;
std::optional<double> growthMiB(const std::function<void(const Probe &)> &hold);

std::optional<double> ratio(std::optional<double> a, std::optional<double> b);

struct Figure
{
    QString name;
    std::optional<double> value;
    QString unit;
    QList<std::pair<QString, std::optional<double>>> ratios = {}; // ("query", 0.5) prints ratio_vs_query 0.5
    std::optional<double> ratioTo(const QString &other) const;
};
void printFigure(const Figure &f);

struct Target
{
    QString name;
    std::optional<double> value;
    bool strict; // "<" rather than "<="
    double limit;
};
void printTarget(const Target &t);

} // namespace Bench
