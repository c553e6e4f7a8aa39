// The host loading the real plug-in library: its tables start at zero and
// a reload zeroes them again; a library that is no plug-in, or whose
// factory makes nothing, is refused.
#include <gtest/gtest.h>

#include "toolkit/application.h"
#include "toolkit/simulated_loop.h"
#include "vantorhost/session/host_session.h"

namespace {

using vantorhost::HostSession;
using vantorhost::PluginLibrary;

TEST(PluginLibrary, AReloadStartsFromZeroedTablesAndANewWindow) {
  tk::SimulatedLoop loop;
  tk::app().setLoop(&loop);
  {
    HostSession session(SONVERO_PLUGIN_PATH, loop);
    session.start();
    session.design()->writeList(3, 0, {7});
    session.reload();
    EXPECT_TRUE(session.design()->readList(3, 0).empty()) << "all tables: golden foundation_tables";
    ASSERT_EQ(tk::app().forms().size(), 1u) << "the old window left with the old module";
    EXPECT_TRUE(session.mainWindow()->loaded());
    session.stop();
  }
  tk::app().setLoop(nullptr);
}

TEST(PluginLibrary, ABadPathOrALibraryWithoutTheFactoryIsAClearError) {
  EXPECT_THROW(PluginLibrary("/nonexistent/libsonvero.so"), std::runtime_error);
  EXPECT_THROW(PluginLibrary("libc.so.6"), std::runtime_error);
  tk::SimulatedLoop loop;
  HostSession session(NULL_FACTORY_PLUGIN, loop);
  EXPECT_THROW(session.start(), std::runtime_error) << "a factory that makes nothing";
}

}  // namespace
