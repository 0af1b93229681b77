#pragma once

#include <QString>
#include <exception>

// The one exception type of the data layer. It carries the text that the
// error box shows; the handler wrapper catches it so that no exception ever
// crosses the Qt event loop.
class DbError : public std::exception
{
public:
    explicit DbError(QString text) : m_text(std::move(text)), m_utf8(m_text.toUtf8()) {}
    const QString &text() const { return m_text; }
    const char *what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_text;
    QByteArray m_utf8;
};

#include <QSqlError>

// The message for a failed statement or connection. The refusals a user meets
// in daily work (a code another workstation took, a full disk, a read-only
// file, a character the database cannot hold) are said in Portuguese with
// what to do; the database's own text follows, for whoever looks after the
// installation. Any other failure keeps the database's text as it is.
DbError dbErrorFrom(const QSqlError &error);
// The same for the engine's own text, read through the client library.
DbError dbErrorFromEngine(const QString &engineText);
