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

// The database's own message for a failed statement or connection.
inline DbError dbErrorFrom(const QSqlError &error)
{
    QString text = error.databaseText().trimmed();
    if (text.isEmpty())
        text = error.text().trimmed();
    return DbError(text);
}
