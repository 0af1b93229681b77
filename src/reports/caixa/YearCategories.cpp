#include "YearCategories.h"

#include "CategoryTotals.h"
#include "URLivroCaixa.h"

#include "reports/engine/Band.h"

#include <algorithm>

namespace {

const QColor Red(255, 0, 0);
const QColor Blue(0, 0, 255);
const QColor HeadingFill(235, 235, 235);
const QString kPrefix = QStringLiteral("txtCategorias");

constexpr int TitleHeight = 55;
constexpr int HeadingHeight = 48;
constexpr int LineHeight = 42;
constexpr int Gap = 60;
constexpr int AmountWidth = 300;

struct Side
{
    const char *name; // "Entradas", "Saidas" in the element names
    const char *title;
    QColor colour;
};
const Side kSides[] = {{"Entradas", "Entradas por categoria", Blue}, {"Saidas", "Saídas por categoria", Red}};

LabelElement *text(Band *band, const QString &name, const QRect &rect, bool bold, Qt::Alignment alignment,
                   const QColor &colour = Qt::black, const QString &caption = {})
{
    LabelElement *label = band->addLabel(name, rect, caption);
    label->font = {QString(), 8.5, bold, colour};
    label->alignment = alignment;
    return label;
}

QString lineName(const Side &side, const char *what, int line)
{
    return kPrefix + QString::fromLatin1(side.name) + QString::fromLatin1(what) + QString::number(line);
}

// The lines of one side: largest first, the rest summed on the last line.
QList<CategoryTotal> shown(QList<CategoryTotal> totals)
{
    std::stable_sort(totals.begin(), totals.end(),
                     [](const CategoryTotal &a, const CategoryTotal &b) { return a.amount > b.amount; });
    if (totals.size() <= YearCategories::kLines)
        return totals;
    CategoryTotal rest;
    const qsizetype kept = YearCategories::kLines - 1;
    for (qsizetype i = kept; i < totals.size(); ++i) {
        rest.amount += totals[i].amount;
        rest.movements += totals[i].movements;
    }
    rest.description = QStringLiteral("Demais categorias (%1)").arg(totals.size() - kept);
    totals.resize(kept);
    totals << rest;
    return totals;
}

} // namespace

YearCategories::YearCategories(Band *band, const QRect &area) : m_band(band)
{
    const int width = (area.width() - Gap) / 2;
    for (int s = 0; s < 2; ++s) {
        const Side &side = kSides[s];
        const int left = area.left() + s * (width + Gap);
        const int headingTop = area.top() + TitleHeight;
        band->addShape(kPrefix + QString::fromLatin1(side.name) + QStringLiteral("Fundo"),
                       QRect(left, headingTop, width, HeadingHeight + kLines * LineHeight + 10))
            ->background = QColor(252, 252, 252);
        band->addShape(kPrefix + QString::fromLatin1(side.name) + QStringLiteral("Cabecalho"),
                       QRect(left, headingTop, width, HeadingHeight))
            ->background = HeadingFill;
        text(band, kPrefix + QString::fromLatin1(side.name) + QStringLiteral("Titulo"),
             QRect(left + 12, headingTop + 5, width - 24, 40), true, Qt::AlignLeft, side.colour,
             QString::fromUtf8(side.title));
        for (int line = 0; line < kLines; ++line) {
            const int top = headingTop + HeadingHeight + 5 + line * LineHeight;
            text(band, lineName(side, "Nome", line), QRect(left + 12, top, width - AmountWidth - 30, 40), false,
                 Qt::AlignLeft);
            text(band, lineName(side, "Valor", line), QRect(left + width - AmountWidth - 12, top, AmountWidth, 40),
                 false, Qt::AlignRight, side.colour);
        }
    }
    text(band, kPrefix + QStringLiteral("Titulo"), QRect(area.left(), area.top(), area.width(), 50), true,
         Qt::AlignLeft, Qt::black, QStringLiteral("Entradas e saídas do ano por categoria"))
        ->font.pointSize = 10;
}

void YearCategories::show(const CategoryTotals &totals)
{
    setVisible(true);
    for (int s = 0; s < 2; ++s) {
        const Side &side = kSides[s];
        const QList<CategoryTotal> lines = shown(s == 0 ? totals.entries : totals.exits);
        for (int line = 0; line < kLines; ++line) {
            auto *name = static_cast<LabelElement *>(m_band->findElement(lineName(side, "Nome", line)));
            auto *value = static_cast<LabelElement *>(m_band->findElement(lineName(side, "Valor", line)));
            const bool used = line < lines.size();
            name->caption = used ? lines[line].description : QString();
            value->caption = used ? TFRLivroCaixa::formatAmount(lines[line].amount) : QString();
        }
    }
}

void YearCategories::hide()
{
    setVisible(false);
}

void YearCategories::setVisible(bool on)
{
    for (const auto &element : m_band->elements())
        if (element->name.startsWith(kPrefix))
            element->visible = on;
}
