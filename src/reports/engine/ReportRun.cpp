#include "ReportRun.h"

#include <QFontMetricsF>
#include <QHash>
#include <QStringList>
#include <algorithm>
#include <memory>

QStringList ReportRun::texts(int page, const QString &elementName) const
{
    QList<const PageItem *> found;
    for (const PageItem &item : m_pages.at(page).items)
        if (item.elementName == elementName && item.kind == PageItem::Text)
            found.append(&item);
    std::stable_sort(found.begin(), found.end(),
                     [](const PageItem *a, const PageItem *b) { return a->rect.top() < b->rect.top(); });
    QStringList result;
    for (const PageItem *item : found)
        result.append(item->text);
    return result;
}

const PageItem *ReportRun::findItem(int page, const QString &elementName) const
{
    for (const PageItem &item : m_pages.at(page).items)
        if (item.elementName == elementName)
            return &item;
    return nullptr;
}

namespace TextMeasure {

namespace {
constexpr int MeasureDpi = 1200;
constexpr qreal UnitsPerPixel = 254.0 / MeasureDpi;

const QFontMetricsF &metricsOf(const QFont &font)
{
    static QImage device = [] {
        QImage image(1, 1, QImage::Format_ARGB32);
        image.setDotsPerMeterX(qRound(MeasureDpi / 0.0254));
        image.setDotsPerMeterY(qRound(MeasureDpi / 0.0254));
        return image;
    }();
    static QHash<QString, std::shared_ptr<QFontMetricsF>> cache;
    const QString key = font.key();
    auto it = cache.find(key);
    if (it == cache.end())
        it = cache.insert(key, std::make_shared<QFontMetricsF>(font, &device));
    return **it;
}
} // namespace

QFont layoutFont(const QString &family, qreal pointSize, bool bold)
{
    QFont font(family);
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setKerning(true);
    return font;
}

qreal width(const QFont &font, const QString &text)
{
    return metricsOf(font).horizontalAdvance(text) * UnitsPerPixel;
}

qreal lineHeight(const QFont &font)
{
    return metricsOf(font).height() * UnitsPerPixel;
}

} // namespace TextMeasure
