// The window's resize rules as pure arithmetic in twips (15 twips per pixel). The right
// panel keeps its size against the right edge; the left column takes the rest, the list 64 %
// of the height below its top.
#pragma once

#include <cmath>

inline constexpr float kTwipsPerPixel = 15.0f;
inline constexpr float kMinOuterWidth = 12000.0f;
inline constexpr float kMinOuterHeight = 8460.0f;
// The design window's own frame.
inline constexpr float kDesignFrameWidth = 120.0f;
inline constexpr float kDesignFrameHeight = 510.0f;
inline constexpr float kDesignClientWidth = 12870.0f;
inline constexpr float kDesignClientHeight = 7950.0f;

struct Rect {
    float left, top, width, height;
};

// Twips as whole pixels, to the nearest.
inline int pixels(float twips) { return static_cast<int>(std::lround(twips / kTwipsPerPixel)); }

// The controls that move; everything else keeps its design place.
struct LeftColumnLayout {
    float frameLeft;
    Rect list, status, log;
    float itemCountLeft;
};

LeftColumnLayout layoutForClientSize(float clientWidth, float clientHeight);

// The smallest client area that keeps the outer size at the minimum, given the frame the
// window system reports; a frame thinner than the design window's counts as the design frame.
struct Size {
    float width, height;
};
Size minimumClientSize(float frameWidth, float frameHeight);
