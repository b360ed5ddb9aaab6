#pragma once
// The Tab key types half-width spaces up to the next tab stop.

namespace pote {

// Spaces that take a caret at byte column `column` (0-based) to the next stop of width
// tabWidth: always at least one, a whole tab width at a stop.
constexpr int tabSpaceCount(long long column, int tabWidth) {
    const int width = tabWidth < 1 ? 1 : tabWidth;
    return width - static_cast<int>(column % width);
}

} // namespace pote
