// The four pictures the screen saver ships as bitmap resources.
#pragma once

#include "canvas.h"

namespace drawres {

Image draw_panel_a();  // 111: readout panel, bar chart top right
Image draw_panel_b();  // 112: readout panel, bar chart bottom left
Image draw_floor();    // 114: circuit-trace floor tile
Image draw_about();    // 117: towers and the about box lettering

}  // namespace drawres
