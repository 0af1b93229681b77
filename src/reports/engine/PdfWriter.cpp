#include "PdfWriter.h"

#include "ReportRun.h"
#include "TrueTypeFont.h"
#include "dataset/Win1252.h"

#include <QBuffer>
#include <QHash>
#include <QImage>
#include <QPainter>
#include <QRawFont>

#include <array>
#include <bitset>
#include <cmath>
#include <optional>

namespace {

constexpr qreal kPointsPerUnit = 72.0 / 254.0; // a layout unit is a tenth of a millimetre
constexpr int kJpegQuality = 92;
constexpr char kSoftHyphen[] = "\xAD";

// ---- Numbers and strings as PDF writes them

// At most two decimals, which is a thousandth of a millimetre on the page.
QByteArray num(qreal v)
{
    qint64 hundredths = qint64(std::llround(v * 100));
    QByteArray text;
    if (hundredths < 0) {
        text += '-';
        hundredths = -hundredths;
    }
    text += QByteArray::number(hundredths / 100);
    const int fraction = int(hundredths % 100);
    if (fraction != 0) {
        text += '.';
        text += char('0' + fraction / 10);
        if (fraction % 10)
            text += char('0' + fraction % 10);
    }
    return text;
}

QByteArray colour(const QColor &c)
{
    return num(c.redF()) + ' ' + num(c.greenF()) + ' ' + num(c.blueF());
}

// A literal string of WIN1252 bytes.
QByteArray literal(const QByteArray &bytes)
{
    QByteArray out;
    out.reserve(bytes.size() + 2);
    out += '(';
    for (char c : bytes) {
        if (c == '(' || c == ')' || c == '\\')
            out += '\\';
        out += c;
    }
    out += ')';
    return out;
}

QByteArray deflated(const QByteArray &data, int level)
{
    return qCompress(data, level).mid(4); // qCompress puts the length before the zlib stream
}

// ---- Fonts: simple TrueType fonts in WinAnsiEncoding, the glyphs used embedded

// A font as every document writes it: its tables read once, the glyph and
// width of each WIN1252 byte, and what its descriptor says.
struct EmbeddedFont
{
    explicit EmbeddedFont(TrueTypeFont font_) : font(std::move(font_)) {}

