#include "Report.h"

#include "BandLayout.h"
#include "PrintPreview.h"

#include "dataset/Dataset.h"
#include "uikit/Pictures.h"
#include "dataset/Field.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QHash>
#include <QtMath>
#include <cmath>

Report::Report(QObject *parent) : QObject(parent) {}

Report::~Report() = default;

void Report::setLargePrint(bool on)
{
    if (on == largePrint())
        return;
    if (on)
        m_large = bandWidth();
    else
        m_large.reset();
    std::swap(pageWidth, pageHeight);
    std::swap(leftMargin, topMargin);
    std::swap(rightMargin, bottomMargin);
}

Band *Report::addBand(Band::Kind kind, const QString &name, int height)
{
    m_bands.push_back(std::make_unique<Band>(kind, name, height));
    return m_bands.back().get();
}

Band *Report::band(const QString &name) const
{
    for (const auto &band : m_bands)
        if (band->name() == name)
            return band.get();
    return nullptr;
}

Band *Report::bandOf(Band::Kind kind) const
{
    for (const auto &band : m_bands)
        if (band->kind() == kind)
            return band.get();
    return nullptr;
}

Element *Report::findElement(const QString &name) const
{
    for (const auto &band : m_bands)
        if (Element *element = band->findElement(name))
            return element;
    return nullptr;
}

// Lays bands out onto pages for one run.
class RunBuilder
{
public:
    explicit RunBuilder(const Report &report) : m_report(report)
    {
        m_run.m_pageSize = QSize(report.pageWidth, report.pageHeight);
        if (report.m_large)
            m_large.emplace(*report.m_large, report.bandWidth(), report.largeLift, report.largeColumns,
                            report.defaultFont);
    }

    ReportRun take() { return std::move(m_run); }

    void startPage(Band *header, Band *title)
    {
        m_run.m_pages.append(LaidOutPage());
        m_y = m_report.topMargin;
        m_detailsOnPage = 0;
        if (header)
            place(*header, true);
        if (title && m_run.m_pages.size() == 1)
            place(*title, true);
    }

    bool fits(const Band &band) const
    {
        return m_detailsOnPage == 0 || m_y + heightOf(band) + band.keepWithNext <= footerTop();
    }

    void placeDetail(Band &detail)
    {
        place(detail, false);
        ++m_detailsOnPage;
    }

    void placeFooter(Band *footer)
    {
        if (!footer)
            return;
        m_y = footerTop();
        place(*footer, true);
    }

private:
    int footerTop() const
    {
        const Band *footer = m_report.bandOf(Band::Kind::PageFooter);
        return m_report.pageHeight - m_report.bottomMargin - (footer ? heightOf(*footer) : 0);
    }

    int heightOf(const Band &band) const
    {
        return m_large ? layoutOf(band).height : band.height;
    }

    PlacedBand layoutOf(const Band &band) const
    {
        if (!m_large)
            return asDesigned(band);
        return m_large->place(band, [this](const Element &element) { return textOf(element); });
    }

    QString textOf(const Element &element) const
    {
        if (element.kind() == Element::Kind::Label)
            return static_cast<const LabelElement &>(element).caption;
        const auto &data = static_cast<const DataTextElement &>(element);
        const Field *field = fieldOf(data.dataset, data.column);
        return field ? field->displayText() : QString();
    }

    void place(Band &band, bool runHandler)
    {
        if (runHandler && band.beforePrint)
            band.beforePrint(band);
        const PlacedBand placed = layoutOf(band);
        LaidOutPage &page = m_run.m_pages.last();
        const QPoint origin(m_report.leftMargin, m_y);
        if (band.background != QColor(Qt::white) && band.background.alpha() > 0) {
            PageItem fill;
            fill.kind = PageItem::Rect;
            fill.rect = QRect(origin, QSize(m_report.bandWidth(), placed.height));
            fill.colour = Qt::transparent;
            fill.background = band.background;
            page.items.append(fill);
        }
        for (size_t i = 0; i < placed.elements.size(); ++i)
            if (band.elements().at(i)->visible)
                placeElement(page, *band.elements().at(i), placed.elements.at(i), origin);
        m_y += placed.height;
    }

    void placeElement(LaidOutPage &page, const Element &element, const PlacedElement &placed, const QPoint &origin)
    {
        PageItem item;
        item.elementName = element.name;
        item.rect = placed.rect.translated(origin);
        switch (element.kind()) {
        case Element::Kind::Shape:
            item.kind = PageItem::Rect;
            item.colour = static_cast<const ShapeElement &>(element).pen;
            item.background = element.background;
            page.items.append(item);
            return;
        case Element::Kind::Polyline: {
            const auto &line = static_cast<const PolylineElement &>(element);
            if (line.points.size() < 2)
                return;
            item.kind = PageItem::Polyline;
            item.points = line.points.translated(origin);
            item.rect = item.points.boundingRect();
            item.colour = line.pen;
            item.lineWidth = line.width;
            page.items.append(item);
            return;
        }
        case Element::Kind::DataImage: {
            const auto &image = static_cast<const DataImageElement &>(element);
            const Field *field = fieldOf(image.dataset, image.column);
            placeImage(page, item, field ? imageIndexOf(field->asBytes(), item.rect.size()) : -1);
            return;
        }
        case Element::Kind::Picture:
            placeImage(page, item, pictureIndexOf(static_cast<const PictureElement &>(element).picture));
            return;
        case Element::Kind::Label:
        case Element::Kind::DataText:
            item.text = textOf(element);
            break;
        }
        item.kind = PageItem::Text;
        const ElementFont &f = element.font;
        item.font = TextMeasure::layoutFont(f.family.isEmpty() ? m_report.defaultFont.family : f.family,
                                            placed.points > 0 ? placed.points : m_report.defaultFont.pointSize,
                                            f.bold);
        item.colour = f.colour;
        item.background = element.background;
        item.flags = int(element.alignment) | Qt::AlignTop | (placed.wordWrap ? Qt::TextWordWrap : 0);
        if (placed.autoSize) {
            const int width = int(std::ceil(TextMeasure::width(item.font, item.text)));
            const int height = int(std::ceil(TextMeasure::lineHeight(item.font)));
            QRect &r = item.rect;
            if (element.alignment & Qt::AlignRight)
                r.setLeft(r.right() + 1 - width);
            else if (element.alignment & Qt::AlignHCenter)
                r.setLeft(r.left() + (r.width() - width) / 2);
            r.setSize(QSize(width, height));
        }
        page.items.append(item);
    }

