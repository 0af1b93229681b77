#include "YearFilter.h"

#include "uikit/Appearance.h"
#include "uikit/ErrorGuard.h"
#include "uikit/FormKit.h"
#include "uikit/Messages.h"
#include "uikit/Today.h"

#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QShowEvent>
#include <QToolButton>
#include <QVBoxLayout>

YearFilter::YearFilter(QWidget *owner, const QString &objectName, const QString &caption)
    : ReportFilter(owner, objectName, caption, QSize(360, 230))
{
    txtAno = FormKit::textBox(this, QStringLiteral("txtAno"), false, 4);
    txtAno->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d{0,4}")), txtAno));
    txtAno->setFixedWidth(Appearance::scaled(90));
    Label1 = FormKit::captionLabel(this, QStringLiteral("Label1"), QStringLiteral("ANO"), txtAno, 0, true);
    btnGerar = addGenerateButton(QStringLiteral("btnGerar"), [this] { btnGerarClick(); });
    FormKit::boxKeys(txtAno, [this] { btnGerarClick(); }, [this] { close(); });

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 20, 24, 16);
    layout->addWidget(Label1);
    layout->addWidget(txtAno);
    layout->addStretch();
    layout->addLayout(buttonRow(btnGerar));
}

void YearFilter::showEvent(QShowEvent *event)
{
    ReportFilter::showEvent(event);
    if (event->spontaneous())
        return;
    FormKit::centreOnScreen(this);
    runGuarded([this] { FormShow(); });
}

int YearFilter::proposedYear() const
{
    return Today::date().year();
}

QString YearFilter::refusal(int) const
{
    return {};
}

void YearFilter::FormShow()
{
    const int proposed = proposedYear();
    if (proposed > 0 && proposed <= 9999 && txtAno->text().isEmpty())
        txtAno->setText(QString::number(proposed));
    txtAno->setFocus();
    txtAno->selectAll();
}

void YearFilter::btnGerarClick()
{
    const QString typed = txtAno->text();
    const int year = typed.toInt();
    if (typed.size() != 4 || year < 1000) { // "0999" is no year of four figures
        Messages::information(QStringLiteral("Digite o ano com quatro algarismos."));
        txtAno->setFocus();
        return;
    }
    if (const QString why = refusal(year); !why.isEmpty()) {
        Messages::information(why);
        return;
    }
    generate(year);
}
