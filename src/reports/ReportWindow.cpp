#include "ReportWindow.h"

#include "data/Today.h"
#include "data/UDM.h"
#include "data/dataset/QueryDataset.h"

#include <QLocale>

ReportWindow::ReportWindow(QWidget *owner)
    // A window of its own, so it never appears with its owner.
    : QWidget(owner, Qt::Window), QuickRep1(new Report(this))
{
    QuickRep1->setObjectName(QStringLiteral("QuickRep1"));
    setAttribute(Qt::WA_DontShowOnScreen);
}

void ReportWindow::preview()
{
    QuickRep1->preview(parentWidget());
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
