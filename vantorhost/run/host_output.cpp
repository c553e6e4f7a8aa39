#include "vantorhost/run/host_output.h"

#include "vantorhost/base/log.h"

namespace vantorhost {

HostOutput::HostOutput(HostSession& session, std::unique_ptr<DmxOutput> dmx, Clock clock, LinkGrid& link)
    : session_(session),
      dmx_(std::move(dmx)),
      beatSource_(link, [](vbvis_tracker_state& state) { vbvis_tracker(&state); }),
      // The session's beats are timed as the tracker's: one clock, one lead.
      beatOutput_(clock == Clock::Real ? dmx_->latencyUs() : 0,
                  TrackerClock([this](vbvis_tracker_state& state, std::int64_t fromUs) { return beatSource_.read(state, fromUs); },
                               [] { return vbvis_clock_us(); })),
      path_(std::make_unique<OutputPath>(session.channels(), *dmx_, [&session] { return session.loop().nowMs(); })) {
  beatSource_.onSwitch = [](const std::string& state) { hostLog("beats: " + state); };
  beatOutput_.barPlace = [this](std::int64_t beatUs) { return beatSource_.barPlace(beatUs); };
  follow(session.hostDesign());
  watch_ = session.watchHostDesign([this](const HostDesign& design) { follow(design); });
  followSwitch();
  // After the path, so that a switch turned off renders a frame of its own.
  tk::app().addObserver(this);
}

void HostOutput::followSwitch() {
  IPluginDesign* plugin = session_.design();
  const bool on = plugin && plugin->switches().outputOn;
  if (on == beatOutput_.allowed()) return;
  beatOutput_.setAllowed(on);
  if (path_ && beatOutput_.pattern().on()) path_->layerChanged();
}

void HostOutput::followPatch() {
  if (!path_) return;
  const FixturePatch& patch = session_.patch();
  std::vector<std::int16_t> driven;
  if (!patch.fixtures().empty()) {
    if (IPluginDesign* design = session_.design()) driven = design->usedChannels();
    const BeatPattern& beats = beatOutput_.pattern();
    if (beats.on()) driven.insert(driven.end(), beats.channels.begin(), beats.channels.end());
  }
  path_->setPatch(patch, driven);
}

void HostOutput::follow(const HostDesign& design) {
  path_->setFade(design.fadeMs);
  beatSource_.choose(design.beatSource);
  if (design.beatPattern == beatOutput_.pattern()) {
    followPatch();
    return;
  }
  // The beat output is in the path only while it can light something, so
  // a design without one costs the path nothing.
  const bool wasOn = beatOutput_.pattern().on();
  beatOutput_.setPattern(design.beatPattern);
  if (wasOn && !design.beatPattern.on()) path_->removeLayer(beatOutput_);
  else if (!wasOn && design.beatPattern.on()) path_->addLayer(beatOutput_);
  else path_->layerChanged();
  followPatch();
}

HostOutput::~HostOutput() { close(); }

void HostOutput::close() {
  if (!path_) return;
  tk::app().removeObserver(this);
  session_.unwatchHostDesign(watch_);
  if (beatOutput_.pattern().on()) path_->removeLayer(beatOutput_);
  path_->finish();
  path_.reset();
  dmx_.reset();
}

}  // namespace vantorhost
