#pragma once

#include <QColor>
#include <QImage>
#include <QPolygon>
#include <QRect>
#include <QString>

class Dataset;

// Font of an element; an empty family or a size of 0 takes the report's default.
struct ElementFont
{
    QString family;
    qreal pointSize = 0;
    bool bold = false;
    QColor colour = Qt::black;
};

// Something placed on a band. Positions and sizes in tenths of a millimetre,
// left and top relative to the band.
class Element
{
public:
    enum class Kind { Label, DataText, Shape, DataImage, Polyline, Picture };

    Element(Kind kind, const QString &name, const QRect &rect) : name(name), rect(rect), m_kind(kind) {}
    virtual ~Element() = default;
    Kind kind() const { return m_kind; }

    QString name;
    QRect rect;
    ElementFont font;
    Qt::Alignment alignment = Qt::AlignLeft;
    QColor background = Qt::transparent; // opaque when set
    bool autoSize = false;
    bool wordWrap = false;
    bool visible = true; // a hidden element leaves nothing on the page

private:
    Kind m_kind;
};

// A caption fixed in the layout or set by a handler.
class LabelElement : public Element
{
public:
    static constexpr Kind StaticKind = Kind::Label;
    LabelElement(const QString &name, const QRect &rect) : Element(Kind::Label, name, rect) {}
    QString caption;
};

// The display text of one column of the current row of a dataset: the
// report's own unless `dataset` names another.
class DataTextElement : public Element
{
public:
    static constexpr Kind StaticKind = Kind::DataText;
    DataTextElement(const QString &name, const QRect &rect) : Element(Kind::DataText, name, rect) {}
    QString column;
    Dataset *dataset = nullptr;
};

// A rectangle outline; one unit wide or high it is a rule.
class ShapeElement : public Element
{
public:
    static constexpr Kind StaticKind = Kind::Shape;
    ShapeElement(const QString &name, const QRect &rect) : Element(Kind::Shape, name, rect) {}
    QColor pen = Qt::black;
};

// A picture held in a blob column, scaled into the frame keeping its proportions.
class DataImageElement : public Element
{
public:
    static constexpr Kind StaticKind = Kind::DataImage;
    DataImageElement(const QString &name, const QRect &rect) : Element(Kind::DataImage, name, rect) {}
    QString column;
    Dataset *dataset = nullptr;
};

// Connected straight lines through `points` (relative to the band), drawn
// with a pen `width` tenths of a millimetre wide (0: one device pixel); a
// chart's line. Fewer than two points draw nothing.
class PolylineElement : public Element
{
public:
    static constexpr Kind StaticKind = Kind::Polyline;
    PolylineElement(const QString &name, const QRect &rect) : Element(Kind::Polyline, name, rect) {}
    QPolygon points;
    QColor pen = Qt::black;
    int width = 0;
};

// A picture that a handler sets, decoded already at the size it prints (a
// picture read for each row, which the run should not keep at its full
// size); scaled into the frame keeping its proportions. A null picture
// draws nothing.
class PictureElement : public Element
{
public:
    static constexpr Kind StaticKind = Kind::Picture;
    PictureElement(const QString &name, const QRect &rect) : Element(Kind::Picture, name, rect) {}
    QImage picture;
};
