// The points shop's frames in the card window's set (PANEL.MKF 11 from frame
// 17): the two counter panels, the two clerks, the pressed buttons, the
// clerk's balloon and the lit row.
#pragma once

#include <vector>

#include "mkf_writer.h"

void shop_counter_frames(std::vector<FrameImage>& frames);
