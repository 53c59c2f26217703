#include "finance/auction.h"

// The auction is not built yet: every auction is void.
int auction_run(int, int, int) {
    return 0;
}
