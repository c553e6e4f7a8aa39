#include "toolkit/form.h"

#include <algorithm>

#include "toolkit/application.h"
#include "toolkit/timer.h"

namespace tk {

Form::Form(std::string name, std::string designCaption, int clientWidth, int clientHeight)
    : name_(std::move(name)),
      caption_(designCaption),
      designCaption_(std::move(designCaption)),
      clientWidth_(clientWidth),
      clientHeight_(clientHeight) {}

Form::~Form() {
  if (loaded_) app().formLeft(*this);
}

void Form::setCaption(std::string caption) {
  if (caption_ != caption) {
    caption_ = std::move(caption);
    ++revision_;
  }
}

void Form::finishDesign() {
  for (Control* c : controls_) c->saveDesign();
}

void Form::load() {
  if (loaded_) return;
  caption_ = designCaption_;
  for (Control* c : controls_) c->restoreDesign();
  drawing_.clear();
  ++drawingRevision_;
  ++revision_;
  loaded_ = true;
  app().formLoaded(*this);
  Form_Load();
  syncTimers();
}

void Form::show() {
  load();
  if (!loaded_) return;  // Form_Load unloaded it again
  visible_ = true;
  ++revision_;
  app().formShown(*this);
}

bool Form::unload(UnloadMode mode) {
  if (!loaded_) return true;
  int cancel = 0;
  Form_QueryUnload(cancel, mode);
  if (cancel) return false;
  Form_Unload();
  discard();
  return true;
}

void Form::discard() {
  if (!loaded_) return;
  loaded_ = false;
  visible_ = false;
  ++revision_;
  syncTimers();
  app().formLeft(*this);
}

void Form::syncTimers() {
  for (Control* c : controls_)
    if (c->kind() == ControlKind::Timer) static_cast<Timer*>(c)->sync();
}

void Form::Cls() {
  drawing_.clear();
  ++drawingRevision_;
}

void Form::lineBox(float x1, float y1, float x2, float y2, OleColor color, bool filled) {
  drawing_.push_back({x1, y1, x2, y2, color, filled});
  ++drawingRevision_;
}

Control* Form::findControl(std::string_view name, int index) const {
  for (Control* c : controls_)
    if (c->name() == name && c->index() == index) return c;
  return nullptr;
}

void Form::unregisterControl(Control& c) {
  controls_.erase(std::remove(controls_.begin(), controls_.end(), &c), controls_.end());
}

}  // namespace tk
