#include "PrintPreview.h"

#include "Report.h"
#include "uikit/Appearance.h"
#include "uikit/ErrorGuard.h"
#include "uikit/FormKit.h"
#include "uikit/Messages.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinterInfo>
#include <QScopeGuard>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
constexpr int Border = 12; // grey space around the page, pixels
constexpr int Shadow = 4;
}

// The current page, white on the grey viewport, with a shadow.
class PreviewPage : public QWidget
{
public:
    explicit PreviewPage(QWidget *parent) : QWidget(parent) { setFocusPolicy(Qt::NoFocus); }

    void show(const LaidOutPage *page, const QList<QImage> *images, QSize pageSize, qreal scale)
    {
        m_page = page;
        m_images = images;
        m_pageSize = pageSize;
        m_scale = scale;
        setFixedSize(qRound(pageSize.width() * scale) + 2 * Border + Shadow,
                     qRound(pageSize.height() * scale) + 2 * Border + Shadow);
        update();
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        const QRect paper(Border, Border, qRound(m_pageSize.width() * m_scale),
                          qRound(m_pageSize.height() * m_scale));
        painter.fillRect(paper.translated(Shadow, Shadow), QColor(0, 0, 0, 110));
        painter.fillRect(paper, Qt::white);
        painter.setPen(QColor(96, 96, 96));
        painter.drawRect(paper.adjusted(0, 0, -1, -1));
        if (!m_page)
            return;
        painter.setClipRect(paper);
        painter.translate(paper.topLeft());
        paintPage(painter, *m_page, *m_images, m_scale);
    }

private:
    const LaidOutPage *m_page = nullptr;
    const QList<QImage> *m_images = nullptr;
    QSize m_pageSize;
    qreal m_scale = 1;
};

PrintPreview::PrintPreview(Report *report, QWidget *parent)
    : QDialog(parent), m_report(report), m_printer(QPrinter::HighResolution)
{
    setWindowTitle(QStringLiteral("Print Preview"));
    setWindowFlags(windowFlags() | Qt::WindowMinMaxButtonsHint);
    m_printer.setPageSize(QPageSize(QPageSize::A4));
    m_printer.setPageOrientation(report->pageWidth > report->pageHeight ? QPageLayout::Landscape
                                                                         : QPageLayout::Portrait);
    m_printer.setFullPage(true);

    m_toolBar = new QToolBar(this);
    m_toolBar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_toolBar->setFocusPolicy(Qt::NoFocus);
    m_zoomGroup = new QActionGroup(this);
    m_zoomGroup->setExclusive(true);
    addCommand(Command::ZoomWholePage, "Página inteira", "Ajustar a página inteira na janela", -1);
    addCommand(Command::ZoomActual, "100 %", "Tamanho real", -1);
    addCommand(Command::ZoomPageWidth, "Largura", "Ajustar à largura da página", -1);
    m_toolBar->addSeparator();
    addCommand(Command::First, QString(), "Primeira página", QStyle::SP_MediaSkipBackward);
    addCommand(Command::Previous, QString(), "Página anterior", QStyle::SP_MediaSeekBackward);
    addCommand(Command::Next, QString(), "Próxima página", QStyle::SP_MediaSeekForward);
    addCommand(Command::Last, QString(), "Última página", QStyle::SP_MediaSkipForward);
    m_toolBar->addSeparator();
    addCommand(Command::Setup, "Configurar", "Configurar a impressão", QStyle::SP_FileDialogDetailedView);
    addCommand(Command::Print, "Imprimir", "Imprimir o relatório", -1);
    m_toolBar->addSeparator();
    addCommand(Command::Save, "Salvar", "Salvar o relatório em PDF ou arquivo de relatório", QStyle::SP_DialogSaveButton);
    addCommand(Command::Load, "Abrir", "Abrir um arquivo de relatório salvo", QStyle::SP_DialogOpenButton);
    m_toolBar->addSeparator();
    addCommand(Command::Close, "Fechar", "Fechar a visualização", QStyle::SP_DialogCloseButton);
    action(Command::ZoomActual)->setChecked(true);

    m_view = new PreviewPage(this);
    m_scroll = new QScrollArea(this);
    m_scroll->setFocusPolicy(Qt::NoFocus);
    m_scroll->setAlignment(Qt::AlignCenter);
    m_scroll->setBackgroundRole(QPalette::Dark);
    m_scroll->setWidget(m_view);
    m_scroll->viewport()->installEventFilter(this);

    m_statusBar = new QStatusBar(this);
    m_statusBar->setSizeGripEnabled(false);
    m_pageLabel = new QLabel(this);
    m_pageLabel->setMinimumWidth(Appearance::scaled(140));
    m_progressLabel = new QLabel(this);
    m_statusBar->addWidget(m_pageLabel);
    m_statusBar->addWidget(m_progressLabel, 1);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_toolBar);
    layout->addWidget(m_scroll, 1);
    layout->addWidget(m_statusBar);

    if (const QScreen *screen = QGuiApplication::primaryScreen())
        resize(screen->availableGeometry().size() * 0.8);
    else
        resize(Appearance::scaled(QSize(900, 700)));
    updateView();
}

