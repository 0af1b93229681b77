#pragma once

#include "reports/cadastros/DocumentModels.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QListWidget;
class QPlainTextEdit;
class QToolButton;

// "Modelos de Documentos": the text of each kind of document the members
// register issues. The user chooses the kind, edits its text with the fields
// listed beside it (a double click puts one where the cursor is) and saves
// it; a field the kind does not fill is refused. "Restaurar Modelo Original"
// goes back to the program's own text.
class TFModelos : public QDialog
{
    Q_OBJECT
public:
    explicit TFModelos(QWidget *owner);

    QLabel *Label1, *Label2, *Label3, *lblOrigem;
    QComboBox *cbTipo;
    QPlainTextEdit *txtModelo;
    QListWidget *lstCampos;
    QToolButton *btnSalvar, *btnRestaurar, *btnSair;

    DocumentModels::Kind kind() const;
    void cbTipoChange();
    void btnSalvarClick();
    void btnRestaurarClick();
    void lstCamposDblClick(); // the field chosen, at the cursor

public slots:
    // "Sair", Esc and the close box: asks before an edited text is dropped.
    void reject() override;

private:
    void layOut();
    void showModel(DocumentModels::Kind kind);
    bool edited() const;
    bool mayDropEdits();

    int m_shownKind = -1;
    QString m_shownText; // the text as it was read or saved
};

extern TFModelos *FModelos;
