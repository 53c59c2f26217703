#include "cards/fate.h"
#include "cards/news.h"

// The news and fate decks are not built yet: a new game has nothing to
// shuffle. The decks' own module replaces these.
void news_shuffle() {}
void fate_shuffle() {}
