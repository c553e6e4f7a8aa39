#pragma once
#include <QWidget>

#include "vantorhost/desktop/step_spin_box.h"
#include "vantorhost/session/host_session.h"

namespace vantorhost {

// The fade of the output, 0..2000 ms in steps of 50: how long a channel
// takes to fall to a lower value (rises go out at once, so beats stay
// sharp). Part of the show: a change here is a change of the design, and
// opening a show sets the box.
class FadePanel : public QWidget {
 public:
  static constexpr int kStepMs = 50;

  explicit FadePanel(HostSession& session, QWidget* parent = nullptr);
  ~FadePanel() override;

  StepSpinBox& box() const { return *box_; }

 private:
  HostSession& session_;
  StepSpinBox* box_;
  int watch_;
};

}  // namespace vantorhost
