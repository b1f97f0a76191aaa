#pragma once

#include <QString>
#include <QStringList>

namespace velreader {

// Width of a chunk and of a page row, in UTF-16 units.
inline constexpr int ChunkWidth = 30;
// Joins and splits the chunk list; a "△" in the user's text breaks a line too.
inline constexpr char16_t Separator = u'△';

// The steps of a reading, from the text box's text (CR LF line breaks) to the
// display lines.
struct Reading {
    QString sourceText;        // the text after trimming and blank-line folding
    QStringList chunks;        // the 30-unit pieces of every non-empty paragraph
    QStringList displayLines;  // the lines to play, followed by one empty entry
};

// Reads `text` into display lines: appends CR LF, trims spaces at both ends,
// folds every CR LF CR LF into one CR LF (one pass, left to right), cuts every
// paragraph into chunks of at most 30 units (never between the two halves of
// a surrogate pair), joins the chunks with "△", cuts before the first run of
// seven "△" and splits at every "△". There is no limit on the text's length.
Reading readText(const QString& text);

// Cuts `text` at `from` into a piece of at most `width` units; a surrogate
// pair that would be cut apart goes whole into the next piece. Returns the
// length of the piece.
qsizetype pieceLength(QStringView text, qsizetype from, qsizetype width);

// The page rows of one display line: one row up to 30 units, two up to 60,
// else three, the third holding the rest of the line.
QStringList pageRows(const QString& line);

// Replaces every lone LF by CR LF: text boxes hold LF, the reader works on CR LF.
QString toCrLf(const QString& text);
// Replaces every CR LF by LF, for showing a text in a text box.
QString toLf(const QString& text);

}  // namespace velreader
