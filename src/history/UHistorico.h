#pragma once

#include "datamodule/ChangeLog.h"
#include "reports/base/ReportFilter.h"

class ChangeLogModel;
class QComboBox;
class QLabel;
class QLineEdit;
class QTableView;
class QToolButton;

// "Histórico de Alterações": the change log by period (an empty day leaves
// that end open), account, register (by its caption) and a row's code, in a
// grid, newest first; "Imprimir" through the preview and "Exportar" to a
// spreadsheet, both of what the grid shows. Opened from Configurações, and
// from a register's "Histórico" on its current record.
class TFHistorico : public ReportFilter
{
    Q_OBJECT
public:
    explicit TFHistorico(QWidget *owner);
    ~TFHistorico() override;

    QLineEdit *txtDataInicial, *txtDataFinal, *txtCodigo;
    QComboBox *cmbConta, *cmbCadastro;
    QToolButton *btnBuscar, *btnImprimir, *btnExportar;
    QTableView *gridAlteracoes;
    QLabel *lblTotal;

    // The history of one record of `table` (of the whole register when
    // `code` is null), from its first line.
    void showRecord(const QString &table, const QVariant &code);
    const QList<ChangeLog::Entry> &entries() const;
    // The filter of the boxes; DbError for a day that is no date.
    ChangeLog::Filter filter() const;

    void FormShow();
    void btnBuscarClick();
    void btnImprimirClick();
    void btnExportarClick();

    // Hands this window to the registers as their "Histórico"
    // (RecordForm::history), for the accounts whose profile sees the log.
    static void offerToRegisters();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void buildFilters();
    void layOut();
    void listAccounts();

    ChangeLogModel *m_model;
    ChangeLog::Filter m_shown; // what the grid shows was read with it
};

extern TFHistorico *FHistorico;
