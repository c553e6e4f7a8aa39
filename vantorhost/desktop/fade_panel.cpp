#include "vantorhost/desktop/fade_panel.h"

#include <QSignalBlocker>

#include "vantorhost/desktop/panel_row.h"

namespace vantorhost {

FadePanel::FadePanel(HostSession& session, QWidget* parent)
    : QWidget(parent), session_(session), box_(new StepSpinBox(HostDesign::kMaxFadeMs, kStepMs, " ms")) {
  box_->setValue(session_.hostDesign().fadeMs);
  box_->setToolTip("How long a channel takes to fall; rises go out at once (part of the show)");
  layOutPanelRow(*this, "Fade:", {box_});
  QObject::connect(box_, &QSpinBox::valueChanged, this, [this](int ms) {
    HostDesign design = session_.hostDesign();
    design.fadeMs = ms;
    session_.setHostDesign(design);
  });
  watch_ = session_.watchHostDesign([this](const HostDesign& design) {
    const QSignalBlocker quiet(box_);
    box_->setValue(design.fadeMs);
  });
}

FadePanel::~FadePanel() { session_.unwatchHostDesign(watch_); }

}  // namespace vantorhost
