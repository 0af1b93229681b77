#include "URLivroAnual.h"

#include "CashYear.h"
#include "reports/base/ChurchPrint.h"
#include "URLivroCaixa.h"

#include "datamodule/ChurchData.h"
#include "uikit/Today.h"
#include "provider/QueryDataset.h"

#include <QCoreApplication>
#include <QLocale>

using namespace ParameterCode;

namespace {

// A report whose run is composed elsewhere: the yearly book joins the runs
// of its termos and of the monthly cash book.
class ComposedReport : public Report
{
public:
    std::function<ReportRun()> compose;
    ReportRun run() override { return compose(); }
};

constexpr int TermHeight = 2770;
constexpr int TextLeft = 100;
constexpr int TextWidth = 1700;
constexpr int PlaceTop = 1150; // below the longest text
constexpr int SignaturesTop = 1550;
constexpr int CouncilTop = 1850;

QString field(int code, int blankLength = 30)
{
    return ChurchData::orBlank(ChurchData::value(code), blankLength);
}

Report *buildTerm(QObject *owner, const QString &title, const QList<Signature> &signatures)
{
    auto *report = new Report(owner);
    report->defaultFont = {QStringLiteral("Times New Roman"), 12, false, Qt::black};
    Band *band = report->addBand(Band::Kind::Title, QStringLiteral("QRBand1"), TermHeight);
    using ChurchPrint::text;
    text(band, QStringLiteral("txtTitulo"), QRect(0, 350, 1900, 90), 18, true, Qt::AlignHCenter, title);
    text(band, QStringLiteral("txtTexto"), QRect(TextLeft, 600, TextWidth, 700), 13, false)->wordWrap = true;
    text(band, QStringLiteral("txtLocalData"), QRect(TextLeft, PlaceTop, TextWidth, 60), 13, false, Qt::AlignRight);
    ChurchPrint::addSignatures(band, SignaturesTop, signatures);
    return report;
}

void setCaption(Report *report, const QString &name, const QString &caption)
{
    report->element<LabelElement>(name)->caption = caption;
}

QString placeAndDate()
{
    return QStringLiteral("%1, %2.").arg(field(CityState, 25), ChurchPrint::longDate(Today::date()));
}

// "março", "março e abril", "março, abril e julho".
QString monthList(const QList<int> &months)
{
    QStringList names;
    for (int month : months)
        names << QLocale().monthName(month);
    if (names.size() < 2)
        return names.join(QString());
    const QString last = names.takeLast();
    return names.join(QStringLiteral(", ")) + QStringLiteral(" e ") + last;
}

} // namespace

TFRLivroAnual::TFRLivroAnual(QWidget *owner) : ReportWindow(owner, new ComposedReport)
{
    setObjectName(QStringLiteral("FRLivroAnual"));
    static_cast<ComposedReport *>(QuickRep1)->compose = [this] { return layOutBook(); };
    termoAbertura = buildTerm(this, QStringLiteral("TERMO DE ABERTURA"), ChurchPrint::kOfficers);
    termoEncerramento = buildTerm(this, QStringLiteral("TERMO DE ENCERRAMENTO"), ChurchPrint::kOfficers);
    Band *closing = termoEncerramento->bands().front().get();
    ChurchPrint::text(closing, QStringLiteral("txtConselho"), QRect(0, CouncilTop, 1900, 60), 12, true,
                      Qt::AlignHCenter, QStringLiteral("Conselho Fiscal"));
    ChurchPrint::addSignatures(closing, CouncilTop + 250, ChurchPrint::kFiscalCouncil);
}

ReportRun TFRLivroAnual::layOutBook()
{
    const CashYear year = CashYear::compute(m_year);
    QList<CashMonth> books;
    QList<int> missing;
    for (const CashMonth &m : year.months) {
        if (m.hasBook())
            books << m;
        else
            missing << m.month;
    }

    // Progress over the whole book: each month is one part, the termos one more.
    const int parts = int(books.size()) + 1;
    int reported = 0;
    const auto progress = [&](int part, int percent) {
        const int overall = (part * 100 + percent) / parts;
        if (QuickRep1->onProgress && overall >= reported + 5) {
            reported = overall - overall % 5;
            QuickRep1->onProgress(reported);
        }
    };
    double closing = year.opening;
    const ReportRun months = layOutMonths(books, progress, closing);
    const int folhas = int(months.pages().size()) + 2;
    fillOpening(folhas);
    fillClosing(folhas, missing, closing);

    ReportRun book;
    book.append(termoAbertura->run());
    book.append(months);
    book.append(termoEncerramento->run());
    numberFolhas(book);
    progress(parts, 0);
    if (QuickRep1->onEnd)
        QuickRep1->onEnd();
    return book;
}

