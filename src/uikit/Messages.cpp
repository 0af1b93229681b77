#include "Messages.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>

namespace Messages {

namespace {

Recorder *g_recorder = nullptr;

bool record(Shown::Kind kind, const QString &caption, const QString &text)
{
    g_recorder->shown.push_back({kind, caption, text});
    if (kind != Shown::Question)
        return true;
    if (!g_recorder->answers.isEmpty())
        return g_recorder->answers.takeFirst();
    return g_recorder->defaultAnswer;
}

QWidget *parentWindow()
{
    return QApplication::activeModalWidget() ? QApplication::activeModalWidget() : QApplication::activeWindow();
}

// A box with only "OK", under the program's title; recorded instead of shown in tests.
void tell(Shown::Kind kind, QMessageBox::Icon icon, const QString &text)
{
    if (g_recorder) {
        record(kind, kApplicationTitle, text);
        return;
    }
    QMessageBox box(icon, kApplicationTitle, text, QMessageBox::Ok, parentWindow());
    box.exec();
}

} // namespace

void information(const QString &text)
{
    tell(Shown::Information, QMessageBox::NoIcon, text);
}

bool question(const QString &text)
{
    if (g_recorder)
        return record(Shown::Question, kQuestionCaption, text);
    QMessageBox box(QMessageBox::Question, kQuestionCaption, text, QMessageBox::Yes | QMessageBox::No,
                    parentWindow());
    box.setDefaultButton(QMessageBox::No);
    box.button(QMessageBox::Yes)->setText(QStringLiteral("&Sim"));
    box.button(QMessageBox::No)->setText(QStringLiteral("&Não"));
    return box.exec() == QMessageBox::Yes;
}

void error(const QString &text)
{
    tell(Shown::Error, QMessageBox::Critical, text);
}

Recorder::Recorder()
{
    g_recorder = this;
}

Recorder::~Recorder()
{
    if (g_recorder == this)
        g_recorder = nullptr;
}

QStringList Recorder::texts() const
{
    QStringList list;
    for (const Shown &s : shown)
        list << s.text;
    return list;
}

} // namespace Messages
