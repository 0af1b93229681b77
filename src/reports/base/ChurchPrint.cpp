#include "ChurchPrint.h"

#include "datamodule/ChurchData.h"
#include "reports/engine/Report.h"

#include <QLocale>

namespace ChurchPrint {

namespace {

constexpr int kSignatureWidth = 560;

LabelElement *centred(Band *band, const QString &name, const QRect &rect, qreal points, bool bold,
                      const QString &caption = {})
{
    return text(band, name, rect, points, bold, Qt::AlignHCenter, caption);
}

// Sets the caption of every label of `report` whose name starts with `name`
// (the headings of a page with two copies have a suffix each).
void setEvery(Report *report, const QString &name, const QString &caption)
{
    for (const auto &band : report->bands())
        for (const auto &element : band->elements())
            if (element->name.startsWith(name) && element->kind() == Element::Kind::Label)
                static_cast<LabelElement *>(element.get())->caption = caption;
}

QString addressLine()
{
    QStringList parts;
    for (int code : {ParameterCode::Address, ParameterCode::CityState})
        if (const QString part = ChurchData::value(code).trimmed(); !part.isEmpty())
            parts << part;
    return parts.join(QStringLiteral(" - "));
}

} // namespace

int addHeading(Band *band, int top, int width, const QString &suffix)
{
    centred(band, QStringLiteral("txtNomeDaIgreja") + suffix, QRect(0, top, width, 65), 14, true);
    centred(band, QStringLiteral("txtCNPJ") + suffix, QRect(0, top + 65, width, 45), 9, false);
    centred(band, QStringLiteral("txtEndereco") + suffix, QRect(0, top + 105, width, 45), 9, false);
    return 150;
}

void fillHeading(Report *report)
{
    setEvery(report, QStringLiteral("txtNomeDaIgreja"),
             ChurchData::orBlank(ChurchData::value(ParameterCode::ChurchName), 40));
    setEvery(report, QStringLiteral("txtCNPJ"),
             QStringLiteral("CNPJ ") + ChurchData::orBlank(ChurchData::value(ParameterCode::Cnpj), 22));
    setEvery(report, QStringLiteral("txtEndereco"), addressLine());
}

void addSignatures(Band *band, int top, const QList<Signature> &signatures, qreal points, int width)
{
    const int count = int(signatures.size());
    const int gap = (width - count * kSignatureWidth) / (count + 1);
    const int textHeight = int(points * 4.6);
    int left = gap;
    for (const Signature &s : signatures) {
        band->addShape(QStringLiteral("linhaAssinatura"), QRect(left, top, kSignatureWidth, 1));
        centred(band, QStringLiteral("txtAssinatura%1").arg(s.code), QRect(left, top + 20, kSignatureWidth, textHeight),
                points, false);
        centred(band, QStringLiteral("txtFuncao"), QRect(left, top + 25 + textHeight, kSignatureWidth, textHeight),
                points, false, QString::fromUtf8(s.role));
        left += kSignatureWidth + gap;
    }
}

void fillSignatures(Report *report, const QList<Signature> &signatures)
{
    for (const Signature &s : signatures)
        setEvery(report, QStringLiteral("txtAssinatura%1").arg(s.code),
                 ChurchData::orBlank(ChurchData::value(s.code), 35));
}

QString longDate(const QDate &date)
{
    const QString day = date.day() == 1 ? QStringLiteral("1º") : QString::number(date.day());
    return QStringLiteral("%1 de %2 de %3").arg(day, QLocale().monthName(date.month())).arg(date.year());
}

LabelElement *text(Band *band, const QString &name, const QRect &rect, qreal points, bool bold,
                   Qt::Alignment alignment, const QString &caption)
{
    LabelElement *label = band->addLabel(name, rect, caption);
    label->font = {QString(), points, bold, Qt::black};
    label->alignment = alignment;
    return label;
}

} // namespace ChurchPrint
