#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "toolkit/control.h"
#include "toolkit/drawing.h"

namespace tk {

enum class UnloadMode { CloseBox = 0, Code = 1, HostClosing = 5 };

// The window's frame, a design property: a fixed single frame with the
// minimise button (the default), or a fixed dialog frame (no minimise or
// maximise, no task-bar entry; opened over the application's main window).
enum class BorderStyle { FixedSingle, FixedDialog };

// A window: its controls, its drawing and its place in the collection of
// loaded forms. Controls are members of the concrete form; they register
// themselves here in the order they are declared.
class Form {
 public:
  Form(std::string name, std::string designCaption, int clientWidth, int clientHeight);
  virtual ~Form();
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  const std::string& name() const { return name_; }
  const std::string& caption() const { return caption_; }
  void setCaption(std::string caption);
  int clientWidth() const { return clientWidth_; }
  int clientHeight() const { return clientHeight_; }
  BorderStyle borderStyle() const { return borderStyle_; }

  // Lifecycle. load() restores the controls' design values, joins the
  // loaded forms and runs Form_Load; show() loads if needed and makes the
  // window visible (modeless). unload() asks QueryUnload, which may cancel.
  void load();
  void show();
  bool unload(UnloadMode mode = UnloadMode::Code);
  // Leaves the collection at once, without events: the host dropping a
  // plug-in module.
  void discard();
  bool loaded() const { return loaded_; }
  bool visible() const { return visible_; }

  // Drawing: Cls empties the list, lineBox appends a box.
  void Cls();
  void lineBox(float x1, float y1, float x2, float y2, OleColor color, bool filled);
  const DrawingList& drawing() const { return drawing_; }
  std::uint64_t drawingRevision() const { return drawingRevision_; }

  const std::vector<Control*>& controls() const { return controls_; }
  Control* findControl(std::string_view name, int index = -1) const;
  void registerControl(Control& c) { controls_.push_back(&c); }
  void unregisterControl(Control& c);

  std::uint64_t revision() const { return revision_; }

 protected:
  virtual void Form_Load() {}
  virtual void Form_QueryUnload(int& /*cancel*/, UnloadMode /*mode*/) {}
  virtual void Form_Unload() {}
  // Called at the end of the concrete form's constructor: the controls'
  // current values become their design values.
  void finishDesign();
  void setBorderStyle(BorderStyle style) { borderStyle_ = style; }

 private:
  void syncTimers();
  std::string name_, caption_, designCaption_;
  int clientWidth_, clientHeight_;
  BorderStyle borderStyle_ = BorderStyle::FixedSingle;
  bool loaded_ = false, visible_ = false;
  std::vector<Control*> controls_;
  DrawingList drawing_;
  std::uint64_t drawingRevision_ = 0, revision_ = 0;
};

}  // namespace tk
