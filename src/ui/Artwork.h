#pragma once
// The editor's own pictures, drawn rather than loaded, so they stay sharp at
// every screen scale.

#include <QPixmap>

namespace tav::artwork {

// A hand-held two-way radio, `size` logical pixels tall.
QPixmap radioPicture(int size, qreal devicePixelRatio);
// Radio waves leaving an antenna tip, for the splash window's corner.
QPixmap wavesPicture(int size, qreal devicePixelRatio);

}  // namespace tav::artwork
