#pragma once

#include <QString>
#include <exception>

// The one exception type of the data layer. It carries the text that the
// error box shows; the handler wrapper catches it so that no exception ever
// crosses the Qt event loop.
class DbError : public std::exception
{
public:
    // Refusals a window may word in its own terms.
    enum class Reason { Other, DuplicateKey };

    explicit DbError(QString text, Reason reason = Reason::Other, QString engineText = {})
        : m_text(std::move(text)), m_utf8(m_text.toUtf8()), m_reason(reason), m_engineText(std::move(engineText))
    {
    }
    const QString &text() const { return m_text; }
    const char *what() const noexcept override { return m_utf8.constData(); }
    Reason reason() const { return m_reason; }
    // The database's own text, when the error came from it.
    const QString &engineText() const { return m_engineText; }

private:
    QString m_text;
    QByteArray m_utf8;
    Reason m_reason;
    QString m_engineText;
};

// A message of ours followed by the database's own text.
QString withEngineText(const QString &message, const QString &engineText);