// Each book through a monthly report of its own, in calendar order: its
// pages, and its balances stored as that report stores them. `closing` is
// the balance that closes the last of them.
ReportRun TFRLivroAnual::layOutMonths(const QList<CashMonth> &books, const std::function<void(int, int)> &progress,
                                      double &closing)
{
    ReportRun months;
    for (int part = 0; part < books.size(); ++part) {
        const CashMonth &book = books.at(part);
        TFRLivroCaixa monthly(this);
        monthly.setBook(book.bookCode, book.description);
        openWith(monthly.QLivro, TFRLivroCaixa::kSql, {book.bookCode});
        monthly.QuickRep1->onProgress = [&](int percent) { progress(part, percent); };
        months.append(monthly.QuickRep1->run());
        closing = monthly.closingBalance();
        progress(part + 1, 0);
        QCoreApplication::processEvents();
    }
    return months;
}

void TFRLivroAnual::fillOpening(int folhas)
{
    setCaption(termoAbertura, QStringLiteral("txtTexto"),
               QStringLiteral("Este livro contém %1 folhas, numeradas de 1 a %1, e servirá para o registro do "
                              "movimento do caixa (entradas e saídas) de %2, inscrita no CNPJ sob o nº %3, com sede "
                              "em %4, %5, no ano de %6.")
                   .arg(folhas)
                   .arg(field(ChurchName, 40), field(Cnpj, 22), field(Address, 40), field(CityState, 25))
                   .arg(m_year));
    setCaption(termoAbertura, QStringLiteral("txtLocalData"), placeAndDate());
    ChurchPrint::fillSignatures(termoAbertura, ChurchPrint::kOfficers);
}

void TFRLivroAnual::fillClosing(int folhas, const QList<int> &missing, double finalBalance)
{
    QList<int> printed;
    for (int month = 1; month <= 12; ++month)
        if (!missing.contains(month))
            printed << month;
    const QDate first(m_year, printed.value(0, 1), 1);
    const QDate last = QDate(m_year, printed.value(printed.size() - 1, 12), 1).addMonths(1).addDays(-1);
    QString text = QStringLiteral("Este livro, com %1 folhas numeradas de 1 a %1, contém o registro do movimento do "
                                  "caixa de %2, inscrita no CNPJ sob o nº %3, no período de %4 a %5, e se encerra "
                                  "com o saldo de R$\u00a0%6.")
                       .arg(folhas)
                       .arg(field(ChurchName, 40), field(Cnpj, 22), ChurchPrint::longDate(first),
                            ChurchPrint::longDate(last), TFRLivroCaixa::formatAmount(finalBalance));
    if (!missing.isEmpty())
        text += QStringLiteral(" Não houve livro caixa em %1.").arg(monthList(missing));
    setCaption(termoEncerramento, QStringLiteral("txtTexto"), text);
    setCaption(termoEncerramento, QStringLiteral("txtLocalData"), placeAndDate());
    ChurchPrint::fillSignatures(termoEncerramento, ChurchPrint::kOfficers);
    ChurchPrint::fillSignatures(termoEncerramento, ChurchPrint::kFiscalCouncil);
}

// "Folha n" in the top right corner of every page, in the cash book's font.
void TFRLivroAnual::numberFolhas(ReportRun &run) const
{
    PageItem folha;
    folha.elementName = QStringLiteral("txtFolha");
    folha.font = TextMeasure::layoutFont(QStringLiteral("Times New Roman"), 10, true);
    folha.colour = Qt::black;
    folha.flags = Qt::AlignRight | Qt::AlignTop;
    const int right = QuickRep1->pageWidth - QuickRep1->rightMargin - 11; // the grid's right edge
    folha.rect = QRect(right - 400, QuickRep1->topMargin + 40, 400, 45);
    for (int page = 0; page < run.pages().size(); ++page) {
        folha.text = QStringLiteral("Folha %1").arg(page + 1);
        run.addItem(page, folha);
    }
}
