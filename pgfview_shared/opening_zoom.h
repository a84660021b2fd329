#pragma once

namespace tessavine::pgfview_shared {

// A width and a height in pixels: a room, a picture, what a window adds around its picture.
struct Extent {
    int width = 0;
    int height = 0;
};

// The zoom the viewers open at when nothing fits: the PSP screen at its own size, scrolled.
inline constexpr int kSmallestOpeningZoom = 1;
// The largest they open at: 2× is as large as the picture stays on ordinary screens beside the
// Tessavine window; 3× and 4× are the user's to choose.
inline constexpr int kLargestOpeningZoom = 2;

// The zoom a viewer opens at in `room` (the client area it may take, beside the Tessavine
// window or else on the screen): the largest from kLargestOpeningZoom down whose picture, `zoom`
// times `pictureAt1x`, fits with `around` added (the frame, margins, controls and scroll bars
// that stand beside and above or below the picture) in width and in height; else the smallest,
// which then scrolls. All in the same pixels. Both viewers open through this, so that they open
// alike; a zoom the user chooses later is never replaced by it.
int openingZoom(Extent room, Extent pictureAt1x, Extent around);

}  // namespace tessavine::pgfview_shared
