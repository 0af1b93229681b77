#pragma once

#include "uikit/Appearance.h"

#include <QDialog>

class QGroupBox;
class QRadioButton;
class QToolButton;

// "Aparência": the size of the text of every window, for this computer and
// user. Each choice is written in its own size, so the user sees it before
// saving; "Salvar" keeps it and the open windows follow at once.
class TFAparencia : public QDialog
{
    Q_OBJECT
public:
    explicit TFAparencia(QWidget *owner);

    QGroupBox *RGTamanho;
    QRadioButton *rbNormal, *rbGrande, *rbMuitoGrande;
    QToolButton *btnSalvar, *btnSair;

    Appearance::TextSize chosen() const;
    void btnSalvarClick();
};

extern TFAparencia *FAparencia;
