#pragma once

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <memory>

namespace velreader::testing {

// With VELREADER_SCREENSHOTS=folder, saves `widget` there as `name`.png
// (name@2x.png on a screen of twice the pixels).
inline void screenshot(QWidget* widget, const QString& name) {
    const QString folder = qEnvironmentVariable("VELREADER_SCREENSHOTS");
    if (folder.isEmpty()) return;
    const QString scale = widget->devicePixelRatioF() > 1 ? QStringLiteral("@2x") : QString();
    widget->grab().save(folder + u'/' + name + scale + ".png");
}

// Runs `act` on the next modal widget of type T once it shows (for at most 10 s).
template <typename T, typename F>
void onModal(F act) {
    auto* timer = new QTimer;
    auto ticks = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, [timer, act, ticks] {
        if (auto* widget = qobject_cast<T*>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            act(widget);
        } else if (++*ticks > 2000) {
            timer->stop();
            timer->deleteLater();
        }
    });
    timer->start(5);
}

}  // namespace velreader::testing
