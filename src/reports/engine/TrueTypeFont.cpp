#include "TrueTypeFont.h"

#include <QHash>
#include <QtEndian>

namespace {

// The tables a viewer may use. Layout tables (GPOS, GSUB, kern) are left
// out: a PDF places every glyph itself.
const char *const kTables[] = {"head", "hhea", "maxp", "loca", "glyf", "hmtx", "cmap",
                               "post", "name", "OS/2", "cvt ", "fpgm", "prep", "gasp"};
// Those of a subset that are taken over as they are: hinting and its programs.
const char *const kKeptBySubset[] = {"OS/2", "cvt ", "fpgm", "prep", "gasp"};

// Offsets of the fields used, in their tables.
constexpr int kHeadChecksumAdjustment = 8, kHeadUnitsPerEm = 18, kHeadBox = 36, kHeadMacStyle = 44,
              kHeadLocaFormat = 50;
constexpr int kHheaLongMetrics = 34;
constexpr int kMaxpGlyphs = 4;
constexpr int kPostItalicAngle = 4, kPostFixedPitch = 12, kPostHeader = 32;
constexpr int kOs2FsType = 8, kOs2FamilyClass = 30, kOs2SerifStyle = 33, kOs2FsSelection = 62;

quint16 u16(const QByteArray &t, qsizetype at)
{
    return at >= 0 && at + 2 <= t.size() ? qFromBigEndian<quint16>(t.constData() + at) : 0;
}

quint32 u32(const QByteArray &t, qsizetype at)
{
    return at >= 0 && at + 4 <= t.size() ? qFromBigEndian<quint32>(t.constData() + at) : 0;
}

void set16(QByteArray &t, qsizetype at, quint16 v)
{
    if (at + 2 <= t.size())
        qToBigEndian(v, t.data() + at);
}

void set32(QByteArray &t, qsizetype at, quint32 v)
{
    if (at + 4 <= t.size())
        qToBigEndian(v, t.data() + at);
}

void append16(QByteArray &out, quint16 v)
{
    out += char(v >> 8);
    out += char(v & 0xFF);
}

void append32(QByteArray &out, quint32 v)
{
    append16(out, quint16(v >> 16));
    append16(out, quint16(v & 0xFFFF));
}

quint32 checksum(const QByteArray &data)
{
    quint32 sum = 0;
    for (qsizetype i = 0; i < data.size(); i += 4) {
        quint32 word = 0;
        for (qsizetype b = i; b < i + 4; ++b)
            word = (word << 8) | quint8(b < data.size() ? data[b] : 0);
        sum += word;
    }
    return sum;
}

// The component glyphs of a composite glyph, each as the offset of its
// index within `glyph`; none for a simple glyph.
QList<qsizetype> componentOffsets(const QByteArray &glyph)
{
    constexpr quint16 ArgsAreWords = 0x0001, Scale = 0x0008, MoreComponents = 0x0020, XYScale = 0x0040,
                      TwoByTwo = 0x0080;
    QList<qsizetype> offsets;
    if (glyph.size() < 10 || qint16(u16(glyph, 0)) >= 0)
        return offsets;
    for (qsizetype at = 10; at + 4 <= glyph.size();) {
        const quint16 flags = u16(glyph, at);
        offsets << at + 2;
        at += 4 + ((flags & ArgsAreWords) ? 4 : 2);
        at += (flags & Scale) ? 2 : (flags & XYScale) ? 4 : (flags & TwoByTwo) ? 8 : 0;
        if (!(flags & MoreComponents))
            break;
    }
    return offsets;
}

// A character map of one Windows Unicode subtable (format 4): a segment per
// run of characters whose glyphs follow one another.
QByteArray characterMap(const QMap<char32_t, quint16> &glyphs)
{
    struct Segment { quint16 start, end, delta; };
    QList<Segment> segments;
    for (auto it = glyphs.begin(); it != glyphs.end(); ++it) {
        if (it.key() > 0xFFFE)
            continue;
        const quint16 c = quint16(it.key()), delta = quint16(it.value() - c);
        if (!segments.isEmpty() && segments.last().end + 1 == c && segments.last().delta == delta)
            segments.last().end = c;
        else
            segments.append({c, c, delta});
    }
    segments.append({0xFFFF, 0xFFFF, 1});
    const quint16 count = quint16(segments.size());
    quint16 searchRange = 2, entrySelector = 0;
    while (searchRange * 2 <= count * 2) {
        searchRange *= 2;
        ++entrySelector;
    }
    QByteArray sub;
    append16(sub, 4);
    append16(sub, quint16(16 + 8 * count));
    append16(sub, 0); // language
    append16(sub, quint16(count * 2));
    append16(sub, searchRange);
    append16(sub, entrySelector);
    append16(sub, quint16(count * 2 - searchRange));
    for (const Segment &s : segments)
        append16(sub, s.end);
    append16(sub, 0);
    for (const Segment &s : segments)
        append16(sub, s.start);
    for (const Segment &s : segments)
        append16(sub, s.delta);
    for (qsizetype i = 0; i < segments.size(); ++i)
        append16(sub, 0); // idRangeOffset: glyphs by delta only
    QByteArray table;
    append16(table, 0); // version
    append16(table, 1); // one subtable: Windows (3), Unicode BMP (1)
    append16(table, 3);
    append16(table, 1);
    append32(table, 12);
    return table + sub;
}

// A font file of `tables` (tag order), its checksum adjustment set in "head".
QByteArray fontFile(QMap<QByteArray, QByteArray> tables)
{
    set32(tables[QByteArrayLiteral("head")], kHeadChecksumAdjustment, 0);
    const quint16 count = quint16(tables.size());
    quint16 power = 1, log2 = 0;
    while (power * 2 <= count) {
        power *= 2;
        ++log2;
    }
    QByteArray file;
    append32(file, 0x00010000);
    append16(file, count);
    append16(file, quint16(power * 16));
    append16(file, log2);
    append16(file, quint16(count * 16 - power * 16));
    quint32 offset = quint32(12 + 16 * count);
    qsizetype headAt = 0;
    for (auto it = tables.cbegin(); it != tables.cend(); ++it) {
        if (it.key() == "head")
            headAt = offset;
        file += it.key();
        append32(file, checksum(it.value()));
        append32(file, offset);
        append32(file, quint32(it.value().size()));
        offset += quint32((it.value().size() + 3) & ~3);
    }
    for (const QByteArray &table : std::as_const(tables)) {
        file += table;
        file.append((4 - table.size() % 4) % 4, '\0');
    }
    set32(file, headAt + kHeadChecksumAdjustment, 0xB1B0AFBA - checksum(file));
    return file;
}

} // namespace

