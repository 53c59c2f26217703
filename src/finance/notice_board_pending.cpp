#include "finance/notice_board.h"

// The bulletin board is not built yet: it holds no offers to clear. The
// board's own module replaces this.
void notice_board_clear() {}
