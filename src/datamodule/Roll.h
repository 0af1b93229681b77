#pragma once

#include "SchemaLevels.h"

#include <QStringList>

// The church's roll of members: where each member stands (situação), how
// they came in and why they left, as TMEMBRO keeps them (level 4), and the
// choices the windows and reports offer for them.
namespace Roll {

constexpr int kLevel = 4;

inline const QString kActive = QStringLiteral("ATIVO");

// Situações, the active first.
inline const QStringList kSituations{kActive, QStringLiteral("AFASTADO"), QStringLiteral("TRANSFERIDO"),
                                     QStringLiteral("FALECIDO"), QStringLiteral("DESLIGADO")};
// Formas de admissão.
inline const QStringList kAdmissions{QStringLiteral("BATISMO"), QStringLiteral("TRANSFERÊNCIA"),
                                     QStringLiteral("ACLAMAÇÃO"), QStringLiteral("RECONCILIAÇÃO")};
// Motivos da saída.
inline const QStringList kExits{QStringLiteral("TRANSFERÊNCIA"), QStringLiteral("FALECIMENTO"),
                                QStringLiteral("A PEDIDO"), QStringLiteral("EXCLUSÃO")};

// The roll's history keeps itself: a trigger of TMEMBRO adds a row of TROL,
// in the statement that saves the member, for each change of the situação
// (from one to another; a member's first one when included), of the
// admission and of the exit, dated the day of the admission or exit (of the
// change, for a situação), with the church of origin or destination as its
// note. So no workstation and no tool changes a member's place on the roll
// without its row.
QList<SchemaLevels::SchemaObject> schemaObjects(int level);

} // namespace Roll
