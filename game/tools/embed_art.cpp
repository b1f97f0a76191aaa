// Turns the game's XPM pictures into a C++ source file of ready pixels, so
// that the program needs no picture decoding at start-up.
//
//   fleeceslot_embed_art OUTPUT.cpp PICTURE.xpm...
//
// Each picture becomes a constant array of 32-bit RGB pixels (0xffRRGGBB,
// the layout of QImage::Format_RGB32) named after its file, and one table
// lists them all by name with their sizes.
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTextStream>
#include <cstdio>

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: fleeceslot_embed_art OUTPUT.cpp PICTURE.xpm...\n");
        return 2;
    }
    QString out;
    QTextStream text(&out);
    text << "// Generated at build time from the XPM pictures in assets/game; do not edit.\n"
            "#include \"game/drawing/game_art.h\"\n\n"
            "namespace {\n";
    QStringList names;
    QList<QSize> sizes;
    for (int i = 2; i < argc; ++i) {
        const QString path = QString::fromLocal8Bit(argv[i]);
        const QImage image = QImage(path, "XPM").convertToFormat(QImage::Format_RGB32);
        if (image.isNull()) {
            std::fprintf(stderr, "fleeceslot_embed_art: cannot read %s\n", argv[i]);
            return 1;
        }
        const QString name = QFileInfo(path).completeBaseName();
        names << name;
        sizes << image.size();
        text << "alignas(16) const uint32_t " << name << "[] = {";
        int n = 0;
        for (int y = 0; y < image.height(); ++y) {
            const auto* line = reinterpret_cast<const uint32_t*>(image.constScanLine(y));
            for (int x = 0; x < image.width(); ++x, ++n) {
                text << (n % 8 == 0 ? "\n    " : " ");
                text << "0x" << QString::number(line[x] | 0xFF000000u, 16) << "u,";
            }
        }
        text << "\n};\n";
    }
    text << "}  // namespace\n\n"
            "const ArtPicture kGameArt[] = {\n";
    for (int i = 0; i < names.size(); ++i)
        text << "    {\"" << names[i] << "\", " << sizes[i].width() << ", " << sizes[i].height() << ", " << names[i]
             << "},\n";
    text << "};\nconst int kGameArtCount = " << names.size() << ";\n";
    text.flush();

    // Rewritten only when the content changes, so a rebuild compiles nothing.
    const QString target = QString::fromLocal8Bit(argv[1]);
    QFile existing(target);
    const QByteArray bytes = out.toUtf8();
    if (existing.open(QIODevice::ReadOnly) && existing.readAll() == bytes) return 0;
    existing.close();
    QFile file(target);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.flush()) {
        std::fprintf(stderr, "fleeceslot_embed_art: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
