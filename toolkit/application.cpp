#include "toolkit/application.h"

#include <algorithm>

#include "toolkit/form.h"

namespace tk {

Application& app() {
  static Application instance;
  return instance;
}

void Application::runEvent(const std::function<void()>& event) {
  ++depth_;
  event();
  --depth_;
  if (depth_ == 0) {
    collect();
    for (FormObserver* o : observers_) o->afterEvent();
  }
}

void Application::collect() {
  owned_.erase(std::remove_if(owned_.begin(), owned_.end(),
                              [](const std::unique_ptr<Form>& f) { return !f->loaded(); }),
               owned_.end());
}

void Application::discardAll() {
  while (!forms_.empty()) forms_.back()->discard();
  owned_.clear();
}

void Application::addObserver(FormObserver* observer) { observers_.push_back(observer); }

void Application::removeObserver(FormObserver* observer) {
  observers_.erase(std::remove(observers_.begin(), observers_.end(), observer), observers_.end());
}

void Application::formLoaded(Form& form) { forms_.push_back(&form); }

void Application::formShown(Form& form) {
  for (FormObserver* o : observers_) o->formShown(form);
}

void Application::formLeft(Form& form) {
  auto it = std::find(forms_.begin(), forms_.end(), &form);
  if (it == forms_.end()) return;
  forms_.erase(it);
  for (FormObserver* o : observers_) o->formLeft(form);
}

}  // namespace tk
