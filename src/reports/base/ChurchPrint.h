#pragma once

#include "datamodule/ParameterCodes.h"

#include <QDate>
#include <QList>
#include <QString>

#include <QRect>

class Band;
class LabelElement;
class Report;

// A line to sign on for one of the church's officers kept in "Dados da
// Igreja": the officer's name below it and the role.
struct Signature
{
    int code; // ParameterCode of the name
    const char *role;
};

// What the church's own papers share: the church's data at the head of a
// page, the officers' lines to sign on, dates written out.
namespace ChurchPrint {

inline const QList<Signature> kOfficers = {{ParameterCode::Treasurer, "Tesoureiro(a)"},
                                           {ParameterCode::Pastor, "Pastor(a) ou presidente"}};
inline const QList<Signature> kFiscalCouncil = {{ParameterCode::FiscalCouncil1, "Conselho fiscal"},
                                                {ParameterCode::FiscalCouncil2, "Conselho fiscal"},
                                                {ParameterCode::FiscalCouncil3, "Conselho fiscal"}};

// The church's name (txtNomeDaIgreja), CNPJ (txtCNPJ) and address with city
// (txtEndereco), centred across `width` from `top`, each element name
// followed by `suffix`; the height they take.
int addHeading(Band *band, int top, int width, const QString &suffix = {});
// Puts the stored data into every heading of `report`.
void fillHeading(Report *report);

// The lines side by side across the band (`width` wide) at `top`, each
// with its name label "txtAssinatura<code>" and its role, in `points`.
void addSignatures(Band *band, int top, const QList<Signature> &signatures, qreal points = 11, int width = 1900);
// Puts the stored names under every line of `report` (a line to fill when a
// name is not stored).
void fillSignatures(Report *report, const QList<Signature> &signatures);

// A black label in `points`, bold or not, of the church's papers.
LabelElement *text(Band *band, const QString &name, const QRect &rect, qreal points, bool bold,
                   Qt::Alignment alignment = Qt::AlignLeft, const QString &caption = {});

// "1º de janeiro de 2011", "15 de maio de 2011".
QString longDate(const QDate &date);

} // namespace ChurchPrint
