#include "game/window/savefiles.h"

#include "common/cp932.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace savefiles {
namespace {

constexpr int16_t kIntegerTag = 2;

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

QString errnoText(int err) { return QString::fromLocal8Bit(std::strerror(err)); }

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
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink()) return {};
    QFile file(path);
    if (info.isDir()) return failure("read", path, QStringLiteral("it is a folder"));
    if (!file.open(QIODevice::ReadOnly)) return failure("read", path, file.errorString());
    const QByteArray head = file.read(6);
    if (file.error() != QFileDevice::NoError) return failure("read", path, file.errorString());
    if (const auto decoded = decodeSave(head)) {
        data = *decoded;
        found = true;
    }
    return {};
}

FileResult writeSave(const QString& path, const SaveData& data) {
    // Plain POSIX calls: Qt's write-only mode would shorten the file, and the
    // game writes over the start of the old file without shortening it.
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) return failure("write", path, errnoText(errno));
    const QByteArray bytes = encodeSave(data);
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, static_cast<size_t>(bytes.size() - done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            const int err = n < 0 ? errno : EIO;
            ::close(fd);
            return failure("write", path, errnoText(err));
        }
        done += n;
    }
    if (::close(fd) != 0) return failure("write", path, errnoText(errno));
    return {};
}

QByteArray encodeReport(const SaveData& data) {
    const QString text = QStringLiteral("\"<<Woolmereのハイスコア>>\"\r\n"
                                        "\"777だした回数>>%1回\"\r\n"
                                        "\"最高羊毛グラム数>>%2g\"\r\n")
                             .arg(data.SuccessCount)
                             .arg(data.BestWool);
    // Every character of the report is in code page 932.
    return cp932::encode(text).bytes;
}

FileResult writeReport(const QString& path, const SaveData& data) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return failure("write", path, file.errorString());
    file.write(encodeReport(data));
    if (!file.commit()) return failure("write", path, file.errorString());
    return {};
}

}  // namespace savefiles
