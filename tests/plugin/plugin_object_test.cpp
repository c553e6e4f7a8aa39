// The plug-in class as the host meets it; what each entry of the module
// information holds is the golden script foundation_moduleinfo's.
#include <gtest/gtest.h>

#include "plugin/clsVantorPlugIn.h"
#include "ui/Main.h"

namespace {

TEST(PluginObject, EveryModuleInfoIsNewButNamesTheSameWindow) {
  clsVantorPlugIn object;
  auto first = object.module().GetModuleInfo();
  auto second = object.module().GetModuleInfo();
  EXPECT_NE(first.get(), second.get());
  EXPECT_EQ(second->parameters.size(), 2u) << "items go into the new object's own collection";
  EXPECT_EQ(first->window, &mainForm());
  EXPECT_EQ(second->window, &mainForm());
  EXPECT_FALSE(mainForm().loaded()) << "nothing runs before the host loads the window";
}

}  // namespace
