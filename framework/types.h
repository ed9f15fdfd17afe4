#pragma once

#include <cstdint>

namespace fw {

struct Color {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    friend constexpr bool operator==(const Color&, const Color&) = default;
};

constexpr Color RGB(std::uint8_t r, std::uint8_t g, std::uint8_t b) { return Color{r, g, b}; }

// Text alignment of a label.
enum class TextAlign { Left = 0, Center = 1, Right = 2 };

}  // namespace fw
