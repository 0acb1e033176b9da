#pragma once
// Makes the look-up and search-information views known to the results window: BLAST (view
// type 1), retrieve (2), protein coverage (6) and search parameters (7). Call once at start-up,
// before the results window is made.

namespace zar {

void RegisterResultFormViews();

}  // namespace zar
