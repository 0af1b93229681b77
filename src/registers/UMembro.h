#pragma once

#include "recordform/RecordForm.h"
#include "datamodule/Roll.h"

#include <functional>
#include <optional>

class DBComboBox;
class DBEdit;
class DBImage;
class DBLookupComboBox;
class DBRadioGroup;
class QLabel;
class QPushButton;
class QTableWidget;

// Members register: one row of TMEMBRO per member, with personal data,
// family, documents and a photograph.
class TFMembro : public RecordForm
{
    Q_OBJECT
public:
    explicit TFMembro(QWidget *owner);

    DBEdit *DBEdit1, *DBEdit2, *DBEdit3, *DBEdit4, *DBEdit5, *DBEdit6, *DBEdit7, *DBEdit8, *DBEdit9, *DBEdit10,
        *DBEdit11, *DBEdit12, *DBEdit13, *DBEdit14, *DBEdit15, *DBEdit16, *DBEdit17;
    DBComboBox *DBComboBox1, *DBComboBox2;
    DBLookupComboBox *DBLookupComboBox1;
    DBRadioGroup *DBRadioGroup1;
    DBImage *Foto;
    QPushButton *btnFoto;
    QLabel *lblIgreja;
    QToolButton *btnCarteirinha;
    QToolButton *btnDocumentos; // letters and certificates (TFDocumentos)

    // The page "Rol" (where the database has the roll): the member's place
    // on it, the consent, and the history.
    QWidget *TabRol = nullptr;
    DBComboBox *cbSituacao = nullptr, *cbFormaAdmissao = nullptr, *cbMotivoSaida = nullptr;
    DBEdit *DBEditNumRol = nullptr, *DBEditAdmissao = nullptr, *DBEditIgrejaOrigem = nullptr, *DBEditBatismo = nullptr,
           *DBEditSaida = nullptr, *DBEditIgrejaDestino = nullptr, *DBEditConsentimento = nullptr,
           *DBEditFinalidade = nullptr, *DBEditConsentidoPor = nullptr, *DBEditResponsavel = nullptr,
           *DBEditRevogacao = nullptr;
    QGroupBox *GroupConsentimento = nullptr;
    QTableWidget *gridHistorico = nullptr;
    QToolButton *btnAcrescentarHistorico = nullptr;
    // The member's rights over their data: everything kept about them, and
    // their personal data erased (Administrador only).
    QPushButton *btnDadosMembro = nullptr, *btnAnonimizar = nullptr;
    void btnDadosMembroClick();
    void btnAnonimizarClick();
    // The row the user adds to the history, or none when cancelled. Tests
    // put their own in its place.
    static std::function<std::optional<Roll::HistoryRow>(QWidget *)> chooseHistoryRow;
    void btnAcrescentarHistoricoClick();
    void refreshHistory(); // the current member's history, newest first
    void btnNovoClick() override; // a new member is ATIVO

    void FotoClick(); // loads a photograph into MEMFOTO
    void btnFotoClick() { FotoClick(); }
    void btnSalvarClick() override;
    void btnRelatorioClick() override;
    void btnCarteirinhaClick(); // membership cards of the current or every listed member
    void btnDocumentosClick();

    // The open-picture dialog: the chosen file, or empty when cancelled.
    // Tests put their own in its place.
    static std::function<QString(QWidget *)> choosePicture;
    static constexpr qint64 kLargestPhotograph = 16 * 1024 * 1024; // bytes
    static QString openPictureDialog(QWidget *parent);

private:
    void buildRollPage();
    QLayout *buildDataRights(QWidget *page);
    void followRoll();
    QVariant m_consentAtEdit;
    bool m_editingRoll = false;
};

extern TFMembro *FMembro;
