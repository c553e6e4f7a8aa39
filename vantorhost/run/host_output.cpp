#include "vantorhost/run/host_output.h"

namespace vantorhost {

HostOutput::HostOutput(HostSession& session, std::unique_ptr<DmxOutput> dmx)
    : session_(session),
      dmx_(std::move(dmx)),
      path_(std::make_unique<OutputPath>(session.channels(), *dmx_, [&session] { return session.loop().nowMs(); })) {
  path_->setFade(session.hostDesign().fadeMs);
  watch_ = session.watchHostDesign([this](const HostDesign& design) { path_->setFade(design.fadeMs); });
}

HostOutput::~HostOutput() { close(); }

void HostOutput::close() {
  if (!path_) return;
  session_.unwatchHostDesign(watch_);
  path_->finish();
  path_.reset();
  dmx_.reset();
}

}  // namespace vantorhost
