#include "vantorhost/run/host_output.h"

namespace vantorhost {

HostOutput::HostOutput(HostSession& session, std::unique_ptr<DmxOutput> dmx, Clock clock)
    : session_(session),
      dmx_(std::move(dmx)),
      beats_(clock == Clock::Real ? dmx_->latencyUs() : 0),
      path_(std::make_unique<OutputPath>(session.channels(), *dmx_, [&session] { return session.loop().nowMs(); })) {
  follow(session.hostDesign());
  watch_ = session.watchHostDesign([this](const HostDesign& design) { follow(design); });
}

void HostOutput::follow(const HostDesign& design) {
  path_->setFade(design.fadeMs);
  if (design.beats == beats_.beats().look()) return;
  // The layer is in the path only while it can light something, so a
  // design without a beat output costs the path nothing.
  const bool wasOn = beats_.beats().look().on();
  beats_.beats().setLook(design.beats);
  if (wasOn && !design.beats.on()) path_->removeLayer(beats_);
  else if (!wasOn && design.beats.on()) path_->addLayer(beats_);
  else path_->layerChanged();
}

HostOutput::~HostOutput() { close(); }

void HostOutput::close() {
  if (!path_) return;
  session_.unwatchHostDesign(watch_);
  if (beats_.beats().look().on()) path_->removeLayer(beats_);
  path_->finish();
  path_.reset();
  dmx_.reset();
}

}  // namespace vantorhost
