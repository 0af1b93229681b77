#include "Messages.h"

#include <QAbstractButton>
#include <QApplication>
#include <QInputDialog>
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

std::optional<QString> typedAnswer(const QString &text)
{
    if (g_recorder) {
        record(Shown::TypedAnswer, kApplicationTitle, text);
        return g_recorder->typed.isEmpty() ? std::nullopt : g_recorder->typed.takeFirst();
    }
    QInputDialog box(parentWindow());
    box.setWindowTitle(kApplicationTitle);
    box.setLabelText(text);
    box.setOption(QInputDialog::UsePlainTextEditForTextInput);
    box.setOkButtonText(QStringLiteral("OK"));
    box.setCancelButtonText(QStringLiteral("Cancelar"));
    if (box.exec() != QDialog::Accepted)
        return std::nullopt;
    return box.textValue();
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