std::optional<TrueTypeFont> TrueTypeFont::read(const TableReader &table)
{
    TrueTypeFont font;
    for (const char *tag : kTables)
        if (QByteArray t = table(tag); !t.isEmpty())
            font.m_tables.insert(QByteArray(tag), t);
    const QByteArray head = font.table("head"), hhea = font.table("hhea"), maxp = font.table("maxp");
    if (head.size() < 54 || hhea.size() < 36 || maxp.size() < 6 || font.table("glyf").isEmpty())
        return std::nullopt;
    font.m_unitsPerEm = u16(head, kHeadUnitsPerEm);
    font.m_glyphCount = u16(maxp, kMaxpGlyphs);
    font.m_longMetrics = u16(hhea, kHheaLongMetrics);
    font.m_longOffsets = u16(head, kHeadLocaFormat) == 1;
    const qsizetype locaNeeded = qsizetype(font.m_glyphCount + 1) * (font.m_longOffsets ? 4 : 2);
    if (font.m_unitsPerEm == 0 || font.m_glyphCount == 0 || font.m_longMetrics == 0
        || font.m_longMetrics > font.m_glyphCount || font.table("loca").size() < locaNeeded
        || font.table("hmtx").size() < 2 * (font.m_longMetrics + font.m_glyphCount))
        return std::nullopt;
    return font;
}

QByteArray TrueTypeFont::table(const char *tag) const
{
    return m_tables.value(QByteArray(tag));
}

TrueTypeFont::Embedding TrueTypeFont::embedding() const
{
    constexpr quint16 Restricted = 0x0002, Usage = 0x000F, NoSubsetting = 0x0100, BitmapOnly = 0x0200;
    const quint16 fsType = u16(table("OS/2"), kOs2FsType);
    if ((fsType & Usage) == Restricted || (fsType & BitmapOnly))
        return Embedding::Forbidden;
    return (fsType & NoSubsetting) ? Embedding::WholeOnly : Embedding::Subset;
}

int TrueTypeFont::advance(quint16 glyph) const
{
    const int metric = qMin<int>(glyph, m_longMetrics - 1);
    return u16(table("hmtx"), 4 * metric);
}

QList<int> TrueTypeFont::boundingBox() const
{
    const QByteArray head = table("head");
    QList<int> box;
    for (int i = 0; i < 4; ++i)
        box << qint16(u16(head, kHeadBox + 2 * i));
    return box;
}

