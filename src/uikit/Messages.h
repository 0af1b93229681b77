#pragma once

#include <QList>
#include <QString>

// The program's message boxes, all in one place:
//  - information: caption "KELMARA", one OK button, no icon;
//  - question: caption "Atenção", Yes and No, question icon, No the default;
//  - error: the standard error box, caption "KELMARA", error icon, OK.
// Tests install a Recorder, which records every box and answers questions,
// so no test ever waits on a modal box.
namespace Messages {

inline const QString kApplicationTitle = QStringLiteral("KELMARA");
inline const QString kQuestionCaption = QStringLiteral("Atenção");

void information(const QString &text);
bool question(const QString &text); // true for Yes
void error(const QString &text);

struct Shown
{
    enum Kind { Information, Question, Error };
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

    QStringList texts() const;
    void clear() { shown.clear(); }
};

} // namespace Messages
