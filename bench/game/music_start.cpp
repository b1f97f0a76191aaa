// Measures how soon the tune is heard after a click on the banner, through
// the sound module with SDL's disk audio driver: the mixed output goes to a
// file in real time, and the time from the PlayMidi call to the first
// non-silent byte past the file's end at the call is the delay a player
// hears. Two cases, each started in a fresh sound module:
//   first   the tune preloaded when the device opened (the game's way)
//   cold    no preloading: the first click loads the soundfont (the first
//           run of the process also pays for loading the synthesiser)
//
//   music_start [runs]      (default 9; prints the median and the largest)
#include "game/services/music.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

namespace {

// Milliseconds from now until `output` holds a non-zero byte past its size
// at the call, after `play` has run; -1 after 3 s without sound.
double heardAfter(const QString& output, const std::function<void()>& play) {
    QFile file(output);
    if (!file.open(QIODevice::ReadOnly)) return -1;
    const qint64 start = file.size();
    QElapsedTimer clock;
    clock.start();
    play();
    qint64 checked = start;
    while (clock.elapsed() < 3000) {
        file.seek(checked);
        const QByteArray fresh = file.readAll();
        if (std::any_of(fresh.begin(), fresh.end(), [](char c) { return c != 0; })) return clock.nsecsElapsed() / 1e6;
        checked += fresh.size();
        QThread::usleep(500);
    }
    return -1;
}

struct Figures {
    std::vector<double> values;
    void print(const char* name) {
        std::sort(values.begin(), values.end());
        if (values.empty()) return;
        std::printf("%-28s median %7.1f ms   largest %7.1f ms   (%zu runs)\n", name, values[values.size() / 2],
                    values.back(), values.size());
    }
};

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 9;
    const QString tune = QStringLiteral(WOOLMERE_SOURCE_DIR "/assets/game/sounds/maki.mid");
    if (Music::systemSoundFont().isEmpty()) {
        std::fprintf(stderr, "music_start: no General MIDI soundfont installed\n");
        return 1;
    }
    QTemporaryDir dir;
    const QString output = dir.filePath(QStringLiteral("out.raw"));
    qputenv("SDL_AUDIODRIVER", "disk");
    qputenv("SDL_DISKAUDIOFILE", QFile::encodeName(output));
    Figures first, cold, coldest;
    {
        Music music(Music::systemSoundFont());
        while (!music.audioAvailable()) QThread::msleep(10);
        QThread::msleep(100);
        coldest.values.push_back(heardAfter(output, [&] { music.PlayMidi(tune); }));
    }
    for (int r = 0; r < runs; ++r) {
        {
            Music music(Music::systemSoundFont(), tune);
            // The game's click comes long after the device has opened.
            while (!music.tunePreloaded()) QThread::msleep(10);
            QThread::msleep(100);
            first.values.push_back(heardAfter(output, [&] { music.PlayMidi(tune); }));
        }
        {
            Music music(Music::systemSoundFont());
            while (!music.audioAvailable()) QThread::msleep(10);
            QThread::msleep(100);
            cold.values.push_back(heardAfter(output, [&] { music.PlayMidi(tune); }));
        }
    }
    first.print("first");
    cold.print("cold");
    coldest.print("cold, first of the process");
    return 0;
}
