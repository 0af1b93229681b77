#pragma once

#include "datamodule/ClosedMonths.h"
#include "reports/base/ReportWindow.h"

class QueryDataset;

// The cash book of one month: every movement of the book in date order,
// entries and exits in their own columns, the totals carried from page to
// page, and on the last page the closing box with the previous balance, the
// current balance and the cross-check. Each run that reaches the last page
// stores both balances on the book, but on a closed month's book, whose
// balances were stored when it was closed; the foot of every page then says
// when and by whom the month was closed (or that it is open).
class TFRLivroCaixa : public ReportWindow
{
    Q_OBJECT
public:
    explicit TFRLivroCaixa(QWidget *owner);

    // The reported book: its code (the query's parameter and the row the
    // balances are stored on) and the description shown in the title.
    void setBook(int code, const QString &description);

    QueryDataset *QLivro;
    // The movements of the book given as the parameter "livro", by date.
    static const QStringList kSql;

    // "###,###,##0.00" with the system's separators; "DD/MM".
    static QString formatAmount(double amount);
    static QString formatDayMonth(const QDate &date);


    // The current balance closing the book in the last run.
    double closingBalance() const { return m_previousBalance + m_entries - m_exits; }

private:
    void buildPageHeader();
    void buildDetail();
    void buildPageFooter();

    void setCaption(const char *label, const QString &caption);

    void QuickRep1BeforePrint();
    void QRBand1BeforePrint();
    void QRBand2BeforePrint();
    void QRBand3BeforePrint();

    double carriedEntries() const;
    double carriedExits() const;
    double amountOpeningNextPage(const QString &kind) const;
    QString churchName() const;
    void showClosingBox(bool visible);
    QString closingLine() const;
    void storeBalances(double previous, double current);

    int m_bookCode = 0;
    QString m_bookDescription;
    // Run state, reset at the start of every run.
    double m_entries = 0;
    double m_exits = 0;
    int m_pages = 0;
    double m_previousBalance = 0;
    std::optional<ClosedMonths::Closing> m_closing;
    bool m_closesMonths = false; // the database keeps closed months
};
