#pragma once

#include <QString>
#include <QStringView>

namespace velreader {

// The library's accent decomposition: Latin letters written as a plain
// letter followed by a mark ("e^", "c,", "ae&") inside "〔...〕".

// True when the text between "〔" and "〕" is Latin text the decomposition
// applies to: at least one ASCII letter and no Japanese character. Other
// "〔...〕" (a note in Japanese) are ordinary brackets.
bool isAccentSpan(QStringView inside);

// The text with every decomposed letter of the library's accent table made
// the accented letter: ' acute, ` grave, ^ circumflex, ~ tilde, : diaeresis,
// & ring above, , cedilla, / stroke, _ macron, and the ligatures s& ß,
// ae& æ, AE& Æ, oe& œ, OE& Œ. A mark that is also punctuation stays
// punctuation where the text means it so: a "," or ":" before a space, an
// apostrophe of elision between a consonant (or "qu") and a vowel or "h"
// ("n'e^tes", "qu'il", "l'homme"), and "n't".
QString composeAccents(QStringView inside);

}  // namespace velreader
