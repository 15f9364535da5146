#pragma once
// The search key of a text: what a Persian user means by it, without the differences the eye
// does not see. Arabic yeh, alef maksura and yeh barree are the Persian yeh; Arabic kaf is
// keheh; teh marbuta, heh with yeh above and heh goal are heh; alef with hamza or madda is alef
// (and yeh or waw with hamza above their plain letter); Persian and Arabic-Indic digits are
// ASCII digits; Latin letters are case-folded; blanks, zero-width and other invisible
// characters, tatweel and the Arabic diacritics (hamza above and below included) are dropped.
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <string>

// The search key as text (for tests and for the typed needle).
QString searchKey(QStringView text);
// Appends the search key of `text` to `out` in UTF-8; the grid filter keeps its index this way.
void appendSearchKey(QStringView text, std::string& out);
// The same for a text in UTF-8, as the store hands it over: the key of the decoded text, without
// decoding it into a QString first (bytes that are not UTF-8 are read as QString reads them).
void appendSearchKey(QByteArrayView utf8, std::string& out);
