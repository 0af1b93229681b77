#pragma once

#include "reports/base/ReportWindow.h"
#include "datamodule/Roll.h"

#include <QDate>

class LineDataset;

// The tithers of a period, for the treasurer and the pastor: per member,
// each entry the member gave (of the chosen category, or of any), with the
// member's total; the grand total; then the members who gave nothing in the
// period, with their telephones, for pastoral follow-up. Members by name as
// Portuguese sorts it. It writes nothing.
class TFRDizimistas : public ReportWindow
{
    Q_OBJECT
public:
    explicit TFRDizimistas(QWidget *owner);

    // The kinds of line, in column TIPO of the lines.
    static inline const QString kMember = QStringLiteral("MEMBRO");
    static inline const QString kGift = QStringLiteral("OFERTA");
    static inline const QString kMemberTotal = QStringLiteral("TOTAL");
    static inline const QString kGrandTotal = QStringLiteral("GERAL");
    static inline const QString kHeading = QStringLiteral("TITULO");
    static inline const QString kWithout = QStringLiteral("SEM");

    void setPeriod(const QDate &first, const QDate &last);
    // A category code (null: every entry with a member) and the name shown.
    void setCategory(const QVariant &code, const QString &name);
    // The situação of the members listed as giving nothing (Roll; ATIVO at first).
    void setSituation(const QString &situation) { m_situation = situation; }

    LineDataset *QLinhas; // worked out at the start of every run

private:
    void buildTitle();
    void buildDetail();
    void buildFooter();

    void QuickRep1BeforePrint();
    QSet<int> addGifts();
    void addMembersWithout(const QSet<int> &givers);
    void QRBand1BeforePrint();
    void QRBand2BeforePrint(Band &band);
    void QRBand3BeforePrint();

    QDate m_first, m_last;
    QVariant m_category;
    QString m_categoryName;
    QString m_situation = Roll::kActive;
};
