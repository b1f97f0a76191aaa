#include "game/services/savefiles.h"

#include "common/cp932.h"
#include "common/file_lock.h"
#include "common/fileio.h"

#include <algorithm>

namespace savefiles {
namespace {

constexpr int16_t kIntegerTag = 2;
// An old save larger than this is written over in place instead of copied.
constexpr qint64 kMaxSaveCopy = 16 * 1024 * 1024;

void putInt16(QByteArray& out, int16_t value) {
    const auto u = static_cast<uint16_t>(value);
    out.append(static_cast<char>(u & 0xFF));
    out.append(static_cast<char>(u >> 8));
}

int16_t getInt16(QByteArrayView bytes, qsizetype at) {
    const auto lo = static_cast<uint8_t>(bytes[at]);
    const auto hi = static_cast<uint8_t>(bytes[at + 1]);
    return static_cast<int16_t>(static_cast<uint16_t>(lo | (hi << 8)));
}

FileResult failure(const char* action, const QString& path, const QString& reason) {
    return {false, QStringLiteral("Cannot %1 %2: %3").arg(QLatin1String(action), path, reason)};
}

}  // namespace

QByteArray encodeSave(const SaveData& data) {
    QByteArray out;
    putInt16(out, data.SuccessCount);
    putInt16(out, kIntegerTag);
    putInt16(out, data.BestWool);
    return out;
}

std::optional<SaveData> decodeSave(QByteArrayView bytes) {
    if (bytes.size() < 6 || getInt16(bytes, 2) != kIntegerTag) return std::nullopt;
    return SaveData{getInt16(bytes, 0), getInt16(bytes, 4)};
}

FileResult readSave(const QString& path, SaveData& data, bool& found) {
    found = false;
    // Only the first six bytes matter; a folder, a pipe or a device in the
    // save's place is refused before it is opened.
    const common::ReadResult read = common::readFile(path, 6, false);
    if (read.error.kind == common::FileError::Kind::Missing) return {};
    if (!read.ok()) return failure("read", path, read.error.englishReason());
    if (const auto decoded = decodeSave(read.bytes)) {
        data = *decoded;
        found = true;
    }
    return {};
}

QByteArray saveBytes(const SaveData& data, QByteArrayView old) {
    QByteArray bytes = encodeSave(data);
    if (old.size() > bytes.size()) bytes += old.sliced(bytes.size());
    return bytes;
}

FileResult writeMergedSave(const QString& path, const SaveData& atStart, const SaveData& now, SaveData& merged) {
    const common::FileLock lock = common::FileLock::acquire(path);
    // The whole old file: its tail beyond the six bytes stays. A file too
    // large to copy (no save of this game is) is written over in place.
    const common::ReadResult old = common::readFile(path, kMaxSaveCopy);
    const bool tooLarge = old.error.kind == common::FileError::Kind::TooLarge;
    if (!old.ok() && old.error.kind != common::FileError::Kind::Missing && !tooLarge)
        return failure("read", path, old.error.englishReason());
    std::optional<SaveData> onDisk;
    if (tooLarge) {
        const common::ReadResult start = common::readFile(path, 6, false);
        if (start.ok()) onDisk = decodeSave(start.bytes);
    } else {
        onDisk = decodeSave(old.bytes);
    }
    merged = mergedForClose(onDisk, atStart, now);
    const common::FileError error = tooLarge ? common::writeOverStart(path, encodeSave(merged))
                                             : common::replaceFile(path, saveBytes(merged, old.bytes));
    if (!error.ok()) return failure("write", path, error.englishReason());
    return {};
}

SaveData mergedForClose(const std::optional<SaveData>& onDisk, const SaveData& atStart, const SaveData& now) {
    const SaveData base = onDisk.value_or(SaveData{});
    // Counts only grow in a window, so the gain is never negative.
    const int gained = std::max(0, int(now.SuccessCount) - int(atStart.SuccessCount));
    const int successes = std::clamp(int(base.SuccessCount) + gained, int(INT16_MIN), int(INT16_MAX));
    return {static_cast<int16_t>(successes), std::max(base.BestWool, now.BestWool)};
}

std::optional<QByteArray> encodeReport(const SaveData& data) {
    const QString text = QStringLiteral("\"<<Woolmereのハイスコア>>\"\r\n"
                                        "\"777だした回数>>%1回\"\r\n"
                                        "\"最高羊毛グラム数>>%2g\"\r\n")
                             .arg(data.SuccessCount)
                             .arg(data.BestWool);
    const cp932::EncodeResult encoded = cp932::encode(text);
    if (!encoded.ok) return std::nullopt;
    return encoded.bytes;
}

FileResult writeReport(const QString& path, const SaveData& data) {
    const std::optional<QByteArray> bytes = encodeReport(data);
    if (!bytes) return failure("write", path, QStringLiteral("the report cannot be put into code page 932"));
    const common::FileError error = common::replaceFile(path, *bytes);
    if (!error.ok()) return failure("write", path, error.englishReason());
    return {};
}

}  // namespace savefiles
