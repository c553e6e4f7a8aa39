#include "hostlink/vantor.h"
#include "ui/Main.h"

namespace {

// One message when the state rises to 1; the state must fall for a tick
// before the next rise sends again.
void forwardRise(std::uint8_t state, std::uint8_t& armed) {
  if (state == 1) {
    if (armed == 1) {
      Vantor::SendBeat();
      armed = 0;
    }
  } else {
    armed = 1;
  }
}

}  // namespace

void Main::Beat_berechnen() {
  forwardRise(beatVuState, beatVuArmed);
  forwardRise(beatPixelState, beatPixelArmed);
  forwardRise(beatBarState, beatBarArmed);
}
