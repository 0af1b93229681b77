#pragma once

#include "ReportRun.h"

#include <QDialog>
#include <QPrinter>
#include <functional>
#include <memory>

class QAction;
class QActionGroup;
class QLabel;
class QScrollArea;
class QStatusBar;
class QToolBar;
class Report;
class PreviewPage;

// The preview window of a report: the pages of one run, one at a time, with
// zoom, page navigation, printer setup, print, save (PDF or the program's own
// format) and load. Printing makes a new run of the report towards the
// printer; a report opened from a file prints its saved pages.
class PrintPreview : public QDialog
{
    Q_OBJECT
public:
    enum class Zoom { WholePage, Actual, PageWidth };
    enum class Command { ZoomWholePage, ZoomActual, ZoomPageWidth, First, Previous, Next, Last,
                         Setup, Print, Save, Load, Close };

    explicit PrintPreview(Report *report, QWidget *parent = nullptr);
    ~PrintPreview() override;

    // Lays out all pages, showing the progress; print and setup become usable after it.
    void layOut();
    bool isLaidOut() const { return m_laidOut; }
    const ReportRun &run() const { return m_run; }

    int pageCount() const { return int(m_run.pages().size()); }
    int currentPage() const { return m_page; } // from 0
    void setCurrentPage(int page);

    Zoom zoom() const { return m_zoom; }
    void setZoom(Zoom zoom);
    qreal scale() const; // screen pixels per tenth of a millimetre

    QString pageText() const;
    QString progressText() const;
    QAction *action(Command command) const;
    QPrinter &printer() { return m_printer; }

    bool savePdf(const QString &path) const;
    // Saves the pages as PDF, or in the program's own format when the name ends so.
    bool saveAs(const QString &path) const;
    // Shows the pages of a saved report file; printing then prints those pages.
    bool openFile(const QString &path);
    bool showsFile() const { return m_fromFile; }

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QAction *addCommand(Command command, const QString &text, const QString &tip, int icon);
    std::function<void()> handlerOf(Command command);
    void updateView();
    void setupPrinter();
    void print();
    void save();
    void load();
    void setRun(ReportRun run);

    Report *m_report;
    ReportRun m_run;
    bool m_laidOut = false;
    bool m_fromFile = false;
    bool m_centred = false;
    int m_page = 0;
    Zoom m_zoom = Zoom::Actual;
    QPrinter m_printer;
    QToolBar *m_toolBar;
    QActionGroup *m_zoomGroup;
    QScrollArea *m_scroll;
    PreviewPage *m_view;
    QStatusBar *m_statusBar;
    QLabel *m_pageLabel;
    QLabel *m_progressLabel;
    QList<QAction *> m_actions;
};
