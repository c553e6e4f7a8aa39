#pragma once
#include <string>

#include "toolkit/control.h"

// Controls without rules of their own: they show a caption, a text or a
// colour, and buttons and labels take clicks.
namespace tk {

class Label : public Control {
 public:
  Label(Form& form, std::string name, std::string caption = {})
      : Control(form, ControlKind::Label, std::move(name)) {
    setCaption(std::move(caption));
  }
  bool wordWrap = false;
  void userClick() {
    if (enabled()) fireClick();
  }
};

class Frame : public Control {
 public:
  Frame(Form& form, std::string name, std::string caption = {})
      : Control(form, ControlKind::Frame, std::move(name)) {
    setCaption(std::move(caption));
  }
};

class Shape : public Control {
 public:
  Shape(Form& form, std::string name) : Control(form, ControlKind::Shape, std::move(name)) {}
};

// A picture; `resource` names an image file shipped with the program.
class PictureBox : public Control {
 public:
  PictureBox(Form& form, std::string name, std::string resource)
      : Control(form, ControlKind::PictureBox, std::move(name)), resource_(std::move(resource)) {}
  const std::string& resource() const { return resource_; }

 private:
  std::string resource_;
};

class CommandButton : public Control {
 public:
  CommandButton(Form& form, std::string name, std::string caption)
      : Control(form, ControlKind::CommandButton, std::move(name)) {
    setCaption(std::move(caption));
  }
  bool isDefault = false;  // Enter presses it
  bool isCancel = false;   // Escape presses it
  void userClick() {
    if (enabled()) fireClick();
  }
};

class TextBox : public StatefulControl<std::string> {
 public:
  TextBox(Form& form, std::string name, std::string text = {})
      : StatefulControl(form, ControlKind::TextBox, std::move(name)) {
    state_ = std::move(text);
  }
  const std::string& text() const { return state_; }
  void setText(std::string text) { assign(state_, std::move(text)); }
  std::optional<std::string> property(std::string_view name) const override;
};

}  // namespace tk
