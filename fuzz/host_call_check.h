#pragma once
// What every call the plug-in makes to the host must look like: channels
// 1..1024 always, values 0..255 while the engine's inputs lie inside what
// it is built for, the flag True, and only the beat message 9, 1, 0. Shown
// each call by the fake host of tests/support.
#include "fuzz/fuzz_check.h"
#include "tests/support/fake_host.h"

namespace fuzz {

struct HostCallCheck {
  // Off while a level beyond full scale is fed in: the level outputs scale
  // it past 255 on purpose, as the host receives whatever they compute.
  bool checkValues = true;

  void operator()(const support::FakeHost::Call& call) const {
    using Member = support::FakeHost::Member;
    using Variant = VantorTypeLib::Variant;
    const Variant* a = call.args;
    if (call.member == Member::SetChannel) {
      FUZZ_REQUIRE(a[0].value >= 1 && a[0].value <= 1024);
      if (checkValues) FUZZ_REQUIRE(a[1].value >= 0 && a[1].value <= 255);
      FUZZ_REQUIRE(a[2].type == Variant::Type::Boolean && a[2].value == -1);
    } else if (call.member == Member::Send) {
      FUZZ_REQUIRE(a[0].value == 9 && a[1].value == 1 && a[2].value == 0);
    }
  }
};

}  // namespace fuzz
