#include "BenchKit.h"

#include <QElapsedTimer>
#include <QFile>

#include <cmath>
#include <limits>

#ifdef __GLIBC__
#include <malloc.h>
#endif
#ifdef Q_OS_LINUX
#include <unistd.h>
#endif

namespace Bench {

QTextStream &out()
{
    static QTextStream stream(stdout);
    return stream;
}

double timedMs(const std::function<void()> &work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return double(timer.nsecsElapsed()) / 1e6;
}

double bestOf(int runs, const std::function<double()> &measure)
{
    double best = std::numeric_limits<double>::infinity();
    for (int i = 0; i < runs; ++i)
        best = std::min(best, measure());
    return best;
}

std::optional<double> residentMiB()
{
#ifdef __GLIBC__
    malloc_trim(0);
#endif
#ifdef Q_OS_LINUX
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    if (fields.size() < 2)
        return std::nullopt;
    return fields[1].toDouble() * double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
#else
    return std::nullopt;
#endif
}

std::optional<double> growthMiB(const std::function<void(const Probe &)> &hold)
{
    const std::optional<double> before = residentMiB();
    std::optional<double> peak;
    hold([&] { peak = residentMiB(); });
    if (!before || !peak)
        return std::nullopt;
    return *peak - *before;
}

std::optional<double> ratio(std::optional<double> a, std::optional<double> b)
{
    if (!a || !b || *b == 0)
        return std::nullopt;
    return *a / *b;
}

std::optional<double> Figure::ratioTo(const QString &other) const
{
    for (const auto &[name, value] : ratios)
        if (name == other)
            return value;
    return std::nullopt;
}

namespace {
// Whole numbers (counts, codes) plainly, others with three decimals; "n/a" for none.
QString number(std::optional<double> v)
{
    if (!v)
        return QStringLiteral("n/a");
    return QString::number(*v, 'f', *v == std::floor(*v) && std::abs(*v) < 1e9 ? 0 : 3);
}
} // namespace

void printFigure(const Figure &f)
{
    out() << f.name << ' ' << number(f.value) << ' ' << f.unit;
    for (const auto &[name, value] : f.ratios)
        out() << " ratio_vs_" << name << ' ' << number(value);
    out() << Qt::endl;
}

void printTarget(const Target &t)
{
    const bool met = t.value && (t.strict ? *t.value < t.limit : *t.value <= t.limit);
    out() << "target " << t.name << ' ' << (t.strict ? "< " : "<= ") << t.limit << ' ' << number(t.value) << ' '
          << (!t.value ? "unknown" : met ? "met" : "missed") << Qt::endl;
}

} // namespace Bench
