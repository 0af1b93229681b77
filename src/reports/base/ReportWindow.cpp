#include "ReportWindow.h"

#include "uikit/Today.h"
#include "datamodule/UDM.h"
#include "provider/QueryDataset.h"
#include "dataset/TableDataset.h"

#include <QLocale>

ReportWindow::ReportWindow(QWidget *owner) : ReportWindow(owner, new Report) {}

ReportWindow::ReportWindow(QWidget *owner, Report *report)
    // A window of its own, so it never appears with its owner.
    : QWidget(owner, Qt::Window), QuickRep1(report)
{
    QuickRep1->setParent(this);
    QuickRep1->setObjectName(QStringLiteral("QuickRep1"));
    setAttribute(Qt::WA_DontShowOnScreen);
}

void ReportWindow::preview()
{
    QuickRep1->preview(parentWidget());
}

void ReportWindow::previewWith(QueryDataset *query, const QStringList &sql, const QVariantList &params)
{
    openWith(query, sql, params);
    preview();
}

void ReportWindow::openWith(QueryDataset *query, const QStringList &sql, const QVariantList &params)
{
    query->close();
    query->setSql(sql);
    for (int i = 0; i < params.size(); ++i)
        query->setParam(i, params.at(i));
    query->open();
}

void ReportWindow::largePrintColumns(qreal rowPoints, const QList<QPoint> &columns)
{
    QuickRep1->largeLift = kLargePrintPoints - rowPoints;
    QuickRep1->largeColumns = columns;
}

QueryDataset *ReportWindow::addQuery(const QString &name, const QStringList &sql)
{
    auto *query = new QueryDataset(name, DM->connectionName(), this);
    query->setObjectName(name);
    query->setSql(sql);
    QuickRep1->dataset = query;
    return query;
}

void ReportWindow::shadeRow(Band &band, bool &nextIsWhite)
{
    const QColor colour = nextIsWhite ? QColor(Qt::white) : cream();
    nextIsWhite = !nextIsWhite;
    band.background = colour;
    for (const auto &element : band.elements())
        if (element->kind() == Element::Kind::Label || element->kind() == Element::Kind::DataText)
            element->background = colour;
}

void ReportWindow::stampToday(LabelElement *label)
{
    label->caption = QLocale().toString(Today::date(), QLocale::ShortFormat);
}

namespace {

LabelElement *boldLabel(Band *band, const QString &name, const QString &text, QPoint at, qreal points)
{
    LabelElement *label = band->addLabel(name, QRect(at, QSize(10, 10)), text);
    label->font.pointSize = points;
    label->font.bold = true;
    label->autoSize = true;
    return label;
}

} // namespace

Band *ReportWindow::addListTitle(int height, int titleTop, const QString &title, const QString &subtitle,
                                 int headingsTop, const QList<Caption> &headings)
{
    Band *band = QuickRep1->addBand(Band::Kind::Title, QStringLiteral("QRBand1"), height);
    LabelElement *centred = boldLabel(band, QStringLiteral("QRLabel1"), title, QPoint(0, titleTop), 12);
    centred->rect.setWidth(QuickRep1->bandWidth());
    centred->alignment = Qt::AlignHCenter;
    boldLabel(band, QStringLiteral("QRLabel2"), subtitle, QPoint(11, 143), 10);
    for (const Caption &heading : headings)
        boldLabel(band, QString::fromLatin1(heading.name), heading.text, QPoint(heading.left, headingsTop), 8);
    return band;
}

LabelElement *ReportWindow::addGeneratedOn(Band *footer, int labelLeft, int dateLeft, int top)
{
    footer->addLabel(QStringLiteral("QRLabel9"), QRect(labelLeft, top, 10, 10), QStringLiteral("Relatório Gerado Dia: "))
        ->autoSize = true;
    LabelElement *date = footer->addLabel(QStringLiteral("txtData"), QRect(dateLeft, top, 10, 10), QStringLiteral("31/12/2009"));
    date->autoSize = true;
    return date;
}

QVariant ReportWindow::lookUp(TableDataset *table, const QString &keyColumn, const QVariant &key,
                              const QString &resultColumn)
{
    if (key.isNull())
        return {};
    const int keyIndex = table->fieldByName(keyColumn)->index();
    const int resultIndex = table->fieldByName(resultColumn)->index();
    for (int row = 0; row < table->recordCount(); ++row)
        if (table->valueAt(row, keyIndex) == key)
            return table->valueAt(row, resultIndex);
    return {};
}
