#pragma once

#include "reports/cadastros/DocumentModels.h"

#include <QDialog>
#include <QHash>

class QComboBox;
class QLabel;
class QLineEdit;
class QToolButton;
class QVBoxLayout;

// "Documentos": the letters and certificates of the current member of the
// members register. The user chooses the kind and types what it needs (the
// destination of a transfer, the officiant of a baptism, the date of a
// child's presentation); "Emitir" numbers the document, records it in the
// member's history and previews it, to print or keep as PDF.
class TFDocumentos : public QDialog
{
    Q_OBJECT
public:
    explicit TFDocumentos(QWidget *owner);

    QLabel *Label1, *Label2, *lblMembro;
    QComboBox *cbTipo;
    QLineEdit *txtIgrejaDestino, *txtCidadeDestino, *txtValidaAte, *txtDataBatismo, *txtOficiante,
        *txtDataApresentacao;
    QToolButton *btnEmitir, *btnSair;

    DocumentModels::Kind kind() const;
    void cbTipoChange();  // shows the boxes the chosen kind asks
    void btnEmitirClick();

protected:
    void showEvent(QShowEvent *event) override;

private:
    QLineEdit *box(const char *name, const QString &field, int maxLength, bool date);
    void addAsked(QVBoxLayout *column, const QString &field, const QString &caption);
    QHash<QString, QVariant> asked() const; // DbError for what is missing or wrong
    QString detailsOf(const QHash<QString, QVariant> &asked) const;
    QDate baptism() const;

    int m_member = 0;
    QHash<QString, QLineEdit *> m_boxes; // by the field each fills
    QHash<QString, QWidget *> m_rows;    // the caption and box of each field
    QHash<QString, QString> m_captions;  // the caption of each field's box
};

extern TFDocumentos *FDocumentos;
