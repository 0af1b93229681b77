#pragma once

#include <QByteArray>

class ReportRun;

// The program's own PDF writer, fed from the same display list as the
// preview and the printer. Qt's writer shapes every text again and writes it
// glyph by glyph; a report's texts are WIN1252 (the database's character
// set), so here each text is one string of a simple TrueType font in
// WinAnsiEncoding, positioned exactly where the layout put it; of each font
// only the glyphs the document uses are embedded (a subset), unless its
// licence asks for the whole font. Returns an empty array when the run holds
// a text outside WIN1252, or a font whose tables cannot be read or whose
// licence forbids embedding: Qt's writer then does it.
QByteArray fastPdf(const ReportRun &run);
