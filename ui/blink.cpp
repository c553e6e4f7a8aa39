#include "toolkit/colors.h"
#include "ui/Main.h"

namespace {

// A switch in its blinking position alternates red and button face; any
// other value (the greyed 2 included) shows its resting colour.
void blink(tk::CheckBox& box, std::int16_t blinkingValue, std::uint8_t phase, tk::OleColor resting) {
  if (box.value() == blinkingValue) box.setBackColor(phase == 1 ? tk::kRed : tk::kButtonFace);
  else box.setBackColor(resting);
}

}  // namespace

// Once a second: the mute boxes blink while ticked, the detector and output
// switches while unticked; the output switch rests green.
void Main::Timer2_Timer() {
  ++blinkPhase;
  if (blinkPhase > 1) blinkPhase = 0;
  blink(Check8, 1, blinkPhase, tk::kButtonFace);
  blink(Check3, 0, blinkPhase, tk::kButtonFace);
  blink(Check2, 0, blinkPhase, tk::kButtonFace);
  blink(Check4, 0, blinkPhase, tk::kButtonFace);
  blink(Check9, 1, blinkPhase, tk::kButtonFace);
  blink(Check5, 0, blinkPhase, tk::kGreen);
}
