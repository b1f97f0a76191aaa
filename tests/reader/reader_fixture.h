#pragma once

#include <QDir>
#include <sys/stat.h>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "reader/rules/lines.h"
#include "reader/core/reader_core.h"

namespace velreader::testing {

// A reader started in a fresh application folder with empty "E" and "Book".
class ReaderTest : public ::testing::Test {
protected:
    ReaderTest() : reader(folder.path() + u'/') {
        QDir(folder.path()).mkpath(QStringLiteral("E"));
        QDir(folder.path()).mkpath(QStringLiteral("Book"));
        reader.Form_Load();
    }
    QString appFolder() const { return folder.path() + u'/'; }
    QString picturePath(const QString& name) const { return appFolder() + "E/" + name; }
    QString bookPath(const QString& name) const { return appFolder() + "Book/" + name; }

    // Types `text` into Text1 (LF line breaks, as the box holds them) and presses "読み込み".
    void readIn(const QString& text) {
        reader.controls().Text1.text = toCrLf(text);
        reader.Command1_Click();
    }
    void designate(const QString& designation) {
        reader.controls().Text1.text = designation;
        reader.Command3_Click();
    }
    void writePicture(const QString& name, const QColor& colour, const char* format = "PNG", QSize size = {64, 32}) {
        QImage image(size, QImage::Format_RGB32);
        image.fill(colour);
        ASSERT_TRUE(image.save(picturePath(name), format));
    }
    void writeFile(const QString& path, const QByteArray& bytes) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QRgb pagePixel(int x, int y) const { return reader.page().image().pixel(x, y); }

    QTemporaryDir folder;
    ReaderCore reader;
};

// The bytes of the file at `path`; empty when it cannot be read.
inline QByteArray readBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// `count` one-line paragraphs "行0", "行1", ...
inline QString numberedLines(int count, const QString& prefix = QStringLiteral("行")) {
    QStringList lines;
    for (int i = 0; i < count; ++i) lines << prefix + QString::number(i);
    return lines.join(u'\n');
}

}  // namespace velreader::testing
