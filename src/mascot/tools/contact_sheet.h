#pragma once
// A picture for reviewing the artwork: every frame enlarged, framed and numbered.

#include "art_source.h"

#include <QImage>

namespace pote::mascot {

QImage contactSheet(const ArtSource& art, int scale);

} // namespace pote::mascot
