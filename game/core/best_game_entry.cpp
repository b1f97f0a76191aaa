// A game that ends with a total among the player's ten best waits for the
// player's name, then enters the best games.
#include "game/core/hituji_game.h"

void HitujiGame::gameOver() {
    if (m_bestGames.belongsIn(state.Wool)) pendingBestGame = state.Wool;
}

savefiles::FileResult HitujiGame::BestGame_Enter(const QString& name, const QDateTime& when) {
    if (!pendingBestGame) return {};
    const std::optional<scores::BestGame> game = scores::makeBestGame(*pendingBestGame, when, name);
    pendingBestGame.reset();
    if (!game) return {false, QStringLiteral("The name cannot be kept: it is empty or longer than %1 characters")
                                  .arg(scores::kMaxNameLength)};
    makeSaveFolder();
    return m_bestGames.add(*game);
}

void HitujiGame::BestGame_Skip() {
    pendingBestGame.reset();
}
