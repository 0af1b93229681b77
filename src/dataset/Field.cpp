#include "Field.h"

#include "Dataset.h"
#include "DbError.h"
#include "Win1252.h"

#include <QFile>
#include <QLocale>

#include <cmath>

namespace {

QString cutToWidth(const QString &text, int width)
{
    return (width > 0 && text.size() > width) ? text.left(width) : text;
}

bool isBlankMaskText(const QString &text)
{
    for (QChar c : text)
        if (c.isDigit() || c.isLetter())
            return false;
    return true;
}

DbError notADate(const QString &text)
{
    return DbError(QStringLiteral("'%1' is not a valid date").arg(text));
}

// Tab and line breaks belong in texts (memos hold lines); other control
// characters come from careless pastes, show as nothing and cannot be typed again.
void refuseControlCharacters(const QString &text, const QString &columnName)
{
    for (QChar c : text)
        if (c.unicode() < 0x20 && c != u'\t' && c != u'\n' && c != u'\r')
            throw DbError(QStringLiteral("O texto do campo %1 tem um caractere de controle invisível (código %2), "
                                         "que não pode ser gravado. Apague-o e digite o texto de novo.")
                              .arg(columnName)
                              .arg(int(c.unicode())));
}

} // namespace

QDate dateFromText(const QString &text)
{
    const QString t = text.trimmed();
    for (const char *format : {"dd/MM/yyyy", "d/M/yyyy"}) {
        const QDate d = QDate::fromString(t, QLatin1String(format));
        if (d.isValid())
            return d;
    }
    throw notADate(text);
}

Field::Field(Dataset *dataset, int index, FieldDef def)
    : QObject(dataset), m_dataset(dataset), m_index(index), m_def(std::move(def))
{
}

QVariant Field::value() const
{
    return m_dataset->fieldValue(m_index);
}

int Field::asInteger() const
{
    const QVariant v = value();
    return v.isNull() ? 0 : (m_def.type == FieldType::Money ? qRound(v.toDouble()) : v.toInt());
}

double Field::asFloat() const
{
    const QVariant v = value();
    return v.isNull() ? 0.0 : v.toDouble();
}

QDate Field::asDate() const
{
    return m_def.type == FieldType::Date ? value().toDate() : QDate();
}

QByteArray Field::asBytes() const
{
    const QVariant v = value();
    return m_def.type == FieldType::Blob ? v.toByteArray() : v.toString().toUtf8();
}

QString Field::asString() const
{
    const QVariant v = value();
    if (v.isNull())
        return {};
    switch (m_def.type) {
    case FieldType::Date:
        return v.toDate().toString(QStringLiteral("dd/MM/yyyy"));
    case FieldType::Money: { // a plain number: no thousands separator
        QLocale plain;
        plain.setNumberOptions(QLocale::OmitGroupSeparator);
        return plain.toString(v.toDouble(), 'g', 15);
    }
    case FieldType::Blob:
        return QString::fromLatin1(v.toByteArray());
    default:
        return v.toString();
    }
}

QString Field::displayTextOf(const QVariant &v) const
{
    if (v.isNull())
        return {};
    switch (m_def.type) {
    case FieldType::Date:
        return QLocale().toString(v.toDate(), QLocale::ShortFormat);
    case FieldType::Money:
        return QLocale().toCurrencyString(v.toDouble());
    case FieldType::Blob:
        return QStringLiteral("(imagem)");
    case FieldType::Integer:
        return QString::number(v.toInt());
    case FieldType::Text:
        break;
    }
    return v.toString();
}

QString Field::displayText() const
{
    return displayTextOf(value());
}

QString Field::editText() const
{
    return asString();
}

QVariant Field::parsed(const QString &text) const
{
    const QString t = text.trimmed();
    switch (m_def.type) {
    case FieldType::Text:
        return text;
    case FieldType::Blob:
        return text.toUtf8();
    case FieldType::Integer: {
        if (t.isEmpty())
            return {};
        bool ok = false;
        const int n = t.toInt(&ok);
        if (!ok)
            throw DbError(QStringLiteral("'%1' não é um número inteiro válido.").arg(text));
        return n;
    }
    case FieldType::Money: {
        QString plain = t;
        plain.remove(QLocale().currencySymbol()).remove(QChar::Nbsp);
        plain = plain.trimmed();
        if (plain.isEmpty())
            return {};
        bool ok = false;
        double d = QLocale().toDouble(plain, &ok);
        if (!ok)
            d = plain.toDouble(&ok);
        if (!ok || !std::isfinite(d)) // "inf" and "nan" read as numbers, but are no amount
            throw DbError(QStringLiteral("'%1' não é um valor válido.").arg(text));
        return d;
    }
    case FieldType::Date: {
        if (isBlankMaskText(text))
            return {};
        return dateFromText(text);
    }
    }
    return {};
}

QVariant Field::normalized(const QVariant &v) const
{
    if (v.isNull() || !v.isValid())
        return {};
    if (v.typeId() == QMetaType::QString && m_def.type != FieldType::Text)
        return parsed(v.toString());
    switch (m_def.type) {
    case FieldType::Integer: {
        bool ok = false;
        const int n = v.toInt(&ok);
        if (!ok)
            throw DbError(QStringLiteral("'%1' não é um número inteiro válido.").arg(v.toString()));
        return n;
    }
    case FieldType::Money:
        return v.toDouble();
    case FieldType::Date: {
        const QDate d = v.toDate();
        if (!d.isValid())
            throw notADate(v.toString());
        return d;
    }
    case FieldType::Blob: {
        const QByteArray bytes = v.toByteArray();
        return bytes.isEmpty() ? QVariant() : QVariant(bytes);
    }
    case FieldType::Text: {
        const QString text = cutToWidth(v.toString(), m_def.size);
        if (text.isEmpty())
            return {};
        QByteArray encoded;
        QChar bad;
        if (!Win1252::encode(text, encoded, &bad))
            throw DbError(Win1252::refusal(m_def.name, bad));
        refuseControlCharacters(text, m_def.name);
        return text;
    }
    }
    return {};
}

void Field::setValue(const QVariant &v)
{
    m_dataset->setFieldValue(m_index, normalized(v));
}

void Field::setAsString(const QString &text)
{
    setValue(m_def.type == FieldType::Text ? QVariant(text) : parsed(text));
}

void Field::loadFromFile(const QString &path, const std::function<QByteArray(const QByteArray &)> &prepare)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw DbError(QStringLiteral("Não foi possível ler o arquivo \"%1\": %2")
                          .arg(path, file.errorString()));
    const QByteArray bytes = file.readAll();
    setAsBytes(prepare ? prepare(bytes) : bytes);
}
