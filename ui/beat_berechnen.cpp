#include "engine/beat.h"
#include "hostlink/vantor.h"
#include "ui/Main.h"

// One beat message for each detector whose state has just risen.
void Main::Beat_berechnen() {
  if (engine::beatRises(beatVuState, beatVuArmed)) Vantor::SendBeat();
  if (engine::beatRises(beatPixelState, beatPixelArmed)) Vantor::SendBeat();
  if (engine::beatRises(beatBarState, beatBarArmed)) Vantor::SendBeat();
}
