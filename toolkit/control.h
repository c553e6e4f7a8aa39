#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "toolkit/colors.h"

namespace tk {

class Form;

enum class ControlKind {
  CheckBox, OptionButton, Slider, VScrollBar, Label, TextBox, Frame, Line,
  Shape, CommandButton, ComboBox, ListView, Timer, LevelMeter, PictureBox
};

// Position and size in twips, relative to the container.
struct Geometry {
  int left = 0, top = 0, width = 0, height = 0;
  bool operator==(const Geometry&) const = default;
};

// A control model: the state a window shows, with the toolkit's own rules.
// Backends only display it; the model is the truth. Every change that a
// viewer could see bumps revision(), so a renderer can skip what is unchanged.
class Control {
 public:
  Control(Form& form, ControlKind kind, std::string name, int index = -1);
  virtual ~Control();
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  ControlKind kind() const { return kind_; }
  const std::string& name() const { return name_; }
  int index() const { return index_; }            // -1 outside a control array
  std::string displayName() const;                 // "Option1(2)" or "Check5"
  Form& form() const { return form_; }

  const std::string& caption() const { return common_.caption; }
  void setCaption(std::string caption);
  bool enabled() const { return common_.enabled; }
  void setEnabled(bool enabled);
  bool visible() const { return common_.visible; }
  void setVisible(bool visible);
  OleColor backColor() const { return common_.backColor; }
  void setBackColor(OleColor color);
  OleColor foreColor() const { return common_.foreColor; }
  void setForeColor(OleColor color);
  const Geometry& geometry() const { return common_.geometry; }
  void setGeometry(Geometry geometry);
  // The frame that holds the control; nullptr for the form itself.
  Control* container() const { return common_.container; }
  void setContainer(Control* container);
  // Puts the control into `container` (nullptr: the form) at a place in twips.
  void place(Control* container, int left, int top, int width, int height) {
    setContainer(container);
    setGeometry({left, top, width, height});
  }

  std::uint64_t revision() const { return revision_; }

  // A property by its name, formatted for traces; nullopt when the control
  // has no such property.
  virtual std::optional<std::string> property(std::string_view name) const;

  // Design values: taken once when the form is described, restored at
  // every load.
  void saveDesign();
  void restoreDesign();

  // Handler for a click by the user (buttons, labels, check boxes, options).
  std::function<void()> onClick;

 protected:
  virtual void saveOwnDesign() {}
  virtual void restoreOwnDesign() {}
  void touch() { ++revision_; }
  template <class T>
  void assign(T& field, T value) {
    if (!(field == value)) {
      field = std::move(value);
      touch();
    }
  }
  void fireClick() const {
    if (onClick) onClick();
  }

 private:
  struct Common {
    std::string caption;
    bool enabled = true;
    bool visible = true;
    OleColor backColor = kButtonFace;
    OleColor foreColor = kWindowText;
    Geometry geometry;
    Control* container = nullptr;
  };
  Form& form_;
  ControlKind kind_;
  std::string name_;
  int index_;
  Common common_, commonDesign_;
  std::uint64_t revision_ = 0;
};

// A control whose own state is one copyable struct, saved and restored
// whole for the design values.
template <class State>
class StatefulControl : public Control {
 public:
  using Control::Control;

 protected:
  void saveOwnDesign() override { design_ = state_; }
  void restoreOwnDesign() override {
    state_ = design_;
    touch();
  }
  State state_{};

 private:
  State design_{};
};

}  // namespace tk
