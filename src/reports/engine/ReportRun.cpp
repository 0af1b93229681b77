#include "ReportRun.h"

#include "dataset/Win1252.h"

#include <QDataStream>
#include <QFile>
#include <QFontMetricsF>
#include <QSaveFile>
#include <QHash>
#include <QTextLayout>
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

void ReportRun::append(const ReportRun &other)
{
    if (m_pageSize.isEmpty())
        m_pageSize = other.m_pageSize;
    const int imageOffset = int(m_images.size());
    m_images += other.m_images;
    for (LaidOutPage page : other.m_pages) {
        for (PageItem &item : page.items)
            if (item.imageIndex >= 0)
                item.imageIndex += imageOffset;
        m_pages.append(page);
    }
}

void ReportRun::addItem(int page, const PageItem &item)
{
    m_pages[page].items.append(item);
}

namespace {
constexpr quint32 FileMagic = 0x4b524c31; // "KRL1"
// Version 2 added polylines; files of version 1 still load.
constexpr qint32 FileVersion = 2;

void write(QDataStream &out, const PageItem &item)
{
    out << qint32(item.kind) << item.elementName << item.rect << item.text << item.font << item.colour
        << item.background << qint32(item.flags) << qint32(item.imageIndex) << item.points
        << qint32(item.lineWidth);
}

void read(QDataStream &in, PageItem &item, qint32 version)
{
    qint32 kind = 0, flags = 0, imageIndex = -1, lineWidth = 0;
    in >> kind >> item.elementName >> item.rect >> item.text >> item.font >> item.colour
        >> item.background >> flags >> imageIndex;
    if (version >= 2)
        in >> item.points >> lineWidth;
    item.kind = PageItem::Kind(qBound(0, int(kind), int(PageItem::Polyline)));
    item.flags = flags;
    item.imageIndex = imageIndex;
    item.lineWidth = lineWidth;
}
} // namespace

bool ReportRun::save(const QString &path) const
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QDataStream out(&file);
    out.setVersion(QDataStream::Qt_6_0);
    out << FileMagic << FileVersion << m_pageSize << m_images << qint32(m_pages.size());
    for (const LaidOutPage &page : m_pages) {
        out << qint32(page.items.size());
        for (const PageItem &item : page.items)
            write(out, item);
    }
    return out.status() == QDataStream::Ok && file.commit();
}

bool ReportRun::load(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    QDataStream in(&file);
    in.setVersion(QDataStream::Qt_6_0);
    quint32 magic = 0;
    qint32 version = 0, pageCount = 0;
    in >> magic >> version;
    if (magic != FileMagic || version < 1 || version > FileVersion)
        return false;
    ReportRun loaded;
    in >> loaded.m_pageSize >> loaded.m_images >> pageCount;
    for (qint32 i = 0; i < pageCount && in.status() == QDataStream::Ok; ++i) {
        qint32 itemCount = 0;
        in >> itemCount;
        LaidOutPage page;
        for (qint32 j = 0; j < itemCount && in.status() == QDataStream::Ok; ++j) {
            PageItem item;
            read(in, item, version);
            page.items.append(item);
        }
        loaded.m_pages.append(page);
    }
    if (in.status() != QDataStream::Ok || pageCount < 0 || loaded.m_pageSize.isEmpty())
        return false;
    *this = std::move(loaded);
    return true;
}

