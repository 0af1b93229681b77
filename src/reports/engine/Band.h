#pragma once

#include "ReportElements.h"

#include <functional>
#include <memory>
#include <vector>

// A strip of fixed height across the page, laid out once per page (headers,
// footers), once per run (title) or once per row (detail).
class Band
{
public:
    enum class Kind { Title, PageHeader, Detail, PageFooter };

    Band(Kind kind, const QString &name, int height) : m_kind(kind), m_name(name), height(height) {}

    Kind kind() const { return m_kind; }
    const QString &name() const { return m_name; }

    template<typename T> T *add(const QString &elementName, const QRect &rect)
    {
        auto element = std::make_unique<T>(elementName, rect);
        T *raw = element.get();
        m_elements.push_back(std::move(element));
        return raw;
    }
    LabelElement *addLabel(const QString &elementName, const QRect &rect, const QString &caption)
    {
        auto *label = add<LabelElement>(elementName, rect);
        label->caption = caption;
        return label;
    }
    DataTextElement *addDataText(const QString &elementName, const QRect &rect, const QString &column)
    {
        auto *text = add<DataTextElement>(elementName, rect);
        text->column = column;
        return text;
    }
    ShapeElement *addShape(const QString &elementName, const QRect &rect) { return add<ShapeElement>(elementName, rect); }

    const std::vector<std::unique_ptr<Element>> &elements() const { return m_elements; }
    Element *findElement(const QString &elementName) const;

private:
    Kind m_kind;
    QString m_name;
    std::vector<std::unique_ptr<Element>> m_elements;

public:
    int height; // tenths of a millimetre
    // Room a detail wants below it on its page (a table's title with its
    // first rows), else it starts the next page; set per row in beforePrint.
    int keepWithNext = 0;
    QColor background = Qt::white;
    std::function<void(Band &)> beforePrint;
};
