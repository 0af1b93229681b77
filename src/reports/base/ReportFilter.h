#pragma once

#include <QDialog>
#include <functional>

class DBLookupComboBox;
class DataSource;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QHBoxLayout;
class QLineEdit;
class QToolButton;

// What the report filter windows share: a small white window with only a
// close box, a group of exclusive report choices, a list of rows of a shared
// table, and the buttons "Gerar Relatório" and "Sair". The window stays open
// after a preview, so several reports can be made in a row.
class ReportFilter : public QDialog
{
    Q_OBJECT
public:
    ReportFilter(QWidget *owner, const QString &objectName, const QString &caption, QSize size);

    QToolButton *btnSair;

    // The choice made in the group, -1 when none is.
    int choice() const;
    // "Letra grande" checked, where the window offers it.
    bool largePrint() const;
    // The situação of the members listed (Roll::kActive unless the window
    // offers the choice and another is chosen; Roll::kAnySituation for all).
    QString situation() const;

protected:
    // The choices, `columns` to a line, none chosen.
    QGroupBox *addChoices(const QString &name, const QString &caption, const QStringList &items, int columns);
    // A list of `listColumn` of the visible rows of `source`, keyed by `keyColumn`,
    // bound to no column: choosing makes the row current in the shared table.
    DBLookupComboBox *addRowList(DataSource *source, const QString &keyColumn, const QString &listColumn);
    // A box for a date typed through the date mask, from its start; Enter and
    // the arrows move between the boxes and Esc leaves the window.
    QLineEdit *addDateBox(const QString &name);
    // The date typed in `box`; a DbError with the conversion's message when it is no date.
    static QDate dateIn(const QLineEdit *box);
    // "Gerar Relatório", running `generate` as a user action.
    QToolButton *addGenerateButton(const QString &name, std::function<void()> generate);
    // "Letra grande": the list in big letters (ReportWindow::setLargePrint);
    // checked at first while the screen's text is larger than normal.
    QCheckBox *addLargePrintChoice();
    // "SITUAÇÃO" (cbSituacao with its caption above): the members of one
    // situação of the roll, ATIVO at first, or all; hidden where the
    // database has no roll.
    QLayout *addSituationChoice();
    // `generate` and "Sair" side by side, centred.
    QHBoxLayout *buttonRow(QToolButton *generate);

    QButtonGroup *m_choices = nullptr;
    QCheckBox *m_largePrint = nullptr;
    QComboBox *m_situation = nullptr;
};
