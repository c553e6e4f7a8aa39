#include <gtest/gtest.h>

#include <regex>

#include "plugin/clsVantorPlugIn.h"
#include "hostlink/vantor.h"
#include "tests/foundation/recording_helper.h"
#include "toolkit/application.h"
#include "toolkit/simulated_loop.h"
#include "ui/Main.h"
#include "vantorhost/host_session.h"

using namespace vantorhost;

namespace {

using Entry = VantorTypeLib::ModuleInfo::Entry;

TEST(PluginObject, AnswersTheHostWithoutCallingIt) {
  clsVantorPlugIn object;
  auto& plugin = object.plugin();
  auto helper = std::make_shared<RecordingHelper>();
  std::string title = "host", file = "x.so";
  std::int32_t msg = 1, a = 2, b = 3;
  EXPECT_EQ(object.PluginName(), "Sonvero v0.16.0a");
  EXPECT_EQ(plugin.PluginName(), "Sonvero v0.16.0a");
  EXPECT_TRUE(plugin.Init(title, file, helper));
  EXPECT_EQ(Vantor::pluginHelper, helper);
  EXPECT_TRUE(plugin.Term());
  EXPECT_EQ(Vantor::pluginHelper, helper) << "Term keeps the helper";
  EXPECT_TRUE(plugin.Enable());
  EXPECT_FALSE(plugin.Disable());
  EXPECT_TRUE(plugin.Configure());
  EXPECT_EQ(plugin.MessageHandle(msg, a, b), 0);
  EXPECT_TRUE(helper->calls.empty());
  Vantor::pluginHelper.reset();
}

TEST(PluginObject, ModuleInfoSetsFourteenEntriesInOrder) {
  clsVantorPlugIn object;
  auto info = object.module().GetModuleInfo();
  const std::vector<Entry> expected = {
      Entry::Guid,     Entry::Name,        Entry::Description, Entry::Author,        Entry::ShowInMenu,
      Entry::ShowInToolbar, Entry::Kind,   Entry::TemplateName, Entry::Window,       Entry::HelpContext,
      Entry::IconIndex, Entry::StartWithHost, Entry::SingleInstance, Entry::Parameters};
  EXPECT_EQ(info->order, expected);
  EXPECT_TRUE(std::regex_match(info->guid, std::regex(
      R"(\{[0-9a-f]{8}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{12}\})")));
  EXPECT_EQ(info->guid.size(), 38u);
  EXPECT_EQ(info->name, "Sonvero");
  EXPECT_EQ(info->description, "Erweiterte Brivola Steuerung");
  EXPECT_EQ(info->showInMenu, -1);
  EXPECT_EQ(info->showInToolbar, -1);
  EXPECT_EQ(info->kind, 2);
  EXPECT_EQ(info->templateName, "frmTutorMain");
  EXPECT_EQ(info->window, &mainForm());
  EXPECT_EQ(info->helpContext, 0);
  EXPECT_EQ(info->iconIndex, 0);
  EXPECT_EQ(info->startWithHost, -1);
  EXPECT_EQ(info->singleInstance, -1);
  EXPECT_EQ(info->parameters, (std::vector<std::int32_t>{3, 15}));
}

TEST(PluginObject, EveryModuleInfoIsNewButNamesTheSameWindow) {
  clsVantorPlugIn object;
  auto first = object.module().GetModuleInfo();
  auto second = object.module().GetModuleInfo();
  EXPECT_NE(first.get(), second.get());
  EXPECT_EQ(second->parameters.size(), 2u) << "items go into the new object's own collection";
  EXPECT_EQ(first->window, second->window);
  EXPECT_FALSE(mainForm().loaded()) << "nothing runs before the host loads the window";
}

// The real library, loaded as the host loads it.
class LoadedPlugin : public ::testing::Test {
 protected:
  void SetUp() override { tk::app().setLoop(&loop); }
  void TearDown() override {
    session.stop();
    tk::app().setLoop(nullptr);
  }
  tk::SimulatedLoop loop;
  HostSession session{SONVERO_PLUGIN_PATH, loop};
};

TEST_F(LoadedPlugin, LoadsAndShowsMainWithItsTimers) {
  session.start();
  ASSERT_NE(session.mainWindow(), nullptr);
  EXPECT_TRUE(session.mainWindow()->loaded());
  ASSERT_EQ(tk::app().forms().size(), 1u);
  EXPECT_EQ(tk::app().forms()[0]->name(), "Main");
  EXPECT_EQ(loop.nextDue(), 75) << "Timer1 runs every 75 ms from the load";
}

TEST_F(LoadedPlugin, TablesStartAtZeroAndAReloadZeroesThemAgain) {
  session.start();
  IPluginDiagnostics* tables = session.diagnostics();
  ASSERT_NE(tables, nullptr);
  EXPECT_EQ(tables->readBar(0).number, 0);
  tables->writeList(1, 0, {5, 12});
  tables->writeBar(0, 10, 12, 100, 100, 0, 1);
  tables->writeList(3, 0, {7});
  EXPECT_EQ(tables->readBar(0).channelSummary, 512);
  session.reload();
  tables = session.diagnostics();
  EXPECT_EQ(tables->readBar(0).number, 0);
  EXPECT_TRUE(tables->readList(1, 0).empty());
  EXPECT_TRUE(tables->readList(3, 0).empty());
  ASSERT_EQ(tk::app().forms().size(), 1u) << "the old window left with the old module";
  EXPECT_TRUE(session.mainWindow()->loaded());
}

TEST(PluginLibraryLoad, ABadPathIsAClearError) {
  EXPECT_THROW(PluginLibrary("/nonexistent/libsonvero.so"), std::runtime_error);
  EXPECT_THROW(PluginLibrary("libc.so.6"), std::runtime_error) << "a library without the factory";
}

}  // namespace
