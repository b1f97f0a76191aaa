#pragma once

#include <QString>
#include <QStringList>

// What a program could not show its user because it was told to stop (a
// session ending): the problems of its last close, kept in a small UTF-8
// file of one line each, "stop-problems.txt" in the folder where the
// program keeps its files, and shown by the next start.
namespace common {

inline constexpr char StopNotesFileName[] = "stop-problems.txt";

// Adds `line` to the notes in `folder` (made when missing). False when it
// cannot be written (then only stderr has it).
bool keepStopNote(const QString& folder, const QString& line);

// The notes of the last run, oldest first; the file is removed.
QStringList takeStopNotes(const QString& folder);

}  // namespace common
