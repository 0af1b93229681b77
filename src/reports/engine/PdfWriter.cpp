#include "PdfWriter.h"

#include "ReportRun.h"
#include "dataset/Win1252.h"

#include <QBuffer>
#include <QHash>
#include <QImage>
#include <QPainter>
#include <QRawFont>
#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <optional>

namespace {

constexpr qreal kPointsPerUnit = 72.0 / 254.0; // a layout unit is a tenth of a millimetre
constexpr int kJpegQuality = 92;

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

// ---- Fonts: simple TrueType fonts in WinAnsiEncoding, embedded whole

const char *const kFontTables[] = {"head", "hhea", "maxp", "loca", "glyf", "hmtx", "cmap",
                                   "post", "name", "OS/2", "cvt ", "fpgm", "prep", "gasp"};

quint32 tableChecksum(const QByteArray &table)
{
    QByteArray padded = table;
    padded.append((4 - padded.size() % 4) % 4, '\0');
    quint32 sum = 0;
    for (qsizetype i = 0; i < padded.size(); i += 4)
        sum += qFromBigEndian<quint32>(padded.constData() + i);
    return sum;
}

void appendBig(QByteArray &out, quint32 v, int bytes)
{
    for (int i = bytes - 1; i >= 0; --i)
        out += char((v >> (8 * i)) & 0xFF);
}

// The font file rebuilt from its tables; empty when it is not a TrueType font.
QByteArray fontProgram(const QRawFont &raw)
{
    QList<std::pair<QByteArray, QByteArray>> tables;
    for (const char *tag : kFontTables) {
        const QByteArray table = raw.fontTable(tag);
        if (!table.isEmpty())
            tables.append({QByteArray(tag), table});
    }
    std::sort(tables.begin(), tables.end());
    const auto has = [&](const char *tag) {
        return std::any_of(tables.begin(), tables.end(), [tag](const auto &t) { return t.first == tag; });
    };
    if (!has("glyf") || !has("loca") || !has("head") || !has("hmtx"))
        return {};
    const int count = int(tables.size());
    int power = 1, log2 = 0;
    while (power * 2 <= count) {
        power *= 2;
        ++log2;
    }
    QByteArray file;
    appendBig(file, 0x00010000, 4);
    appendBig(file, quint32(count), 2);
    appendBig(file, quint32(power * 16), 2);
    appendBig(file, quint32(log2), 2);
    appendBig(file, quint32(count * 16 - power * 16), 2);
    quint32 offset = quint32(12 + 16 * count);
    for (const auto &[tag, table] : tables) {
        file += tag;
        appendBig(file, tableChecksum(table), 4);
        appendBig(file, offset, 4);
        appendBig(file, quint32(table.size()), 4);
        offset += quint32((table.size() + 3) & ~3);
    }
    for (const auto &[tag, table] : tables) {
        file += table;
        file.append((4 - table.size() % 4) % 4, '\0');
    }
    return file;
}

struct EmbeddedFont
{
    QByteArray baseName;
    QByteArray program;   // deflated
    qsizetype programLength = 0;
    QList<int> widths;    // codes 32..255, thousandths of the em
    int bbox[4] = {0, 0, 0, 0};
    int ascent = 0, descent = 0, capHeight = 0;
    bool serif = false, bold = false;
};

qint16 headValue(const QByteArray &head, int offset)
{
    return head.size() >= offset + 2 ? qFromBigEndian<qint16>(head.constData() + offset) : 0;
}

// Read once per font for the life of the program: the embedded file is the
// same in every report.
const EmbeddedFont *embeddedFont(const QFont &font)
{
    static QHash<QString, std::optional<EmbeddedFont>> cache;
    const QString key = font.family() + QLatin1String(font.bold() ? "/b" : "/r") + QLatin1String(font.italic() ? "i" : "");
    auto it = cache.find(key);
    if (it != cache.end())
        return it->has_value() ? &**it : nullptr;
    it = cache.insert(key, std::nullopt);

    QRawFont raw = QRawFont::fromFont(font);
    if (!raw.isValid())
        return nullptr;
    const qreal em = raw.unitsPerEm();
    raw.setPixelSize(em);
    const QByteArray program = fontProgram(raw);
    if (program.isEmpty() || em <= 0)
        return nullptr;
    EmbeddedFont f;
    f.baseName = raw.familyName().remove(u' ').toLatin1() + (font.bold() ? "-Bold" : "") + (font.italic() ? "Italic" : "");
    f.programLength = program.size();
    f.program = deflated(program, 6);
    for (int code = 32; code < 256; ++code) {
        const char byte = char(code);
        const QString ch = Win1252::decode(&byte, 1);
        const QList<quint32> glyphs = raw.glyphIndexesForString(ch);
        const QList<QPointF> advances = glyphs.isEmpty() || glyphs[0] == 0
                                            ? QList<QPointF>()
                                            : raw.advancesForGlyphIndexes(glyphs, QRawFont::UseDesignMetrics);
        f.widths << (advances.isEmpty() ? 0 : qRound(advances[0].x() * 1000 / em));
    }
    const QByteArray head = raw.fontTable("head");
    for (int i = 0; i < 4; ++i)
        f.bbox[i] = qRound(headValue(head, 36 + 2 * i) * 1000 / em);
    f.ascent = qRound(raw.ascent() * 1000 / em);
    f.descent = -qRound(raw.descent() * 1000 / em);
    f.capHeight = qRound(raw.capHeight() * 1000 / em);
    f.serif = raw.familyName().contains(QLatin1String("Serif")) || raw.familyName().contains(QLatin1String("Times"));
    f.bold = font.bold();
    *it = std::move(f);
    return &**it;
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

    bool pageContent(const LaidOutPage &page, const ReportRun &run, QByteArray &content);
    std::optional<QByteArray> fontName(const QFont &font);
    QByteArray imageName(int index);
    void writeFont(int number, const EmbeddedFont &font);
    void writeImage(int number, const QImage &image);

    QByteArray m_out;
    QList<qint64> m_offsets;
    QHash<const EmbeddedFont *, QByteArray> m_fontNames;
    QList<std::pair<QByteArray, const EmbeddedFont *>> m_fonts;
    QHash<int, QByteArray> m_imageNames;
    QList<int> m_images;
};

std::optional<QByteArray> Document::fontName(const QFont &font)
{
    const EmbeddedFont *embedded = embeddedFont(font);
    if (!embedded)
        return std::nullopt;
    auto it = m_fontNames.find(embedded);
    if (it == m_fontNames.end()) {
        const QByteArray name = "F" + QByteArray::number(m_fonts.size() + 1);
        m_fonts.append({name, embedded});
        it = m_fontNames.insert(embedded, name);
    }
    return *it;
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
            const std::optional<QByteArray> name = fontName(item.font);
            if (!name)
                return false;
            const bool clip = !TextMeasure::fitsOnOneLine(item.font, item.text, rect.width(), item.flags);
            if (clip)
                c += "q " + box(rect) + " re W n\n";
            setFill(item.colour);
            const QByteArray size = num(item.font.pointSizeF() * 254.0 / 72.0);
            for (const TextMeasure::TextLine &line : TextMeasure::lines(item.font, item.text, rect.width(), item.flags)) {
                QByteArray bytes;
                if (!Win1252::encode(line.text, bytes))
                    return false;
                c += "BT ";
                if (font != *name + size)
                    c += '/' + *name + ' ' + size + " Tf ";
                font = *name + size;
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

void Document::writeFont(int number, const EmbeddedFont &f)
{
    const int descriptor = reserve(), file = reserve();
    QByteArray widths;
    for (int w : f.widths)
        widths += QByteArray::number(w) + ' ';
    object(number, "<< /Type /Font /Subtype /TrueType /BaseFont /" + f.baseName +
                       " /FirstChar 32 /LastChar 255 /Encoding /WinAnsiEncoding /Widths [" + widths.trimmed() +
                       "] /FontDescriptor " + QByteArray::number(descriptor) + " 0 R >>");
    object(descriptor, "<< /Type /FontDescriptor /FontName /" + f.baseName + " /Flags " +
                           QByteArray::number(32 | (f.serif ? 2 : 0)) + " /FontBBox [" + QByteArray::number(f.bbox[0]) +
                           ' ' + QByteArray::number(f.bbox[1]) + ' ' + QByteArray::number(f.bbox[2]) + ' ' +
                           QByteArray::number(f.bbox[3]) + "] /ItalicAngle 0 /Ascent " + QByteArray::number(f.ascent) +
                           " /Descent " + QByteArray::number(f.descent) + " /CapHeight " +
                           QByteArray::number(f.capHeight) + " /StemV " + QByteArray(f.bold ? "120" : "80") +
                           " /FontFile2 " + QByteArray::number(file) + " 0 R >>");
    stream(file, " /Filter /FlateDecode /Length1 " + QByteArray::number(f.programLength), f.program);
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
    for (const auto &[name, font] : m_fonts) {
        const int number = reserve();
        writeFont(number, *font);
        fonts += '/' + name + ' ' + QByteArray::number(number) + " 0 R ";
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
