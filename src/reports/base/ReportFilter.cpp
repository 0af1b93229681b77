#include "ReportFilter.h"

#include "datamodule/Roll.h"
#include "uikit/FormKit.h"
#include <QComboBox>
#include <QLabel>
#include <QVBoxLayout>

#include "uikit/Appearance.h"
#include "uikit/ErrorGuard.h"
#include "uikit/FormKit.h"
#include "controls/DBLookupComboBox.h"
#include "dataset/Field.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QRadioButton>
#include <QToolButton>

namespace {

const QSize kButtonSize(110, 56); // both buttons alike, the longer caption whole

} // namespace

ReportFilter::ReportFilter(QWidget *owner, const QString &objectName, const QString &caption, QSize size)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(objectName);
    setWindowTitle(caption);
    FormKit::whiteBackground(this);
    setFixedSize(Appearance::scaled(size));
    btnSair = FormKit::pictureButton(this, QStringLiteral("btnSair"), QStringLiteral("Sair"),
                                     QStringLiteral(":/icons/sair.svg"), false);
    btnSair->setMinimumSize(Appearance::scaled(kButtonSize));
    connectGuarded(btnSair, &QToolButton::clicked, this, [this] { close(); }); // btnSairClick
}

int ReportFilter::choice() const
{
    return m_choices ? m_choices->checkedId() : -1;
}

bool ReportFilter::largePrint() const
{
    return m_largePrint && m_largePrint->isChecked();
}

QString ReportFilter::situation() const
{
    return m_situation ? m_situation->currentData().toString() : Roll::kActive;
}

QLayout *ReportFilter::addSituationChoice()
{
    m_situation = new QComboBox(this);
    m_situation->setObjectName(QStringLiteral("cbSituacao"));
    for (const QString &s : Roll::situationChoices())
        m_situation->addItem(s == Roll::kAnySituation ? QStringLiteral("TODAS (MEMBROS DE QUALQUER SITUAÇÃO)") : s, s);
    QVBoxLayout *box = FormKit::captionAbove(this, QStringLiteral("LabelSituacao"), QStringLiteral("SITUAÇÃO"), m_situation);
    const bool roll = Roll::available();
    m_situation->setVisible(roll);
    if (QLabel *label = findChild<QLabel *>(QStringLiteral("LabelSituacao")))
        label->setVisible(roll);
    return box;
}

QCheckBox *ReportFilter::addLargePrintChoice()
{
    m_largePrint = new QCheckBox(QStringLiteral("Letra grande"), this);
    m_largePrint->setObjectName(QStringLiteral("chkLetraGrande"));
    m_largePrint->setToolTip(QStringLiteral("A lista em letras de 14 pontos, na folha deitada"));
    m_largePrint->setChecked(Appearance::textSize() != Appearance::TextSize::Normal);
    return m_largePrint;
}

QGroupBox *ReportFilter::addChoices(const QString &name, const QString &caption, const QStringList &items,
                                    int columns)
{
    auto *box = new QGroupBox(caption, this);
    box->setObjectName(name);
    m_choices = new QButtonGroup(box);
    auto *grid = new QGridLayout(box);
    for (int i = 0; i < items.size(); ++i) {
        auto *button = new QRadioButton(items.at(i), box);
        button->setObjectName(name + QString::number(i));
        m_choices->addButton(button, i);
        grid->addWidget(button, i / columns, i % columns);
    }
    return box;
}

DBLookupComboBox *ReportFilter::addRowList(DataSource *source, const QString &keyColumn, const QString &listColumn)
{
    auto *list = new DBLookupComboBox(this);
    list->setObjectName(QStringLiteral("DBLookupComboBox1"));
    list->setListSource(source, keyColumn, listColumn);
    return list;
}

QLineEdit *ReportFilter::addDateBox(const QString &name)
{
    QLineEdit *box = FormKit::textBox(this, name);
    box->setInputMask(kDateInputMask);
    box->setFixedWidth(Appearance::scaled(100));
    FormKit::boxKeys(box, nullptr, [this] { btnSair->click(); });
    return box;
}

QDate ReportFilter::dateIn(const QLineEdit *box)
{
    return dateFromText(box->displayText().replace(u'_', u' '));
}

QToolButton *ReportFilter::addGenerateButton(const QString &name, std::function<void()> generate)
{
    QToolButton *button = FormKit::pictureButton(this, name, QStringLiteral("Gerar Relatório"),
                                                 QStringLiteral(":/icons/relatorio.svg"), false);
    button->setMinimumSize(Appearance::scaled(kButtonSize));
    connectGuarded(button, &QToolButton::clicked, this, std::move(generate));
    return button;
}

QHBoxLayout *ReportFilter::buttonRow(QToolButton *generate)
{
    return FormKit::centredRow({generate, btnSair});
}
