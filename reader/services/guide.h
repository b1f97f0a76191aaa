#pragma once

#include <QImage>
#include <QList>
#include <QString>
#include <QStringList>
#include <utility>

namespace velreader {

// A page of rich text (the subset of HTML a Qt text document shows) with
// the pictures it names by resource name ("guide:colours.png").
struct HelpDocument {
    QString html;
    QList<std::pair<QString, QImage>> images;
};

// The guide "使い方", in Japanese: the two views, reading a text, the
// designation syntax with examples, the eleven colours, the keys, books and
// where this copy keeps them. `bookFolder` and `pictureFolders` are the
// reader's folders; pictures are drawn at `scale` device pixels per pixel,
// the example pages over one of the reader's own pictures when it finds one.
HelpDocument readerGuide(const QString& bookFolder, const QStringList& pictureFolders, qreal scale);

// "バージョン情報": the program, its version, the licences and the credits
// of the art and sounds, as rich text.
QString aboutText();

// The program's version, "1.0.0".
QString programVersion();

}  // namespace velreader
