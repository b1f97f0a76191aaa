#pragma once

#include <functional>
#include <optional>

#include <QString>
#include <QStringList>
#include <QTextBoundaryFinder>

namespace velreader {

// Width of a chunk and of a page row, in UTF-16 units (a grapheme cluster
// counts by its units).
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
// paragraph into chunks of at most 30 units (never inside a grapheme
// cluster), joins the chunks with "△", cuts before the first run of seven
// "△" and splits at every "△". Texts of any length are read.
//
// A long text is read in steps: `between`, when given, is called after each
// and stops the reading when it returns false (the result is then partial).
Reading readText(const QString& text, const std::function<bool()>& between = {});

// Cuts one text into pieces of at most a given width in UTF-16 units. A cut
// never falls inside a grapheme cluster (a letter with its combining marks,
// an emoji sequence, a flag): the cluster goes whole into the next piece.
// Only a cluster longer than the whole width is cut, and then never between
// the two halves of a surrogate pair. The text must outlive the cutter.
class Cutter {
public:
    explicit Cutter(QStringView text);
    // The length of the piece that starts at `from`.
    qsizetype pieceLength(qsizetype from, qsizetype width);

private:
    QStringView m_text;
    std::optional<QTextBoundaryFinder> m_finder;  // made when a cut needs it
};

// The length of the piece of `text` that starts at `from`, as Cutter cuts.
qsizetype pieceLength(QStringView text, qsizetype from, qsizetype width);

// The page rows of one display line: one row up to 30 units, two up to 60,
// else three, the third holding the rest of the line.
QStringList pageRows(const QString& line);

// Replaces every lone LF by CR LF: text boxes hold LF, the reader works on CR LF.
QString toCrLf(const QString& text);
// Replaces every CR LF by LF, for showing a text in a text box.
QString toLf(const QString& text);

}  // namespace velreader
