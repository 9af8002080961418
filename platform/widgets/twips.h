#pragma once
// The window's measures are in twips: 15 twips to a pixel.

namespace widgets {

constexpr int twips(int value) { return value / 15; }

} // namespace widgets
