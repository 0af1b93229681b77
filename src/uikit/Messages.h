#pragma once

#include <QList>
#include <QString>

#include <optional>

// The program's message boxes, all in one place:
//  - information: caption "KELMARA", one OK button, no icon;
//  - question: caption "Atenção", Yes and No, question icon, No the default;
//  - error: the standard error box, caption "KELMARA", error icon, OK;
//  - a typed answer: caption "KELMARA", a box of several lines, OK and Cancel.
// Tests install a Recorder, which records every box and answers questions,
// so no test ever waits on a modal box.
namespace Messages {

inline const QString kApplicationTitle = QStringLiteral("KELMARA");
inline const QString kQuestionCaption = QStringLiteral("Atenção");

void information(const QString &text);
bool question(const QString &text); // true for Yes
void error(const QString &text);
// What the user typed below `text`; none when cancelled.
std::optional<QString> typedAnswer(const QString &text);

struct Shown
{
    enum Kind { Information, Question, Error, TypedAnswer };
    Kind kind;
    QString caption;
    QString text;
};

class Recorder
{
public:
    Recorder();
    ~Recorder();
    Recorder(const Recorder &) = delete;
    Recorder &operator=(const Recorder &) = delete;

    QList<Shown> shown;
    QList<bool> answers;       // answers to the next questions, in order
    bool defaultAnswer = false; // once `answers` is used up
    QList<std::optional<QString>> typed; // what is typed into the next boxes asking for it; cancelled once used up

    QStringList texts() const;
    void clear() { shown.clear(); }
};

} // namespace Messages
