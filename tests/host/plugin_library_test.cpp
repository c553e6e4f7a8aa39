// A library that is no plug-in, or whose factory makes nothing, is refused.
#include <gtest/gtest.h>

#include "toolkit/simulated_loop.h"
#include "vantorhost/session/host_session.h"

namespace {

using vantorhost::HostSession;
using vantorhost::PluginLibrary;

TEST(PluginLibrary, ABadPathOrALibraryWithoutTheFactoryIsAClearError) {
  EXPECT_THROW(PluginLibrary("/nonexistent/libsonvero.so"), std::runtime_error);
  EXPECT_THROW(PluginLibrary("libc.so.6"), std::runtime_error);
  tk::SimulatedLoop loop;
  HostSession session(NULL_FACTORY_PLUGIN, loop);
  EXPECT_THROW(session.start(), std::runtime_error) << "a factory that makes nothing";
}

}  // namespace
