// The lottery.
#pragma once

// Landing on a lottery square, for the current mover.
void lotto_visit();
