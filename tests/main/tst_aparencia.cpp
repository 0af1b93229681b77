// "Aparência": the text size of every window, kept for this computer and
// user, and every window laid out whole at each size.
#include "RegisterFixture.h"

#include "main/UAparencia.h"
#include "main/UMenu.h"
#include "registers/UCargo.h"
#include "reports/cadastros/UFEvento.h"
#include "reports/cadastros/UFMembro.h"
#include "signin/UTrocaSenha.h"
#include "uikit/Appearance.h"

#include <QAbstractButton>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QStyle>
#include <QTabWidget>
#include <QToolButton>
#include <QtTest>

using Appearance::TextSize;

namespace {

// The screen the windows must fit on whole: full HD, less a task bar.
const QSize kScreen(1920, 1040);

QString nameOf(const QWidget *w)
{
    return QStringLiteral("%1 %2 \"%3\"")
        .arg(w->window()->objectName(), w->objectName().isEmpty() ? w->metaObject()->className() : w->objectName(),
             qobject_cast<const QLabel *>(w)         ? qobject_cast<const QLabel *>(w)->text()
             : qobject_cast<const QAbstractButton *>(w) ? qobject_cast<const QAbstractButton *>(w)->text()
                                                         : QString());
}

// What a user would find cut: a caption wider than its label or button, a
// control reaching out of its window, a window larger than the screen.
QStringList clipped(QWidget *window)
{
    QCoreApplication::processEvents();
    QStringList problems;
    if (window->width() > kScreen.width() || window->height() > kScreen.height())
        problems << QStringLiteral("%1: %2x%3, maior que a tela")
                        .arg(window->objectName())
                        .arg(window->width())
                        .arg(window->height());
    for (QWidget *w : window->findChildren<QWidget *>()) {
        if (!w->isVisibleTo(window) || w->window() != window)
            continue;
        const QRect inWindow(w->mapTo(window, QPoint(0, 0)), w->size());
        if (!window->rect().contains(inWindow))
            problems << nameOf(w) + QStringLiteral(" fora da janela");
        QString text;
        int room = 0;
        if (const auto *label = qobject_cast<QLabel *>(w); label && !label->wordWrap()) {
            text = label->text();
            room = label->contentsRect().width();
        } else if (const auto *button = qobject_cast<QToolButton *>(w)) {
            text = button->text();
            room = button->width() - 4;
        } else if (const auto *push = qobject_cast<QPushButton *>(w)) {
            text = push->text();
            room = push->width() - 8;
        } else if (const auto *choice = qobject_cast<QAbstractButton *>(w)) { // a radio button, a check box
            const bool radio = qobject_cast<const QRadioButton *>(w);
            text = choice->text();
            room = choice->width()
                - w->style()->pixelMetric(radio ? QStyle::PM_ExclusiveIndicatorWidth : QStyle::PM_IndicatorWidth)
                - w->style()->pixelMetric(radio ? QStyle::PM_RadioButtonLabelSpacing : QStyle::PM_CheckBoxLabelSpacing);
        }
        text.remove(u'&');
        if (!text.isEmpty() && w->fontMetrics().horizontalAdvance(text) > room)
            problems << nameOf(w) + QStringLiteral(" cortado");
    }
    return problems;
}

// Every page of a register; the window as it is otherwise.
QStringList clippedPages(QWidget *window)
{
    auto *pages = window->findChild<QTabWidget *>(QStringLiteral("PageControl1"));
    if (!pages)
        return clipped(window);
    QStringList problems;
    for (int page = 0; page < pages->count(); ++page) {
        pages->setCurrentIndex(page);
        problems += clipped(window);
    }
    return problems;
}

} // namespace

class TestAparencia : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        setUpTestProgram();
        QStandardPaths::setTestModeEnabled(true); // the settings of a test user
        QCoreApplication::setOrganizationName(QStringLiteral("Kelmara"));
        QCoreApplication::setApplicationName(QStringLiteral("KELMARA-testes"));
        QSettings().clear();
    }
    void cleanup() { Appearance::apply(TextSize::Normal); }

    void everyWindowIsWholeAtEverySize_data()
    {
        QTest::addColumn<TextSize>("size");
        QTest::newRow("Normal") << TextSize::Normal;
        QTest::newRow("Grande") << TextSize::Large;
        QTest::newRow("Muito grande") << TextSize::VeryLarge;
    }

    void everyWindowIsWholeAtEverySize()
    {
        QFETCH(TextSize, size);
        Appearance::apply(size);
        SignedInProgram p;
        QStringList problems;
        const auto check = [&problems](QWidget *w) { problems += clippedPages(w); };
        p.login->show();
        check(p.login.get());
        p.menu->resize(kScreen);
        p.menu->show();
        check(p.menu);
        check(p.open<TFTrocaSenha>().get());
        check(p.open<TFFMembro>().get()); // the filters the registers open
        check(p.open<TFFEvento>().get());
        int opened = 0; // and every window of the main window's commands
        for (const MenuCommand &command : p.menu->commands()) {
            if (command.window.isEmpty() || !command.action->isVisible())
                continue;
            whenModalOpens([&](QWidget *modal) {
                check(modal);
                ++opened;
                modal->close();
            });
            command.action->trigger();
        }
        QVERIFY(opened >= 15);
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join(u'\n')));
    }

    // Chosen under Configurações, kept for this computer and user, and
    // followed at once: the application's font, the main window, and the
    // fixed sizes of the windows opened after.
    void theChoiceIsKeptAndFollowedAtOnce()
    {
        SignedInProgram p;
        p.menu->show();
        const qreal normalPoints = QApplication::font().pointSizeF();
        QVERIFY(p.menu->Configuraes1->actions().contains(p.menu->Aparencia1));
        whenModalOpens([](QWidget *modal) {
            auto *w = qobject_cast<TFAparencia *>(modal);
            QVERIFY(w && w->rbNormal->isChecked());
            QCOMPARE(w->windowTitle(), QString("Aparência"));
            QCOMPARE(w->rbMuitoGrande->text(), QString("Muito grande"));
            QVERIFY(w->rbMuitoGrande->font().pointSizeF() > w->rbNormal->font().pointSizeF());
            w->rbMuitoGrande->click();
            w->btnSalvar->click();
        });
        p.menu->Aparencia1->trigger();
        QCOMPARE(Appearance::stored(), TextSize::VeryLarge);
        QCOMPARE(QSettings().value("aparencia/tamanhoDaLetra").toString(), QString("Muito grande"));
        QCOMPARE(QApplication::font().pointSizeF(), normalPoints * 1.5);
        QCoreApplication::processEvents(); // the font's change reaches the windows
        QCOMPARE(p.menu->SpeedButton1->height(), 96);
        QCOMPARE(p.open<TFCargo>()->btnNovo->size(), QSize(144, 78));
        Appearance::store(TextSize::Normal);
        QCOMPARE(Appearance::stored(), TextSize::Normal);
    }
};

QTEST_MAIN(TestAparencia)
#include "tst_aparencia.moc"