PrintPreview::~PrintPreview() = default;

QAction *PrintPreview::addCommand(Command command, const QString &text, const QString &tip, int icon)
{
    auto *act = new QAction(text.isEmpty() ? tip : text, this);
    act->setToolTip(tip);
    if (icon >= 0)
        act->setIcon(style()->standardIcon(QStyle::StandardPixmap(icon)));
    m_toolBar->addAction(act);
    if (text.isEmpty())
        if (QWidget *button = m_toolBar->widgetForAction(act))
            static_cast<QToolButton *>(button)->setToolButtonStyle(Qt::ToolButtonIconOnly);
    m_actions << act;
    if (command == Command::ZoomWholePage || command == Command::ZoomActual || command == Command::ZoomPageWidth) {
        act->setCheckable(true);
        m_zoomGroup->addAction(act);
    }
    // Printing and saving run the report again, whose handlers may reach the
    // database: every command goes through the error guard.
    connectGuarded(act, &QAction::triggered, this, handlerOf(command));
    return act;
}

std::function<void()> PrintPreview::handlerOf(Command command)
{
    switch (command) {
    case Command::ZoomWholePage:
        return [this] { setZoom(Zoom::WholePage); };
    case Command::ZoomActual:
        return [this] { setZoom(Zoom::Actual); };
    case Command::ZoomPageWidth:
        return [this] { setZoom(Zoom::PageWidth); };
    case Command::First:
        return [this] { setCurrentPage(0); };
    case Command::Previous:
        return [this] { setCurrentPage(m_page - 1); };
    case Command::Next:
        return [this] { setCurrentPage(m_page + 1); };
    case Command::Last:
        return [this] { setCurrentPage(pageCount() - 1); };
    case Command::Setup:
        return [this] { setupPrinter(); };
    case Command::Print:
        return [this] { print(); };
    case Command::Save:
        return [this] { save(); };
    case Command::Load:
        return [this] { load(); };
    case Command::Close:
        return [this] { reject(); };
    }
    return {};
}

QAction *PrintPreview::action(Command command) const
{
    return m_actions.value(int(command));
}

void PrintPreview::layOut()
{
    m_laidOut = false;
    updateView();
    // The report outlives this window: its own progress handler is put back
    // whatever happens, a run that fails included.
    const std::function<void(int)> previous = m_report->onProgress;
    const auto restore = qScopeGuard([this, previous] {
        m_report->onProgress = previous;
        m_progressLabel->clear();
    });
    m_report->onProgress = [this, previous](int percent) {
        m_progressLabel->setText(QStringLiteral("Gerando páginas: %1 %").arg(percent));
        if (previous)
            previous(percent);
    };
    m_progressLabel->setText(QStringLiteral("Gerando páginas: 0 %"));
    ReportRun run = m_report->run();
    m_fromFile = false;
    setRun(std::move(run));
}

void PrintPreview::setRun(ReportRun run)
{
    m_run = std::move(run);
    m_laidOut = true;
    m_page = 0;
    updateView();
}

bool PrintPreview::openFile(const QString &path)
{
    ReportRun loaded;
    if (!loaded.load(path))
        return false;
    m_fromFile = true;
    setRun(std::move(loaded));
    return true;
}

void PrintPreview::setCurrentPage(int page)
{
    page = qBound(0, page, qMax(0, pageCount() - 1));
    if (page == m_page)
        return;
    m_page = page;
    updateView();
    m_scroll->verticalScrollBar()->setValue(0);
}

