#pragma once

#include "game/state/file_result.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <cstdint>
#include <optional>

// The two files the game keeps in its application folder: the binary save
// file "hituji.dat" and the text report "H_Score.txt".
namespace savefiles {

inline constexpr char kSaveFileName[] = "hituji.dat";
inline constexpr char kReportFileName[] = "H_Score.txt";

struct SaveData {
    int16_t SuccessCount = 0;
    int16_t BestWool = 0;
};

// The 6 bytes the game writes: SuccessCount, the type tag 2, BestWool, each
// 16-bit little-endian.
QByteArray encodeSave(const SaveData& data);

// Reads the first 6 bytes of a save file. A file shorter than that, or one
// whose type tag is not 2, is not a save of this game: nullopt.
std::optional<SaveData> decodeSave(QByteArrayView bytes);

// Reads "hituji.dat" at `path`. A missing file is no error: `data` is left
// at 0 and 0 and `found` false; a file that is no valid save is treated the
// same way. Anything else that cannot be read is an error: a folder, a pipe,
// a socket or a device in its place (never opened, so nothing can block), or
// a file the system refuses.
FileResult readSave(const QString& path, SaveData& data, bool& found);

// The bytes of a save file that held `old`: the 6 bytes of `data` over its
// start, and whatever lay beyond them kept as it was.
QByteArray saveBytes(const SaveData& data, QByteArrayView old);

// What a window writes at close when the file may have been written by
// another window since this one read it at start: the successes in the
// file now (`onDisk`, nullopt when there is no valid save) plus those gained
// since the start (`now` minus `atStart`), at most 32767, and the larger of
// the two best totals. When nobody else wrote the file this is `now`.
SaveData mergedForClose(const std::optional<SaveData>& onDisk, const SaveData& atStart, const SaveData& now);

// The close's read-merge-write of the save file at `path`, under the lock
// beside it (so that windows closing at the same moment count each other's
// successes): the file as it is now, merged with this window's counts
// (mergedForClose), written as saveBytes() through a new file renamed over
// the old one, so that a failure leaves the old file whole. `merged` gets
// what was written.
FileResult writeMergedSave(const QString& path, const SaveData& atStart, const SaveData& now, SaveData& merged);

// The report's three lines in code page 932, each in double quotes and ended
// by CR LF; nothing if the encoder refuses them.
std::optional<QByteArray> encodeReport(const SaveData& data);

// Creates or replaces the report at `path` (a new file renamed over the old
// one). Anything but a regular file in its place is refused.
FileResult writeReport(const QString& path, const SaveData& data);

}  // namespace savefiles