    TrueTypeFont font;
    QByteArray baseName;
    std::array<quint16, 256> glyphs{};  // glyph of each byte; 0 where the font lacks the character
    std::array<int, 256> widths{};      // thousandths of the em; glyph 0's advance where it lacks it
    QList<int> bbox;
    int ascent = 0, descent = 0, capHeight = 0, flags = 0;
    qreal italicAngle = 0;
    bool bold = false;
};

int thousandths(qreal units, int unitsPerEm)
{
    return qRound(units * 1000 / unitsPerEm);
}

// Flags of the font descriptor: FixedPitch 1, Serif 2, Nonsymbolic 32 (its
// glyphs are the standard Latin ones, named by WinAnsiEncoding), Italic 64.
int descriptorFlags(const TrueTypeFont &font)
{
    return (font.fixedPitch() ? 1 : 0) | (font.serif() ? 2 : 0) | 32 | (font.italic() ? 64 : 0);
}

std::optional<EmbeddedFont> readFont(const QFont &qfont)
{
    QRawFont raw = QRawFont::fromFont(qfont);
    if (!raw.isValid())
        return std::nullopt;
    std::optional<TrueTypeFont> font = TrueTypeFont::read([&](const char *tag) { return raw.fontTable(tag); });
    if (!font || font->embedding() == TrueTypeFont::Embedding::Forbidden)
        return std::nullopt;
    EmbeddedFont f(*font);
    const int em = font->unitsPerEm();
    raw.setPixelSize(em);
    const QByteArray style = QByteArray(qfont.bold() ? "Bold" : "") + (qfont.italic() ? "Italic" : "");
    f.baseName = raw.familyName().remove(u' ').toLatin1() + (style.isEmpty() ? QByteArray() : '-' + style);
    for (int code = 0; code < 256; ++code) {
        const char byte = char(code);
        const QList<quint32> glyphs = raw.glyphIndexesForString(Win1252::decode(&byte, 1));
        f.glyphs[code] = glyphs.size() == 1 && glyphs[0] < quint32(font->glyphCount()) ? quint16(glyphs[0]) : 0;
        f.widths[code] = thousandths(font->advance(f.glyphs[code]), em);
    }
    for (int v : font->boundingBox())
        f.bbox << thousandths(v, em);
    f.ascent = thousandths(raw.ascent(), em);
    f.descent = -thousandths(raw.descent(), em);
    f.capHeight = thousandths(raw.capHeight(), em);
    f.flags = descriptorFlags(*font);
    f.italicAngle = font->italicAngle();
    f.bold = qfont.bold();
    return f;
}

// Read once per font for the life of the program.
const EmbeddedFont *embeddedFont(const QFont &font)
{
    static QHash<QString, std::optional<EmbeddedFont>> cache;
    const QString key = font.family() + QLatin1String(font.bold() ? "/b" : "/r") + QLatin1String(font.italic() ? "i" : "");
    auto it = cache.find(key);
    if (it == cache.end())
        it = cache.insert(key, readFont(font));
    return it->has_value() ? &**it : nullptr;
}

// The bytes of WIN1252 a document writes in one font.
using UsedCodes = std::bitset<256>;

// "ABCDEF+": six capitals that tell this subset from another, made from the
// font's name and the bytes used, so the same document gets the same tags.
QByteArray subsetTag(const QByteArray &baseName, const UsedCodes &used)
{
    quint32 hash = 2166136261u; // FNV-1a
    const auto mix = [&hash](quint8 byte) { hash = (hash ^ byte) * 16777619u; };
    for (char c : baseName)
        mix(quint8(c));
    for (int code = 0; code < 256; ++code)
        if (used[code])
            mix(quint8(code));
    QByteArray tag;
    for (int i = 0; i < 6; ++i, hash /= 26)
        tag += char('A' + hash % 26);
    return tag + '+';
}

// The characters of the subset's map and their glyphs. A viewer finds the
// glyph of a byte by the WinAnsiEncoding name of the byte, which for 0xA0 is
// that of the space: the space is mapped too.
QMap<char32_t, quint16> subsetCharacters(const EmbeddedFont &f, const UsedCodes &used)
{
    QMap<char32_t, quint16> characters;
    for (int code = 0; code < 256; ++code) {
        if (!used[code] || f.glyphs[code] == 0)
            continue;
        const char byte = char(code);
        characters.insert(Win1252::decode(&byte, 1).at(0).unicode(), f.glyphs[code]);
    }
    constexpr int NoBreakSpace = 0xA0;
    if (used[NoBreakSpace] && f.glyphs[NoBreakSpace] != 0 && !characters.contains(U' '))
        characters.insert(U' ', f.glyphs[NoBreakSpace]);
    return characters;
}

// ---- The document

class Document
{
public:
    bool write(const ReportRun &run);
    const QByteArray &bytes() const { return m_out; }

private:
    int reserve() { m_offsets.append(-1); return int(m_offsets.size()); }
    void begin(int object)
    {
        m_offsets[object - 1] = m_out.size();
        m_out += QByteArray::number(object) + " 0 obj\n";
    }
    void end() { m_out += "\nendobj\n"; }
    void object(int number, const QByteArray &body)
    {
        begin(number);
        m_out += body;
        end();
    }
    void stream(int number, const QByteArray &dictionary, const QByteArray &data)
    {
        begin(number);
        m_out += "<<" + dictionary + " /Length " + QByteArray::number(data.size()) + ">>\nstream\n";
        m_out += data;
        m_out += "\nendstream";
        end();
    }

