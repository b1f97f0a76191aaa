#pragma once

#include <QString>
#include <QStringList>

namespace velreader {

class PictureStore;

// What a stored `entry` will not do in playback, in Japanese, one line per
// finding (empty when all is well): a picture that is not in any picture
// folder or cannot be read as a picture, and a colour word that is not one
// of the eleven.
QStringList entryWarnings(const QString& entry, PictureStore& pictures);

// How a picture named in a designation stands.
enum class PictureState { None, Found, Missing, Unreadable };
// `None` for an entry without a picture; `Found` when `pictures` can show it.
PictureState pictureState(const QString& pictureName, PictureStore& pictures);

}  // namespace velreader
