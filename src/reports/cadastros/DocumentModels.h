#pragma once

#include <QDate>
#include <QHash>
#include <QList>
#include <QString>
#include <QVariant>

#include <optional>

// The models of the documents the church issues to a member: plain text
// with fields in braces ("{NOME} é membro da {IGREJA}"), filled from the
// member's register, the church's data ("Dados da Igreja") and what was
// asked when the document is issued. Each kind has its original model in
// the program; the secretary may keep a text of the church's own in TMODELO
// (one row per kind, MODTIPO its name), which is then used instead.
namespace DocumentModels {

enum class Kind { Transfer, Recommendation, Baptism, ChildPresentation, Membership };

const QList<Kind> &kinds();
// "Carta de Transferência": the model's and the issued document's kind as stored.
QString name(Kind kind);
std::optional<Kind> named(const QString &name);
// Certificates print on a landscape page with a border; letters on a portrait one.
bool isCertificate(Kind kind);

// A field of a model: its name in the braces and what it holds.
struct Field
{
    QString name;        // "DATA_BATISMO"
    QString description; // "data do batismo (do rol)"
};
// The fields `kind` fills: every kind's (the member, the church, the date,
// the document's number), then its own (asked when it is issued).
QList<Field> fields(Kind kind);
// The fields of `kind` that are asked when it is issued, in the order asked.
QList<Field> askedFields(Kind kind);
// Which of the asked fields are dates.
bool isDateField(const QString &name);

QString original(Kind kind);
// The slip below a transfer letter's cut line, filled with its fields.
QString returnSlip();
// The model in use: the church's own when TMODELO keeps one, else the original.
QString model(Kind kind);
// Whether the church keeps a model of its own for `kind`.
bool hasOwnModel(Kind kind);
// Keeps `text` as the church's model of `kind`, after check(); an empty
// text or the original itself removes the church's own. DbError on a
// refusal: nothing stored changes.
void store(Kind kind, const QString &text);

// The names in braces of `text`, as written (upper-cased), in order, once each.
QStringList fieldsIn(const QString &text);
// DbError naming every field of `text` that `kind` does not fill.
void check(Kind kind, const QString &text);
// `text` with every field replaced by its value in `values` (by field name);
// an empty value leaves a line to fill by hand. DbError for a field `kind`
// does not fill, as check() says.
QString fill(Kind kind, const QString &text, const QHash<QString, QString> &values);

// The values of every field that is not asked: of the member with code
// `member` (read from the members' table as stored), the church's data, the
// date `today` written out and the document's `number` ("7/2026"); then
// `asked`, by field name (a date is written out).
QHash<QString, QString> values(int member, const QDate &today, const QString &number,
                               const QHash<QString, QVariant> &asked = {});

// "15 de maio de 2011"; empty for no date.
QString written(const QDate &date);

} // namespace DocumentModels
