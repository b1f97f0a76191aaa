#include "game/services/best_game_entry.h"

namespace scores {

savefiles::FileResult BestGameEntry::enter(const QString& name, const QDateTime& when) {
    if (!m_pending) return {};
    const std::optional<BestGame> game = makeBestGame(*m_pending, when, name);
    m_pending.reset();
    if (!game) return {false, QStringLiteral("The name cannot be kept: it is empty or longer than %1 characters")
                                  .arg(kMaxNameLength)};
    return m_games.add(*game);
}

}  // namespace scores
