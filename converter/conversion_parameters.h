#pragma once

namespace tessavine::converter {

// What the command line asks of the conversion.
struct ConversionParameters {
    int fontScale = 18;            // em size in pixels; 18 is the firmware's 10.125 pt at 128 dpi
    double horizontalWidth = 1.0;  // horizontal scale of outlines and advances
    bool embolden = false;         // synthetic bold: the outline is made thicker
    bool italicize = false;        // synthetic oblique: the outline is slanted
    double shadowBlur = 1.0;       // Gaussian sigma of the shadow, in glyph pixels
    double shadowIntensity = 1.0;  // factor on the shadow's opacity; 0 gives no shadow ink
};

}  // namespace tessavine::converter
