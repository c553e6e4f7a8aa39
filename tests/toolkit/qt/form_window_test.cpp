// The generic renderer on what Sonvero's own forms never do: a close the
// form refuses. Everything else it shows through Sonvero's windows
// (tests/desktop).
#include <QCheckBox>

#include "tests/support/qt_fixture.h"
#include "toolkit/check_box.h"

namespace {

class SampleForm : public tk::Form {
 public:
  SampleForm() : tk::Form("Sample", "Probe", 6000, 4500) {
    Check1.setGeometry({120, 120, 1500, 255});
    finishDesign();
  }
  tk::CheckBox Check1{*this, "Check1", "An"};
  int queryUnloads = 0;
  bool refuseClose = false;

 protected:
  void Form_QueryUnload(int& cancel, tk::UnloadMode) override {
    ++queryUnloads;
    cancel = refuseClose ? 1 : 0;
  }
};

using FormWindowTest = support::QtFixture;

}  // namespace

TEST_F(FormWindowTest, ARefusedCloseKeepsTheWindowAndAReopenedFormGetsAFreshOne) {
  SampleForm form;
  show(form);
  form.refuseClose = true;
  window(form)->close();
  EXPECT_TRUE(form.loaded());
  ASSERT_NE(window(form), nullptr);
  form.refuseClose = false;
  window(form)->close();
  EXPECT_EQ(form.queryUnloads, 2);
  EXPECT_EQ(window(form), nullptr);
  settle();
  show(form);
  EXPECT_NE(widgetAs<QCheckBox>(form.Check1), nullptr);
}

