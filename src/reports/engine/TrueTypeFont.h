#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>

#include <functional>
#include <optional>

// A TrueType font read from its tables, as a PDF embeds it (FontFile2):
// whole, or as the smaller font of the glyphs a document uses.
class TrueTypeFont
{
public:
    // The table of the tag ("head", "glyf", ...), empty when the font has none.
    using TableReader = std::function<QByteArray(const char *tag)>;
    // Null when a table an outline font needs is missing or too short.
    static std::optional<TrueTypeFont> read(const TableReader &table);

    // What the font's licence (OS/2 fsType) lets a document do with it.
    enum class Embedding { Forbidden, WholeOnly, Subset };
    Embedding embedding() const;

    int glyphCount() const { return m_glyphCount; }
    int unitsPerEm() const { return m_unitsPerEm; }
    int advance(quint16 glyph) const; // in font units; glyph 0 for one the font lacks
    QList<int> boundingBox() const;   // xMin yMin xMax yMax, font units
    qreal italicAngle() const;        // degrees, negative leaning right
    bool fixedPitch() const;
    bool serif() const;
    bool italic() const;

    // The font as it is.
    QByteArray whole() const;
    // A font of glyph 0, the glyphs that `characters` map to and the
    // components of composite ones, numbered anew, with its own character
    // map (Windows Unicode) and horizontal metrics, and no glyph names.
    QByteArray subset(const QMap<char32_t, quint16> &characters) const;

private:
    QByteArray table(const char *tag) const;
    QByteArray glyph(quint16 index) const;

    QMap<QByteArray, QByteArray> m_tables;
    int m_glyphCount = 0;
    int m_unitsPerEm = 0;
    int m_longMetrics = 0; // hhea numberOfHMetrics
    bool m_longOffsets = false;
};
