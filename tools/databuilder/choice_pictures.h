// Pictures of the choice dialogs that live in the board's panel set
// (data.mkf 476): frame 4 the five facility-kind cells, frame 7 the research
// panel. The panel set's writer takes them from here.
#pragma once

#include "mkf_writer.h"

// Frame 4: the five 68 x 68 cells, 7 pixels of border around them (354 x 82).
FrameImage standin_kind_cells();
// Frame 7: the research panel, five cells of 66 x 54 at (15 + 76 s, 17) (400 x 88).
FrameImage standin_research_panel();