    // A font of the document's resources and the bytes written in it.
    struct DocumentFont
    {
        QByteArray name; // "F1"
        const EmbeddedFont *font;
        UsedCodes used;
    };

    bool pageContent(const LaidOutPage &page, const ReportRun &run, QByteArray &content);
    DocumentFont *documentFont(const QFont &font);
    QByteArray imageName(int index);
    void writeFont(int number, const DocumentFont &font);
    void writeImage(int number, const QImage &image);

    QByteArray m_out;
    QList<qint64> m_offsets;
    QHash<const EmbeddedFont *, qsizetype> m_fontIndex;
    QList<DocumentFont> m_fonts;
    QHash<int, QByteArray> m_imageNames;
    QList<int> m_images;
};

Document::DocumentFont *Document::documentFont(const QFont &font)
{
    const EmbeddedFont *embedded = embeddedFont(font);
    if (!embedded)
        return nullptr;
    auto it = m_fontIndex.find(embedded);
    if (it == m_fontIndex.end()) {
        m_fonts.append({"F" + QByteArray::number(m_fonts.size() + 1), embedded, {}});
        it = m_fontIndex.insert(embedded, m_fonts.size() - 1);
    }
    return &m_fonts[*it];
}

QByteArray Document::imageName(int index)
{
    auto it = m_imageNames.find(index);
    if (it == m_imageNames.end()) {
        it = m_imageNames.insert(index, "Im" + QByteArray::number(index + 1));
        m_images.append(index);
    }
    return *it;
}

// One page's drawing, in layout units with the y axis pointing down, as
// paintPage draws it. False when a text cannot be written in WinAnsiEncoding.
bool Document::pageContent(const LaidOutPage &page, const ReportRun &run, QByteArray &c)
{
    const qreal height = run.pageSize().height() * kPointsPerUnit;
    const QByteArray scale = QByteArray::number(kPointsPerUnit, 'f', 6);
    c += scale + " 0 0 -" + scale + " 0 " + num(height) + " cm\n";
    QByteArray font, fill, stroke; // the state set last; empty: unknown
    auto setFill = [&](const QColor &colour_) {
        const QByteArray rgb = colour(colour_);
        if (rgb != fill)
            c += (fill = rgb) + " rg\n";
    };
    auto setStroke = [&](const QColor &colour_) {
        const QByteArray rgb = colour(colour_);
        if (rgb != stroke)
            c += (stroke = rgb) + " RG\n";
    };
    auto box = [](const QRectF &r) { return num(r.x()) + ' ' + num(r.y()) + ' ' + num(r.width()) + ' ' + num(r.height()); };
    c += "0 w\n"; // outlines and rules one device pixel, as the preview's cosmetic pen
    for (const PageItem &item : page.items) {
        const QRectF rect(item.rect);
        switch (item.kind) {
        case PageItem::Rect:
            if (item.background.alpha() > 0) {
                setFill(item.background);
                c += box(rect) + " re f\n";
            }
            if (item.colour.alpha() > 0) {
                setStroke(item.colour);
                if (item.rect.width() <= 1)
                    c += num(rect.left()) + ' ' + num(rect.top()) + " m " + num(rect.left()) + ' ' + num(rect.bottom()) + " l S\n";
                else if (item.rect.height() <= 1)
                    c += num(rect.left()) + ' ' + num(rect.top()) + " m " + num(rect.right()) + ' ' + num(rect.top()) + " l S\n";
                else
                    c += box(rect) + " re S\n";
            }
            break;
        case PageItem::Text: {
            if (item.background.alpha() > 0) {
                setFill(item.background);
                c += box(rect) + " re f\n";
            }
            DocumentFont *documentFont_ = documentFont(item.font);
            if (!documentFont_)
                return false;
            const QByteArray &name = documentFont_->name;
            const bool clip = !TextMeasure::fitsOnOneLine(item.font, item.text, rect.width(), item.flags);
            if (clip)
                c += "q " + box(rect) + " re W n\n";
            setFill(item.colour);
            const QByteArray size = num(item.font.pointSizeF() * 254.0 / 72.0);
            for (const TextMeasure::TextLine &line : TextMeasure::lines(item.font, item.text, rect.width(), item.flags)) {
                QByteArray bytes;
                if (!Win1252::encode(line.text, bytes))
                    return false;
                bytes.replace(kSoftHyphen, ""); // Qt draws none, and gives it no width
                for (char byte : std::as_const(bytes))
                    documentFont_->used.set(quint8(byte));
                c += "BT ";
                if (font != name + size)
                    c += '/' + name + ' ' + size + " Tf ";
                font = name + size;
                c += "1 0 0 -1 " + num(rect.left() + line.baseline.x()) + ' ' + num(rect.top() + line.baseline.y()) +
                     " Tm " + literal(bytes) + " Tj ET\n";
            }
            if (clip) {
                c += "Q\n";
                font.clear(); // the text state and colours return to what they were before "q"
                fill.clear();
                stroke.clear();
            }
            break;
        }
        case PageItem::Image:
            if (item.imageIndex >= 0 && item.imageIndex < run.images().size())
                c += "q " + num(rect.width()) + " 0 0 " + num(-rect.height()) + ' ' + num(rect.left()) + ' ' +
                     num(rect.bottom()) + " cm /" + imageName(item.imageIndex) + " Do Q\n";
            break;
        case PageItem::Polyline:
            if (item.points.size() < 2)
                break;
            c += "q 1 J 1 j " + num(item.lineWidth) + " w " + colour(item.colour) + " RG ";
            for (qsizetype i = 0; i < item.points.size(); ++i)
                c += num(item.points[i].x()) + ' ' + num(item.points[i].y()) + (i == 0 ? " m " : " l ");
            c += "S Q\n";
            font.clear();
            fill.clear();
            stroke.clear();
            break;
        }
    }
    return true;
}

void Document::writeFont(int number, const DocumentFont &used)
{
    const EmbeddedFont &f = *used.font;
    const int descriptor = reserve(), file = reserve();
    int first = 32, last = 32;
    for (int code = 255; code >= 0; --code)
        if (used.used[code])
            first = code;
    for (int code = 0; code < 256; ++code)
        if (used.used[code])
            last = code;
    QByteArray widths;
    for (int code = first; code <= last; ++code)
        widths += QByteArray::number(f.widths[code]) + ' ';
    const bool whole = f.font.embedding() == TrueTypeFont::Embedding::WholeOnly;
    const QByteArray name = (whole ? QByteArray() : subsetTag(f.baseName, used.used)) + f.baseName;
    const QByteArray program = whole ? f.font.whole() : f.font.subset(subsetCharacters(f, used.used));
    const auto numbers = [](std::initializer_list<int> values) {
        QByteArray text;
        for (int v : values)
            text += (text.isEmpty() ? "" : " ") + QByteArray::number(v);
        return text;
    };
    object(number, "<< /Type /Font /Subtype /TrueType /BaseFont /" + name + " /FirstChar " + QByteArray::number(first) +
                       " /LastChar " + QByteArray::number(last) + " /Encoding /WinAnsiEncoding /Widths [" +
                       widths.trimmed() + "] /FontDescriptor " + QByteArray::number(descriptor) + " 0 R >>");
    object(descriptor, "<< /Type /FontDescriptor /FontName /" + name + " /Flags " + QByteArray::number(f.flags) +
                           " /FontBBox [" + numbers({f.bbox[0], f.bbox[1], f.bbox[2], f.bbox[3]}) + "] /ItalicAngle " +
                           num(f.italicAngle) + " /Ascent " + QByteArray::number(f.ascent) + " /Descent " +
                           QByteArray::number(f.descent) + " /CapHeight " + QByteArray::number(f.capHeight) +
                           " /StemV " + QByteArray(f.bold ? "120" : "80") + " /FontFile2 " +
                           QByteArray::number(file) + " 0 R >>");
    stream(file, " /Filter /FlateDecode /Length1 " + QByteArray::number(program.size()), deflated(program, 6));
}

void Document::writeImage(int number, const QImage &image)
{
    QImage flat(image.size(), QImage::Format_RGB32);
    flat.fill(Qt::white);
    {
        QPainter painter(&flat);
        painter.drawImage(0, 0, image);
    }
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    flat.save(&buffer, "JPG", kJpegQuality);
    stream(number,
           " /Type /XObject /Subtype /Image /Width " + QByteArray::number(flat.width()) + " /Height " +
               QByteArray::number(flat.height()) + " /ColorSpace /DeviceRGB /BitsPerComponent 8 /Filter /DCTDecode",
           jpeg);
}

bool Document::write(const ReportRun &run)
{
    m_out = "%PDF-1.4\n%\xE2\xE3\xCF\xD3\n";
    const int catalog = reserve(), pages = reserve(), resources = reserve(), info = reserve();
    const QByteArray size = num(run.pageSize().width() * kPointsPerUnit) + ' ' + num(run.pageSize().height() * kPointsPerUnit);
    QList<int> pageObjects;
    for (const LaidOutPage &page : run.pages()) {
        QByteArray content;
        if (!pageContent(page, run, content))
            return false;
        const int pageObject = reserve(), contentObject = reserve();
        object(pageObject, "<< /Type /Page /Parent " + QByteArray::number(pages) + " 0 R /MediaBox [0 0 " + size +
                               "] /Resources " + QByteArray::number(resources) + " 0 R /Contents " +
                               QByteArray::number(contentObject) + " 0 R >>");
        stream(contentObject, " /Filter /FlateDecode", deflated(content, 1));
        pageObjects << pageObject;
    }
    QByteArray fonts, images;
    for (const DocumentFont &font : std::as_const(m_fonts)) {
        const int number = reserve();
        writeFont(number, font);
        fonts += '/' + font.name + ' ' + QByteArray::number(number) + " 0 R ";
    }
    for (int index : m_images) {
        const int number = reserve();
        writeImage(number, run.images().at(index));
        images += '/' + m_imageNames.value(index) + ' ' + QByteArray::number(number) + " 0 R ";
    }
    object(resources, "<< /ProcSet [/PDF /Text /ImageC] /Font << " + fonts + ">> /XObject << " + images + ">> >>");
    QByteArray kids;
    for (int p : pageObjects)
        kids += QByteArray::number(p) + " 0 R ";
    object(pages, "<< /Type /Pages /Kids [" + kids + "] /Count " + QByteArray::number(pageObjects.size()) + " >>");
    object(catalog, "<< /Type /Catalog /Pages " + QByteArray::number(pages) + " 0 R >>");
    object(info, "<< /Creator (Kelmara) /Producer (Kelmara) >>");

    const qint64 xref = m_out.size();
    m_out += "xref\n0 " + QByteArray::number(m_offsets.size() + 1) + "\n0000000000 65535 f \n";
    for (qint64 offset : m_offsets)
        m_out += QByteArray::number(offset).rightJustified(10, '0') + " 00000 n \n";
    m_out += "trailer\n<< /Size " + QByteArray::number(m_offsets.size() + 1) + " /Root " + QByteArray::number(catalog) +
             " 0 R /Info " + QByteArray::number(info) + " 0 R >>\nstartxref\n" + QByteArray::number(xref) + "\n%%EOF\n";
    return true;
}

} // namespace

QByteArray fastPdf(const ReportRun &run)
{
    Document document;
    return document.write(run) ? document.bytes() : QByteArray();
}
