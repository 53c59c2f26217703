#include "finance/notice_board.h"

// The bulletin board is not built yet: it returns at once with no offers.
void notice_visit() {}
void notice_age_offers() {}
