#pragma once
#include <functional>
#include <memory>
#include <vector>

#include "toolkit/event_loop.h"

namespace tk {

class Form;

// Watches the forms, for a backend that shows them.
class FormObserver {
 public:
  virtual ~FormObserver() = default;
  virtual void formShown(Form&) {}
  virtual void formLeft(Form&) {}
  // After each event (timer, user action) has run to its end.
  virtual void afterEvent() {}
};

// The user-interface runtime shared by the host and the plug-in: the
// collection of loaded forms, the forms it owns, and the event loop.
class Application {
 public:
  EventLoop* loop() const { return loop_; }
  void setLoop(EventLoop* loop) { loop_ = loop; }

  // Loaded forms, oldest first.
  const std::vector<Form*>& forms() const { return forms_; }

  // A new instance of a form that the collection owns until it is unloaded
  // (dialogs that can be open several times).
  template <class F, class... Args>
  F& create(Args&&... args) {
    auto form = std::make_unique<F>(std::forward<Args>(args)...);
    F& ref = *form;
    owned_.push_back(std::move(form));
    return ref;
  }

  // Runs one event; when the outermost event ends, forms that were unloaded
  // are deleted and observers are told.
  void runEvent(const std::function<void()>& event);

  // Unloads every form at once without events and deletes the owned ones:
  // the host dropping the plug-in module.
  void discardAll();

  void addObserver(FormObserver* observer);
  void removeObserver(FormObserver* observer);

  // Called by Form.
  void formLoaded(Form& form);
  void formShown(Form& form);
  void formLeft(Form& form);

 private:
  void collect();
  EventLoop* loop_ = nullptr;
  std::vector<Form*> forms_;
  std::vector<std::unique_ptr<Form>> owned_;
  std::vector<FormObserver*> observers_;
  int depth_ = 0;
};

Application& app();

}  // namespace tk
