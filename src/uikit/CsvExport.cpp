#include "CsvExport.h"

#include "dataset/DbError.h"

#include <QDate>
#include <QDir>
#include <QSaveFile>

namespace {

// Texts that a spreadsheet reads as the start of a formula.
bool looksLikeFormula(const QString &text)
{
    static const QString starts = QStringLiteral("=+-@\t\r");
    return !text.isEmpty() && starts.contains(text.front());
}

QString quotedIfNeeded(QString text)
{
    if (!text.contains(u';') && !text.contains(u'"') && !text.contains(u'\n') && !text.contains(u'\r'))
        return text;
    text.replace(u'"', QStringLiteral("\"\""));
    return u'"' + text + u'"';
}

QByteArray line(const QStringList &fields)
{
    return (fields.join(u';') + QStringLiteral("\r\n")).toUtf8();
}

DbError failure(const QString &path, const QString &reason)
{
    return DbError(QStringLiteral("Não foi possível salvar a planilha \"%1\": %2\nNenhum arquivo foi gravado.")
                       .arg(path, reason));
}

void flush(QSaveFile &file, QByteArray &pending, const QString &path)
{
    if (file.write(pending) != pending.size())
        throw failure(path, file.errorString());
    pending.clear();
}

} // namespace

namespace CsvExport {

QString field(const QVariant &value)
{
    if (value.isNull())
        return QString();
    switch (value.typeId()) {
    case QMetaType::QDate:
        return value.toDate().toString(QStringLiteral("dd/MM/yyyy"));
    case QMetaType::Double:
    case QMetaType::Float:
        return QString::number(value.toDouble(), 'f', 2).replace(u'.', u',');
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::Short:
        return QString::number(value.toLongLong());
    default: {
        const QString text = value.toString();
        return quotedIfNeeded(looksLikeFormula(text) ? u'\'' + text : text);
    }
    }
}

void write(const QString &path, const QStringList &titles, int rowCount,
           const std::function<QVariantList(int row)> &cells)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw failure(path, file.errorString());
    QStringList header;
    for (const QString &title : titles)
        header << field(title);
    QByteArray pending = QByteArrayLiteral("\xEF\xBB\xBF") + line(header);
    for (int row = 0; row < rowCount; ++row) {
        QStringList fields;
        for (const QVariant &value : cells(row))
            fields << field(value);
        pending += line(fields);
        if (pending.size() >= 64 * 1024)
            flush(file, pending, path);
    }
    flush(file, pending, path);
    if (!file.commit())
        throw failure(path, file.errorString());
}

QString saved(const QString &path, int rowCount)
{
    return QStringLiteral("Planilha salva em \"%1\": %2.")
        .arg(QDir::toNativeSeparators(path),
             rowCount == 1 ? QStringLiteral("1 registro") : QStringLiteral("%1 registros").arg(rowCount));
}

} // namespace CsvExport
