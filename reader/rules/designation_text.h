#pragma once

#include <QString>
#include <QStringList>

namespace velreader {

// A designation as the designation dialog holds it: the three parts a user
// chooses separately. `picture` and `colour` may each be empty.
struct DesignationParts {
    QString word;
    QString picture;  // a picture file name
    QString colour;   // one colour word, "白" to "オ"

    bool operator==(const DesignationParts&) const = default;
};

// The text a user would type for `parts`, in the typed syntax:
// "word：picture＞colour", "word：picture" or "word：＞colour".
QString composeDesignation(const DesignationParts& parts);

// Why `parts` make no usable designation, in Japanese, or an empty text when
// they do: the word is empty or holds "：" or a line break, neither a
// picture nor a colour is chosen, the picture name holds "＞", or the colour
// is not one of the eleven colour words.
QString designationProblem(const DesignationParts& parts);

// The parts of a stored designation: the picture is the entry up to its
// first "＞", the colour what follows it.
DesignationParts splitDesignation(const QString& word, const QString& entry);

// The eleven colour words in their fixed order.
QStringList colourWords();

// Why "単語指定" does nothing with the typed `text`, in Japanese, or an empty
// text when it is taken: no "：" (with a word on a half-width ":" or ">"
// typed for a full-width one), or a colour marker without a colour word.
// The reason ends with the colour words and an example.
QString designationRefusal(const QString& text);

// True for a name that can only mean a file directly inside a picture
// folder: not empty, no folder separator, not "." or "..", no NUL character.
bool isPlainFileName(const QString& name);

}  // namespace velreader