    // The picture `index` of the run, centred in the item's frame and scaled
    // into it keeping its proportions; nothing for no picture.
    void placeImage(LaidOutPage &page, PageItem &item, int index)
    {
        if (index < 0)
            return;
        const QSize size = m_run.m_images.at(index).size().scaled(item.rect.size(), Qt::KeepAspectRatio);
        item.kind = PageItem::Image;
        item.imageIndex = index;
        item.rect = QRect(QPoint(item.rect.left() + (item.rect.width() - size.width()) / 2,
                                 item.rect.top() + (item.rect.height() - size.height()) / 2),
                          size);
        page.items.append(item);
    }

    const Field *fieldOf(Dataset *own, const QString &column) const
    {
        Dataset *dataset = own ? own : m_report.dataset;
        if (!dataset || !dataset->active() || dataset->isEmpty())
            return nullptr;
        return dataset->findField(column);
    }

    // A picture printed in a frame of `frame` (tenths of a millimetre) is
    // decoded at no more than the printing resolution: a phone's photograph
    // prints as sharply and takes a fraction of the memory. Each picture is
    // held once per frame size, known by a digest of its bytes.
    int imageIndexOf(const QByteArray &bytes, QSize frame)
    {
        if (bytes.isEmpty())
            return -1;
        const QByteArray key = QCryptographicHash::hash(bytes, QCryptographicHash::Sha1) +
                               QByteArray::number(frame.width()) + 'x' + QByteArray::number(frame.height());
        auto it = m_imageByKey.constFind(key);
        if (it != m_imageByKey.constEnd())
            return *it;
        const QSize pixels(qCeil(frame.width() * kPictureDpi / 254.0), qCeil(frame.height() * kPictureDpi / 254.0));
        const QImage image = Pictures::fittedInto(bytes, pixels);
        const int index = image.isNull() ? -1 : int(m_run.m_images.size());
        if (index >= 0)
            m_run.m_images.append(image);
        m_imageByKey.insert(key, index);
        return index;
    }

    // A picture placed again (the same QImage) is stored once.
    int pictureIndexOf(const QImage &picture)
    {
        if (picture.isNull())
            return -1;
        auto it = m_pictureByKey.constFind(picture.cacheKey());
        if (it != m_pictureByKey.constEnd())
            return *it;
        const int index = int(m_run.m_images.size());
        m_run.m_images.append(picture);
        m_pictureByKey.insert(picture.cacheKey(), index);
        return index;
    }

    const Report &m_report;
    ReportRun m_run;
    QHash<QByteArray, int> m_imageByKey;
    QHash<qint64, int> m_pictureByKey;
    static constexpr int kPictureDpi = 300;
    std::optional<LargePrint> m_large;
    int m_y = 0;
    int m_detailsOnPage = 0;
};

ReportRun Report::run()
{
    if (onStart)
        onStart();
    Band *header = bandOf(Band::Kind::PageHeader);
    Band *title = bandOf(Band::Kind::Title);
    Band *detail = bandOf(Band::Kind::Detail);
    Band *footer = bandOf(Band::Kind::PageFooter);
    const bool hasRows = !dataset || (dataset->active() && !dataset->isEmpty());
    if (dataset && dataset->active())
        dataset->first();

    RunBuilder builder(*this);
    if (hasRows || printIfEmpty) {
        builder.startPage(header, title);
        if (!dataset) {
            if (detail) {
                if (detail->beforePrint)
                    detail->beforePrint(*detail);
                builder.placeDetail(*detail);
            }
        } else if (hasRows) {
            const int total = dataset->recordCount();
            int row = 0;
            int reported = 0;
            for (; !dataset->eof(); dataset->next()) {
                if (detail) {
                    if (detail->beforePrint)
                        detail->beforePrint(*detail);
                    if (!builder.fits(*detail)) {
                        builder.placeFooter(footer);
                        builder.startPage(header, title);
                    }
                    builder.placeDetail(*detail);
                }
                ++row;
                if (onProgress && total > 0) {
                    const int percent = row * 100 / total;
                    if (percent >= reported + 5) {
                        reported = percent - percent % 5;
                        onProgress(reported);
                    }
                }
                if (row % rowsBetweenEvents == 0)
                    QCoreApplication::processEvents();
            }
        }
        builder.placeFooter(footer);
    }
    if (onEnd)
        onEnd();
    return builder.take();
}

bool Report::exportPdf(const QString &path)
{
    return writePdf(path, run());
}

bool Report::print(QPrinter &printer)
{
    return printRun(printer, run());
}

void Report::preview(QWidget *parentWindow)
{
    PrintPreview window(this, parentWindow);
    // Modal from the start: the other windows wait while the pages are laid out.
    window.setWindowModality(Qt::ApplicationModal);
    window.show();
    window.layOut();
    if (window.isVisible()) // not closed while the pages were laid out
        window.exec();
}
