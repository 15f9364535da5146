#pragma once

#include <QByteArray>

// Why this exists: Qt's PDF writer tells a reader which letters each glyph stands for (a font's
// /ToUnicode map) by looking the glyph up in the font's own character map. A Persian letter
// joined to its neighbours is drawn with a contextual glyph, and fonts list those glyphs under
// the Arabic presentation forms (U+FB50-U+FDFF, U+FE70-U+FEFF), so a reader copying or searching
// the PDF's text gets those code points instead of the letters the program stored, and finds no
// name typed on a keyboard.
//
// pdfWithBaseLetters() returns `pdf` as Qt's writer made it with an incremental update appended:
// each /ToUnicode map that names a presentation form again, with that form replaced by its
// compatibility decomposition (a lam-alef ligature by its two letters). Nothing Qt wrote is
// changed, so the pages look exactly as before. A PDF it does not understand, or one with no such
// map, comes back unchanged.
QByteArray pdfWithBaseLetters(const QByteArray& pdf);
