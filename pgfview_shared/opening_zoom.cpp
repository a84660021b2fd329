#include "opening_zoom.h"

namespace tessavine::pgfview_shared {

int openingZoom(Extent room, Extent pictureAt1x, Extent around) {
    for (int zoom = kLargestOpeningZoom; zoom > kSmallestOpeningZoom; --zoom) {
        // A cut picture with scroll bars is what the smaller zoom avoids, so a larger one must
        // fit whole: both ways, or the window reaches past the screen's bottom.
        if (zoom * pictureAt1x.width + around.width <= room.width &&
            zoom * pictureAt1x.height + around.height <= room.height) {
            return zoom;
        }
    }
    return kSmallestOpeningZoom;
}

}  // namespace tessavine::pgfview_shared
