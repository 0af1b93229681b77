#pragma once

#include <QFont>
#include <QSize>
#include <QString>

// The size of the text on screen, chosen under Configurações → "Aparência"
// and kept per computer and user (not in the database). The application's
// font grows with it, and every window's fixed pixel sizes go through
// scaled(), so a window grows without clipping a caption or a box.
namespace Appearance {

enum class TextSize { Normal, Large, VeryLarge };

// "Normal", "Grande", "Muito grande".
QString caption(TextSize size);
qreal factorOf(TextSize size); // 1, 1.25, 1.5

TextSize textSize(); // the size in use
qreal factor();
int scaled(int pixels);
QSize scaled(const QSize &pixels);
// A font of `family` in `points` at the size in use.
QFont font(const QString &family, qreal points);

// The application's font at `size`: the platform's font grown by its factor.
QFont applicationFont(TextSize size);

// The size kept for this computer and user; Normal when none is.
TextSize stored();
void store(TextSize size);
// The size in use from now on: the application's font (from the one the
// platform gave it) and the factor of the fixed sizes of windows built after.
void apply(TextSize size);

} // namespace Appearance
