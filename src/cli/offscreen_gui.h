#pragma once
// Drawing glyphs needs a Gui application; with no display ptmtool makes one on the offscreen
// platform, and only for the commands that draw, so every other command stays as light as it
// was.

namespace pote::cli {

void needGui();

} // namespace pote::cli
