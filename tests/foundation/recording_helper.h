#pragma once
// A host helper object that records every call the plug-in makes, and can
// be told to fail.
#include <stdexcept>
#include <string>
#include <vector>

#include "interface/VantorTypeLib.h"

class RecordingHelper : public VantorTypeLib::IPluginHelper,
                        public VantorTypeLib::IMyStream,
                        public VantorTypeLib::IMessages {
 public:
  struct Call {
    std::string member;
    std::vector<VantorTypeLib::Variant> args;
  };
  std::vector<Call> calls;
  bool failUserInteraction = false;
  bool failSetChannel = false;

  VantorTypeLib::IMyStream& MyStream() override { return *this; }
  VantorTypeLib::IMessages& Messages() override { return *this; }
  void UserInteraction() override {
    calls.push_back({"UserInteraction", {}});
    if (failUserInteraction) throw std::runtime_error("host busy");
  }
  void SetChannel(VantorTypeLib::Variant& channel, VantorTypeLib::Variant& value,
                  const VantorTypeLib::Variant& flag) override {
    calls.push_back({"SetChannel", {channel, value, flag}});
    if (failSetChannel) throw std::runtime_error("channel rejected");
  }
  void Send(const VantorTypeLib::Variant& a, const VantorTypeLib::Variant& b,
            const VantorTypeLib::Variant& c) override {
    calls.push_back({"Send", {a, b, c}});
  }
};
