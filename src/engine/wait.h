// Message-pumping waits.
//
// A wait never sleeps through the message queue: it takes the input that
// arrives (and throws it away, apart from the release that ends a skippable
// wait) and serves the media notifications, but leaves posted messages,
// quit, paint and timers where they are for the message loop after it.
#pragma once

#include <cstdint>

// Waits ms milliseconds (nothing for 0).
void wait_ms(uint32_t ms);
// The same; a key or button release ends it at once with result 1, else 0.
int wait_ms_skippable(uint32_t ms);
// One pass of a wait: takes the input that arrived (up to the first key-up
// or mouse-button-up when stop_at_release is 1) and serves the media
// notifications; 1 when such a release was among the input taken.
int wait_take_messages(int stop_at_release);
