#pragma once
// Main's bar list as the table holds it: row n stands for slot n - 1.
#include "toolkit/list_view.h"

// Refills the list with one row per slot from 0 up to the highest slot that
// holds a bar (free slots in between show their zeros): "min.", "max.",
// "Kanäle". Used after a bar is stored and after one is removed.
void rebuildBarList(tk::ListView& list);
