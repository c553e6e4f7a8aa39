#include "ui/bar_list.h"

#include "model/arrays.h"
#include "toolkit/format.h"

void rebuildBarList(tk::ListView& list) {
  namespace fmt = tk::fmt;
  list.clearRows();
  const int highest = Arrays::highestBarSlot();
  for (int slot = 0; slot <= highest; ++slot) {
    const Arrays::Bar& bar = Arrays::bars[slot];
    list.addRow({fmt::number(bar.fromPixel), fmt::number(bar.toPixel), fmt::number(bar.channelSummary)});
  }
}
