#include "gui/window_layout.h"

#include <algorithm>

namespace {
constexpr Rect kList{120, 360, 8895, 4845};
constexpr Rect kStatus{120, 5280, 8895, 285};
constexpr Rect kLog{120, 5640, 8895, 2175};
constexpr float kFrameWidth = 3735;
constexpr float kItemCountWidth = 1095;
constexpr float kListShare = 0.64f;
constexpr float kGap = 60;
constexpr float kBottomMargin = 120;
constexpr float kItemCountInset = 20;
constexpr float kSelectAllRight = 5760 + 1455;
}  // namespace

LeftColumnLayout layoutForClientSize(float clientWidth, float clientHeight) {
    LeftColumnLayout out{};
    out.frameLeft = clientWidth - kFrameWidth;
    out.list = kList;
    out.list.width = out.frameLeft - 120;
    out.list.height = (clientHeight - out.list.top) * kListShare;
    out.status = kStatus;
    out.status.width = out.frameLeft - 120;
    out.status.top = out.list.top + out.list.height + kGap;
    out.log = kLog;
    out.log.top = out.status.top + out.status.height + kGap;
    out.log.width = out.frameLeft - 120;
    out.log.height = clientHeight - out.log.top - kBottomMargin;
    // Near the minimum width the count stops short of "Select All" and may pass the list's edge
    // a little; the panel's bar starts further right.
    out.itemCountLeft =
        std::max(out.list.left + out.list.width - kItemCountWidth - kItemCountInset, kSelectAllRight + kGap);
    return out;
}

Size minimumClientSize(float frameWidth, float frameHeight) {
    // A window system that reports no frame, or a thinner one than the design window's
    // (offscreen, no window manager), still allows the design client area.
    if (frameWidth < kDesignFrameWidth) frameWidth = kDesignFrameWidth;
    if (frameHeight < kDesignFrameHeight) frameHeight = kDesignFrameHeight;
    return {kMinOuterWidth - frameWidth, kMinOuterHeight - frameHeight};
}
