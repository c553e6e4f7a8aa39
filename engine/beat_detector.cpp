#include "engine/beat_detector.h"

#include "engine/channel_lists.h"
#include "toolkit/colors.h"

namespace engine {

void flashBeat(bool on, tk::Frame& flashBox, const Arrays::ChannelList& list, const tk::OptionButton& source,
               std::uint8_t& state) {
  flashBox.setBackColor(on ? tk::kRed : tk::kButtonFace);
  sendToList(list, on ? 255 : 0);
  if (source.value()) state = on ? 1 : 0;
}

}  // namespace engine
