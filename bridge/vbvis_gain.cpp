// The C functions of the gain ahead of the analysis (bridge/vbvis.h).
#include <cmath>

#include "bridge/bridge.h"
#include "bridge/gain/auto_gain.h"
#include "bridge/gain/level_history.h"
#include "bridge/vbvis.h"

// The C API's figures are the gain's own.
static_assert(VBVIS_GAIN_MIN_DB == vbvis::AutoGain::kMinDb && VBVIS_GAIN_MAX_DB == vbvis::AutoGain::kMaxDb);
static_assert(VBVIS_SILENCE_DB == vbvis::LevelHistory::kSilenceDb);

extern "C" {

int32_t vbvis_set_gain(int32_t automatic, double fixed_db) {
  vbvis::GainStage& gain = vbvis::Bridge::instance().gain();
  if (automatic) {
    gain.setAutomatic();
    return 0;
  }
  // Written so that NaN fails too.
  if (!(fixed_db >= VBVIS_GAIN_MIN_DB && fixed_db <= VBVIS_GAIN_MAX_DB)) return -1;
  gain.setFixed(fixed_db);
  return 0;
}

int32_t vbvis_gain(vbvis_gain_state* out) {
  if (!out) return -1;
  const vbvis::GainStage::State s = vbvis::Bridge::instance().gain().state();
  *out = {s.automatic ? 1 : 0, s.gated ? 1 : 0, s.fixedDb, s.gainDb, s.inputDb, s.outputDb};
  return 0;
}

}  // extern "C"