void PrintPreview::setZoom(Zoom zoom)
{
    m_zoom = zoom;
    action(zoom == Zoom::WholePage ? Command::ZoomWholePage
           : zoom == Zoom::Actual  ? Command::ZoomActual
                                   : Command::ZoomPageWidth)
        ->setChecked(true);
    // Fitted zooms never scroll sideways: a bar appearing would change the fit again.
    m_scroll->setHorizontalScrollBarPolicy(zoom == Zoom::Actual ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    updateView();
}

qreal PrintPreview::scale() const
{
    const QSize page = m_laidOut ? m_run.pageSize() : QSize(m_report->pageWidth, m_report->pageHeight);
    const QSize area = m_scroll->viewport()->size();
    const qreal width = area.width() - 2 * Border - Shadow;
    const qreal height = area.height() - 2 * Border - Shadow;
    switch (m_zoom) {
    case Zoom::WholePage:
        return qMax(0.01, qMin(width / page.width(), height / page.height()));
    case Zoom::PageWidth: {
        // Leave room for the vertical scroll bar that the taller page brings.
        const int bar = m_scroll->verticalScrollBar()->isVisible()
                            ? 0 : style()->pixelMetric(QStyle::PM_ScrollBarExtent);
        return qMax(0.01, (width - bar) / page.width());
    }
    case Zoom::Actual:
        break;
    }
    return logicalDpiX() / 254.0;
}

QString PrintPreview::pageText() const
{
    return m_laidOut ? QStringLiteral("Page %1 of %2").arg(m_page + 1).arg(pageCount()) : QString();
}

QString PrintPreview::progressText() const
{
    return m_progressLabel->text();
}

void PrintPreview::updateView()
{
    const bool hasPages = m_laidOut && pageCount() > 0;
    const QSize pageSize = m_laidOut ? m_run.pageSize() : QSize(m_report->pageWidth, m_report->pageHeight);
    m_view->show(hasPages ? &m_run.pages().at(m_page) : nullptr, &m_run.images(), pageSize, scale());
    m_pageLabel->setText(pageText());
    action(Command::First)->setEnabled(hasPages && m_page > 0);
    action(Command::Previous)->setEnabled(hasPages && m_page > 0);
    action(Command::Next)->setEnabled(hasPages && m_page < pageCount() - 1);
    action(Command::Last)->setEnabled(hasPages && m_page < pageCount() - 1);
    action(Command::Setup)->setEnabled(m_laidOut);
    action(Command::Print)->setEnabled(m_laidOut);
    action(Command::Save)->setEnabled(m_laidOut);
    action(Command::Load)->setEnabled(m_laidOut);
}

bool PrintPreview::savePdf(const QString &path) const
{
    return m_laidOut && writePdf(path, m_run);
}

bool PrintPreview::saveAs(const QString &path) const
{
    if (path.endsWith(QLatin1Char('.') + ReportRun::fileSuffix(), Qt::CaseInsensitive))
        return m_laidOut && m_run.save(path);
    return savePdf(path);
}

void PrintPreview::keyPressEvent(QKeyEvent *event)
{
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    switch (event->key()) {
    case Qt::Key_PageUp:
        setCurrentPage(ctrl ? 0 : m_page - 1);
        break;
    case Qt::Key_PageDown:
        setCurrentPage(ctrl ? pageCount() - 1 : m_page + 1);
        break;
    case Qt::Key_Home:
        setCurrentPage(0);
        break;
    case Qt::Key_End:
        setCurrentPage(pageCount() - 1);
        break;
    default:
        QDialog::keyPressEvent(event); // Esc closes
        return;
    }
    event->accept();
}

void PrintPreview::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!m_centred) {
        m_centred = true;
        FormKit::centreOnScreen(this);
    }
}

bool PrintPreview::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_scroll->viewport() && event->type() == QEvent::Resize && m_zoom != Zoom::Actual)
        updateView();
    return QDialog::eventFilter(watched, event);
}

void PrintPreview::setupPrinter()
{
    if (!m_laidOut)
        return;
    QPrintDialog dialog(&m_printer, this);
    dialog.setWindowTitle(QStringLiteral("Configurar impressão"));
    dialog.setOptions(QAbstractPrintDialog::PrintPageRange | QAbstractPrintDialog::PrintShowPageSize);
    dialog.setMinMax(1, qMax(1, pageCount()));
    dialog.exec(); // the choices stay on m_printer for the next print
}

namespace {
const QString PdfFilter = QStringLiteral("Documentos PDF (*.pdf)");
const QString ReportFilter = QStringLiteral("Relatórios Kelmara (*.krl)");

// The chosen name, with the extension of the chosen kind when it has none.
QString withSuffix(QString path, const QString &filter)
{
    const QString suffix = filter == ReportFilter ? QStringLiteral(".krl") : QStringLiteral(".pdf");
    if (!path.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive)
        && !path.endsWith(QStringLiteral(".krl"), Qt::CaseInsensitive))
        path += suffix;
    return path;
}
} // namespace

void PrintPreview::print()
{
    if (!m_laidOut)
        return;
    if (QPrinterInfo::availablePrinters().isEmpty()) {
        // No printer installed: the report goes to a PDF file instead.
        const QString chosen = QFileDialog::getSaveFileName(this, QStringLiteral("Imprimir em arquivo PDF"),
                                                            QString(), PdfFilter);
        if (chosen.isEmpty())
            return;
        const QString path = withSuffix(chosen, PdfFilter);
        if (!writePdf(path, m_fromFile ? m_run : m_report->run()))
            Messages::error(QStringLiteral("Não foi possível gravar o arquivo %1.").arg(path));
        return;
    }
    const bool printed = m_fromFile ? printRun(m_printer, m_run) : m_report->print(m_printer);
    if (!printed)
        Messages::error(QStringLiteral("Não foi possível imprimir o relatório."));
}

void PrintPreview::save()
{
    if (!m_laidOut)
        return;
    QString filter = PdfFilter;
    const QString chosen = QFileDialog::getSaveFileName(this, QStringLiteral("Salvar relatório"), QString(),
                                                        PdfFilter + QStringLiteral(";;") + ReportFilter, &filter);
    if (chosen.isEmpty())
        return;
    const QString path = withSuffix(chosen, filter);
    if (!saveAs(path))
        Messages::error(QStringLiteral("Não foi possível gravar o arquivo %1.").arg(path));
}

void PrintPreview::load()
{
    const QString path = QFileDialog::getOpenFileName(this, QStringLiteral("Abrir relatório"), QString(),
                                                      ReportFilter);
    if (!path.isEmpty() && !openFile(path))
        Messages::error(QStringLiteral("O arquivo %1 não é um relatório do Kelmara ou está danificado.").arg(path));
}