namespace TextMeasure {

namespace {
constexpr int MeasureDpi = 1200;
constexpr qreal UnitsPerPixel = 254.0 / MeasureDpi;

QPaintDevice *measuringDevice()
{
    static QImage device = [] {
        QImage image(1, 1, QImage::Format_ARGB32);
        image.setDotsPerMeterX(qRound(MeasureDpi / 0.0254));
        image.setDotsPerMeterY(qRound(MeasureDpi / 0.0254));
        return image;
    }();
    return &device;
}

// A font's metrics with the advance of every WIN1252 character, measured
// once: a report's texts are measured by adding advances, not shaped again.
// Layout fonts have no kerning, so the sum is the width every sink draws.
struct Measured
{
    explicit Measured(const QFont &font) : metrics(font, measuringDevice())
    {
        for (int code = 0; code < 256; ++code) {
            const char byte = char(code);
            const QString ch = Win1252::decode(&byte, 1);
            advance[code] = ch.size() == 1 ? metrics.horizontalAdvance(ch[0]) : -1;
        }
        QTextLayout layout(QStringLiteral("X"), font, measuringDevice());
        layout.beginLayout();
        QTextLine line = layout.createLine();
        line.setLineWidth(1e6);
        laidLineHeight = line.height();
        layout.endLayout();
    }
    QFontMetricsF metrics;
    qreal advance[256];
    qreal laidLineHeight; // a line's height as a text layout sets it, a little above the metrics' own
};

const Measured &measuredOf(const QFont &font)
{
    static QHash<QString, std::shared_ptr<Measured>> cache;
    static QFont lastFont;
    static const Measured *last = nullptr;
    if (last && font == lastFont)
        return *last;
    const QString key = font.key();
    auto it = cache.find(key);
    if (it == cache.end())
        it = cache.insert(key, std::make_shared<Measured>(font));
    lastFont = font;
    last = it->get();
    return *last;
}

const QFontMetricsF &metricsOf(const QFont &font)
{
    return measuredOf(font).metrics;
}
} // namespace

QFont layoutFont(const QString &family, qreal pointSize, bool bold)
{
    QFont font(family);
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setKerning(false);
    return font;
}

qreal width(const QFont &font, const QString &text)
{
    const Measured &m = measuredOf(font);
    qreal sum = 0;
    for (const QChar ch : text) {
        const int code = Win1252::byteOf(ch);
        if (code < 0 || m.advance[code] < 0)
            return m.metrics.horizontalAdvance(text) * UnitsPerPixel;
        sum += m.advance[code];
    }
    return sum * UnitsPerPixel;
}

qreal lineHeight(const QFont &font)
{
    return metricsOf(font).height() * UnitsPerPixel;
}

qreal ascent(const QFont &font)
{
    return metricsOf(font).ascent() * UnitsPerPixel;
}

qreal linesHeight(const QFont &font, qsizetype count)
{
    if (count <= 0)
        return 0;
    const Measured &m = measuredOf(font);
    return (count * m.laidLineHeight + (count - 1) * m.metrics.leading()) * UnitsPerPixel;
}

namespace {
qreal alignedLeft(qreal lineWidth, qreal width, int flags)
{
    if (flags & Qt::AlignRight)
        return width - lineWidth;
    if (flags & Qt::AlignHCenter)
        return (width - lineWidth) / 2;
    return 0;
}
} // namespace

bool fitsOnOneLine(const QFont &font, const QString &text, qreal width, int flags)
{
    return !(flags & Qt::TextWordWrap) && !text.contains(u'\n') && TextMeasure::width(font, text) <= width;
}

QList<TextLine> lines(const QFont &font, const QString &text, qreal width, int flags)
{
    if (!(flags & Qt::TextWordWrap) && !text.contains(u'\n')) // one line, clipped when too wide
        return {{text, QPointF(alignedLeft(TextMeasure::width(font, text), width, flags), ascent(font))}};
    QString laid = text;
    laid.replace(u'\n', QChar::LineSeparator);
    QTextLayout layout(laid, font, measuringDevice());
    QTextOption option;
    // A word longer than the line (an e-mail address) is broken where the line ends.
    option.setWrapMode(flags & Qt::TextWordWrap ? QTextOption::WrapAtWordBoundaryOrAnywhere : QTextOption::ManualWrap);
    layout.setTextOption(option);
    const qreal leading = metricsOf(font).leading();
    QList<TextLine> result;
    layout.beginLayout();
    qreal y = 0;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width / UnitsPerPixel);
        line.setPosition(QPointF(0, y));
        QString shown = laid.mid(line.textStart(), line.textLength()).remove(QChar::LineSeparator);
        while (shown.endsWith(u' ')) // the blanks a line is broken at
            shown.chop(1);
        result.append({shown, QPointF(alignedLeft(TextMeasure::width(font, shown), width, flags),
                                      (y + line.ascent()) * UnitsPerPixel)});
        y += line.height() + leading;
    }
    layout.endLayout();
    return result;
}

} // namespace TextMeasure
