#include "vantorhost/output_path.h"

namespace vantorhost {

OutputPath::OutputPath(const ChannelBuffer& channels, DmxOutput& output, Clock clock)
    : channels_(channels), output_(output), clock_(std::move(clock)) {
  tk::app().addObserver(this);
}

OutputPath::~OutputPath() { tk::app().removeObserver(this); }

void OutputPath::handOn() {
  const std::int64_t now = clock_();
  output_.service(channels_);
  const std::array<std::uint64_t, 2> revision{channels_.universeRevision(0), channels_.universeRevision(1)};
  if (revision == seen_) return;
  seen_ = revision;
  if (watcher_) watcher_(channels_, now);
}

}  // namespace vantorhost
