// The yardstick for start-up: the smallest Qt Widgets window with one line of
// text, built with the same compiler, flags and Qt as the two programs.
#include <QApplication>
#include <QLabel>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QLabel label(QStringLiteral("minimal window"));
    label.resize(424, 164);
    label.setWindowTitle(QStringLiteral("minimal"));
    label.show();
    return app.exec();
}
