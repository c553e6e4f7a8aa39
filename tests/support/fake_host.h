#pragma once
// The host's helper object as tests, benchmarks and fuzz targets need it:
// it keeps every call the plug-in makes, in order, shows each to a check,
// and can be told to fail as a busy host does.
#include <functional>
#include <stdexcept>
#include <vector>

#include "interface/VantorTypeLib.h"

namespace support {

class FakeHost final : public VantorTypeLib::IPluginHelper,
                       private VantorTypeLib::IMyStream,
                       private VantorTypeLib::IMessages {
 public:
  using Variant = VantorTypeLib::Variant;
  enum class Member { UserInteraction, SetChannel, Send };
  struct Call {
    Member member;
    Variant args[3];  // as passed; none for UserInteraction
  };

  bool keep = true;                        // off: calls are checked, not kept
  std::function<void(const Call&)> check;  // sees every call first
  bool failUserInteraction = false, failSetChannel = false;
  int failMyStream = 0;  // this many requests for the stream fail
  std::vector<Call> calls;

  VantorTypeLib::IMyStream& MyStream() override {
    if (failMyStream > 0 && failMyStream--) throw std::runtime_error("no stream yet");
    return *this;
  }
  VantorTypeLib::IMessages& Messages() override { return *this; }

 private:
  void take(const Call& call) {
    if (check) check(call);
    if (keep) calls.push_back(call);
  }
  void UserInteraction() override {
    take({Member::UserInteraction, {}});
    if (failUserInteraction) throw std::runtime_error("host busy");
  }
  void SetChannel(Variant& channel, Variant& value, const Variant& flag) override {
    take({Member::SetChannel, {channel, value, flag}});
    if (failSetChannel) throw std::runtime_error("channel rejected");
  }
  void Send(const Variant& message, const Variant& arg1, const Variant& arg2) override {
    take({Member::Send, {message, arg1, arg2}});
  }
};

}  // namespace support
