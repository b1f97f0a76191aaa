#pragma once

#include <QByteArrayView>
#include <QString>

// The name a player is offered the first time a game enters the best
// games: the full name of the system account (the comment field of the
// password database up to its first comma), else the login name.
namespace scores {

// From the account's comment field and login name, as the system gives them
// (in the locale's encoding). Blank parts count as missing.
QString playerNameFrom(QByteArrayView gecos, QByteArrayView login);

// The same for the account that runs the program; empty when it is unknown.
QString systemPlayerName();

// The name a best game is kept under when its dialog closes without a
// decline: what was typed, else the name offered, else "名無し".
QString nameToKeep(const QString& typed, const QString& offered);

}  // namespace scores
