#include "reader/services/picture_files.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <algorithm>

#include "common/cp932.h"
#include "common/fileio.h"
#include "reader/services/pictures.h"

namespace velreader {
namespace {

// Enough of a file to tell the picture formats apart.
constexpr qint64 HeaderBytes = 64;

QByteArray formatOf(const QByteArray& bytes) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return QImageReader::imageFormat(&buffer);
}

QImage decode(const QByteArray& bytes, QSize size, bool keepShape) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return decodePicture(&buffer, size, keepShape);
}

QString sizeLimitText() { return QStringLiteral("%1 MB").arg(PictureStore::MaxFileSize / (1024 * 1024)); }

PictureImport refused(const QString& name, const QString& why) {
    return {PictureImport::Outcome::Refused, name, {}, QStringLiteral("「%1」は追加できません：%2").arg(name, why)};
}

}  // namespace

QString pictureNameProblem(const QString& name) {
    if (name.isEmpty()) return QStringLiteral("名前がありません。");
    if (name.contains(u'/') || name.contains(u'\\'))
        return QStringLiteral("名前に「/」や「\\」がある絵は使えません。");
    if (name.startsWith(u'.')) return QStringLiteral("「.」で始まる名前の絵は使えません（隠しファイルになります）。");
    if (name.startsWith(u' '))
        return QStringLiteral("空白で始まる名前の絵は使えません（本から読み戻すと空白が落ちます）。");
    if (name.contains(u'＞'))
        return QStringLiteral("名前に「＞」がある絵は使えません（「＞」から後は色の指定になります）。");
    for (const QChar c : name) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            return QStringLiteral("名前に改行や制御文字がある絵は使えません。");
    }
    const cp932::EncodeResult encoded = cp932::encode(name);
    if (!encoded.ok)
        return QStringLiteral("名前の「%1」（%2）は本のファイルに保存できない文字です。")
            .arg(QString::fromUcs4(&encoded.character, 1), cp932::codePointName(encoded.character));
    return {};
}

QList<PictureFile> listPictures(const QStringList& folders, int limit) {
    QList<PictureFile> pictures;
    QStringList seen;
    for (int f = 0; f < folders.size(); ++f) {
        const QDir dir(folders[f]);
        for (const QFileInfo& info : dir.entryInfoList(QDir::Files, QDir::Name)) {
            if (pictures.size() >= limit) break;
            const QString name = info.fileName();
            if (seen.contains(name) || !pictureNameProblem(name).isEmpty()) continue;
            // Only regular files are opened, never pipes or devices.
            if (!info.isFile() || info.size() > PictureStore::MaxFileSize) continue;
            const common::ReadResult header = common::readFile(info.filePath(), HeaderBytes, false);
            if (!header.ok() || !PictureStore::isDecodedFormat(formatOf(header.bytes))) continue;
            seen << name;
            pictures.append({name, info.filePath(), f});
        }
    }
    std::sort(pictures.begin(), pictures.end(),
              [](const PictureFile& a, const PictureFile& b) { return a.name < b.name; });
    return pictures;
}

QImage pictureThumbnail(const QString& path, QSize size, bool keepShape) {
    const common::ReadResult read = common::readFile(path, PictureStore::MaxFileSize);
    if (!read.ok()) return {};
    return decode(read.bytes, size, keepShape);
}

PictureImport importPicture(const QString& source, const QStringList& folders, bool replace) {
    const QString name = QFileInfo(source).fileName();
    if (const QString problem = pictureNameProblem(name); !problem.isEmpty()) return refused(name, problem);
    if (folders.isEmpty()) return refused(name, QStringLiteral("絵のフォルダがありません。"));

    const common::ReadResult read = common::readFile(source, PictureStore::MaxFileSize);
    if (read.error.kind == common::FileError::Kind::TooLarge)
        return refused(name, QStringLiteral("ファイルが大きすぎます（%1 までです）。").arg(sizeLimitText()));
    if (!read.ok()) return refused(name, read.error.japaneseReason() + u'。');
    if (!PictureStore::isDecodedFormat(formatOf(read.bytes)))
        return refused(name, QStringLiteral("PNG、JPEG、BMP、GIF の絵ではありません。"));
    // The whole picture must decode, as playback will decode it.
    if (decode(read.bytes, QSize(), false).isNull())
        return refused(name, QStringLiteral("絵として読めません（壊れているか、大きすぎます）。"));

    const PictureStore store(folders);
    if (const QString existing = store.locate(name); !existing.isEmpty() && !replace)
        return {PictureImport::Outcome::Exists, name, existing, {}};

    const QString folder = folders.first();
    if (!QDir().mkpath(folder)) return refused(name, QStringLiteral("絵のフォルダ（%1）を作れません。").arg(folder));
    const QString target = folder + name;
    if (const common::FileError error = common::replaceFile(target, read.bytes); !error.ok())
        return refused(name, QStringLiteral("%1 にコピーできません：%2。").arg(folder, error.japaneseReason()));
    return {PictureImport::Outcome::Added, name, target, {}};
}

}  // namespace velreader