qreal TrueTypeFont::italicAngle() const
{
    return qint32(u32(table("post"), kPostItalicAngle)) / 65536.0;
}

bool TrueTypeFont::fixedPitch() const
{
    return u32(table("post"), kPostFixedPitch) != 0;
}

// By the IBM font class of OS/2 (1 to 5 and 7 are kinds of serif, 8 is sans
// serif); a font of no class by its PANOSE serif style (2 to 10 are serifs).
bool TrueTypeFont::serif() const
{
    const QByteArray os2 = table("OS/2");
    const int familyClass = u16(os2, kOs2FamilyClass) >> 8;
    if (familyClass != 0)
        return (familyClass >= 1 && familyClass <= 5) || familyClass == 7;
    const int serifStyle = os2.size() > kOs2SerifStyle ? quint8(os2[kOs2SerifStyle]) : 0;
    return serifStyle >= 2 && serifStyle <= 10;
}

bool TrueTypeFont::italic() const
{
    return italicAngle() != 0 || (u16(table("head"), kHeadMacStyle) & 0x2) || (u16(table("OS/2"), kOs2FsSelection) & 0x1);
}

QByteArray TrueTypeFont::glyph(quint16 index) const
{
    if (index >= m_glyphCount)
        return {};
    const QByteArray loca = table("loca");
    const quint32 from = m_longOffsets ? u32(loca, 4 * index) : 2u * u16(loca, 2 * index);
    const quint32 to = m_longOffsets ? u32(loca, 4 * (index + 1)) : 2u * u16(loca, 2 * (index + 1));
    return to > from ? table("glyf").mid(from, to - from) : QByteArray();
}

QByteArray TrueTypeFont::whole() const
{
    return fontFile(m_tables);
}

QByteArray TrueTypeFont::subset(const QMap<char32_t, quint16> &characters) const
{
    QList<quint16> oldOf{0}; // by new index
    QHash<quint16, quint16> newOf{{0, 0}};
    const auto take = [&](quint16 old) {
        if (old < m_glyphCount && !newOf.contains(old)) {
            newOf.insert(old, quint16(oldOf.size()));
            oldOf << old;
        }
    };
    for (quint16 old : characters)
        take(old);
    for (qsizetype i = 0; i < oldOf.size(); ++i) // grows with the components it finds
        for (qsizetype at : componentOffsets(glyph(oldOf[i])))
            take(u16(glyph(oldOf[i]), at));

    QByteArray glyf, offsets, hmtx;
    const QByteArray metrics = table("hmtx");
    QList<quint32> starts;
    for (quint16 old : std::as_const(oldOf)) {
        QByteArray data = glyph(old);
        for (qsizetype at : componentOffsets(data))
            set16(data, at, newOf.value(u16(data, at)));
        starts << quint32(glyf.size());
        glyf += data;
        glyf.append((4 - glyf.size() % 4) % 4, '\0');
        const qsizetype sideBearing = old < m_longMetrics ? 4 * old + 2 : 4 * m_longMetrics + 2 * (old - m_longMetrics);
        append16(hmtx, quint16(advance(old)));
        append16(hmtx, u16(metrics, sideBearing));
    }
    starts << quint32(glyf.size());
    const bool longOffsets = glyf.size() > 0x1FFFF;
    for (quint32 start : std::as_const(starts))
        longOffsets ? append32(offsets, start) : append16(offsets, quint16(start / 2));

    QMap<char32_t, quint16> renumbered;
    for (auto it = characters.begin(); it != characters.end(); ++it)
        renumbered.insert(it.key(), newOf.value(it.value()));
    QByteArray head = table("head"), hhea = table("hhea"), maxp = table("maxp");
    QByteArray post = table("post").left(kPostHeader).leftJustified(kPostHeader, '\0');
    set16(head, kHeadLocaFormat, longOffsets ? 1 : 0);
    set16(hhea, kHheaLongMetrics, quint16(oldOf.size()));
    set16(maxp, kMaxpGlyphs, quint16(oldOf.size()));
    set32(post, 0, 0x00030000); // version 3: no glyph names
    QMap<QByteArray, QByteArray> tables{{"head", head}, {"hhea", hhea}, {"maxp", maxp},    {"loca", offsets},
                                        {"glyf", glyf}, {"hmtx", hmtx}, {"post", post}, {"cmap", characterMap(renumbered)}};
    for (const char *tag : kKeptBySubset)
        if (m_tables.contains(tag))
            tables.insert(QByteArray(tag), table(tag));
    return fontFile(tables);
}
