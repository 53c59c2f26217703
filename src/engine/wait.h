// Message-pumping waits.
#pragma once

#include <cstdint>

// Waits ms milliseconds, taking and dropping messages.
void wait_ms(uint32_t ms);
// The same; a key or button release ends it at once with result 1, else 0.
int wait_ms_skippable(uint32_t ms);
