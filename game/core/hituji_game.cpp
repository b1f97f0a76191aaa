#include "game/core/hituji_game.h"

#include "common/fileio.h"
#include "common/leftovers.h"
#include "common/stop_notes.h"
#include "game/rules/captions.h"

#include <QDir>
#include <cstdio>


HitujiGame::HitujiGame(RandomSource& random, SoundPlayer& sound, QString appFolder, QString saveFolder)
    : m_random(random), m_sound(sound), m_levels(sound), m_appFolder(std::move(appFolder)),
      m_saveFolder(saveFolder.isEmpty() ? m_appFolder : std::move(saveFolder)),
      m_bestGames(m_saveFolder + QLatin1String(scores::kBestGamesFileName)) {
    // Pictures are loaded once, when the window is created.
    loadGameSurfaces(surfaces, &m_artError);
}

savefiles::FileResult HitujiGame::Form_Load() {
    if (!m_artError.isEmpty()) return {false, QStringLiteral("The game's pictures cannot be loaded: ") + m_artError};
    // The sound files are played by bare name, so the application folder
    // becomes the current folder.
    if (const common::FileError error = common::changeFolder(m_appFolder); !error.ok())
        return {false, QStringLiteral("Cannot make %1 the current folder: %2").arg(m_appFolder, error.englishReason())};
    state = GameState{};
    m_atStart = {};
    // What writes killed half-way left beside the game's files.
    common::removeLeftoverTemporaries(m_saveFolder, [](const QString& target) {
        return target == QLatin1String(savefiles::kSaveFileName) || target == QLatin1String(savefiles::kReportFileName) ||
               target == QLatin1String(scores::kBestGamesFileName) || target == QLatin1String(common::StopNotesFileName);
    });
    // A best-games file that cannot be read leaves the table empty; the
    // game goes on (the reason is on stderr).
    if (const savefiles::FileResult best = m_bestGames.load(); !best.ok)
        std::fprintf(stderr, "%s\n", qPrintable(best.error));

    savefiles::SaveData saved;
    bool found = false;
    const QString path = m_saveFolder + QLatin1String(savefiles::kSaveFileName);
    savefiles::FileResult result = savefiles::readSave(path, saved, found);
    if (!result.ok || !found) return result;
    m_atStart = saved;
    state.SuccessCount = saved.SuccessCount;
    state.BestWool = saved.BestWool;
    controls.Label3.caption = captions::successes(state.SuccessCount);
    controls.Label4.caption = captions::best(state.BestWool);
    return result;
}

void HitujiGame::makeSaveFolder() const {
    // The user's own folder is made when first needed; the application
    // folder is never made (a missing one is an error to report).
    if (m_saveFolder != m_appFolder) QDir().mkpath(m_saveFolder);
}

savefiles::FileResult HitujiGame::Form_QueryUnload() {
    makeSaveFolder();
    const QString path = m_saveFolder + QLatin1String(savefiles::kSaveFileName);
    // Merged with the file as it is now: another window may have written it since.
    savefiles::SaveData merged;
    const savefiles::FileResult result =
        savefiles::writeMergedSave(path, m_atStart, {state.SuccessCount, state.BestWool}, merged);
    if (!result.ok) return result;
    state.SuccessCount = merged.SuccessCount;
    state.BestWool = merged.BestWool;
    return result;
}

savefiles::FileResult HitujiGame::Form_Unload() {
    m_sound.PlayMidi(QString());
    controls.BGM_Check = false;
    makeSaveFolder();
    savefiles::FileResult result = savefiles::writeReport(m_saveFolder + QLatin1String(savefiles::kReportFileName),
                                                          {state.SuccessCount, state.BestWool});
    const savefiles::FileResult best = m_bestGames.save();
    if (!best.ok) {
        result.error = result.ok ? best.error : result.error + u'\n' + best.error;
        result.ok = false;
    }
    return result;
}
