#include "UAparencia.h"

#include "uikit/FormKit.h"

#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

TFAparencia *FAparencia = nullptr;

using Appearance::TextSize;

TFAparencia::TFAparencia(QWidget *owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("FAparencia"));
    setWindowTitle(QStringLiteral("Aparência"));
    FormKit::whiteBackground(this);
    RGTamanho = new QGroupBox(QStringLiteral("TAMANHO DA LETRA"), this);
    RGTamanho->setObjectName(QStringLiteral("RGTamanho"));
    auto *choices = new QVBoxLayout(RGTamanho);
    const auto choice = [this, choices](const char *name, TextSize size, const char *percent) {
        auto *button = new QRadioButton(Appearance::caption(size), RGTamanho);
        button->setObjectName(QString::fromLatin1(name));
        button->setFont(Appearance::applicationFont(size));
        button->setToolTip(QString::fromLatin1(percent));
        button->setChecked(Appearance::textSize() == size);
        choices->addWidget(button);
        return button;
    };
    rbNormal = choice("rbNormal", TextSize::Normal, "100 %");
    rbGrande = choice("rbGrande", TextSize::Large, "125 %");
    rbMuitoGrande = choice("rbMuitoGrande", TextSize::VeryLarge, "150 %");
    auto *note = new QLabel(QStringLiteral("Vale para todas as janelas, neste computador e para este usuário."), this);
    note->setWordWrap(true);

    const FormKit::SaveAndLeave buttons = FormKit::saveAndLeaveButtons(this, [this] { btnSalvarClick(); });
    btnSalvar = buttons.save;
    btnSair = buttons.leave;

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(Appearance::scaled(24), Appearance::scaled(20), Appearance::scaled(24),
                               Appearance::scaled(16));
    layout->addWidget(RGTamanho);
    layout->addWidget(note);
    layout->addSpacing(Appearance::scaled(12));
    layout->addLayout(FormKit::centredRow({btnSalvar, btnSair}));
    setMinimumWidth(Appearance::scaled(380));
}

TextSize TFAparencia::chosen() const
{
    if (rbGrande->isChecked())
        return TextSize::Large;
    if (rbMuitoGrande->isChecked())
        return TextSize::VeryLarge;
    return TextSize::Normal;
}

void TFAparencia::btnSalvarClick()
{
    Appearance::store(chosen());
    Appearance::apply(chosen());
    accept();
}
