#pragma once
#include <QAction>
#include <QMenuBar>
#include <QTimer>
#include <QWidget>
#include <filesystem>
#include <functional>
#include <string>

#include "vantorhost/session/host_session.h"
#include "vantorhost/show/show_design.h"

namespace vantorhost {

// The host window's "Show" menu: "Open show…" (Ctrl+O), "Save show"
// (Ctrl+S, to the file the show came from) and "Save show as…", and the
// window's title: the show's name with a `*` while the design differs from
// the one last opened or saved. The design is compared once a second.
// Opening a show over unsaved changes asks first (save, discard, cancel),
// and so does quitting with changes to a show of the user's own. A starter
// show is a template: "Save show" asks for a file of the user's own, as
// "Save show as…" does, and a name without an extension gets ".show".
// "Save show as…" starts in the folder of the show, or in Sonvero's own
// shows folder. It lives no longer than the window; the window owns the
// menu bar.
class ShowMenu : public QObject {
 public:
  static constexpr int kCheckMs = 1000;
  enum class Unsaved { Save, Discard, Cancel };

  // `file`: the show the run started with; empty for none. `starterFolder`:
  // where the starter shows were installed; empty: the program's own.
  // `changed`: the design already differs from the one in `file` (a design
  // kept from the last run), which the title then says.
  ShowMenu(QWidget& window, HostSession& session, std::filesystem::path file,
           std::filesystem::path starterFolder = {}, bool changed = false);

  QMenuBar* menuBar() const { return bar_; }
  QAction& openAction() const { return *open_; }
  QAction& saveAction() const { return *save_; }
  QAction& saveAsAction() const { return *saveAs_; }

  // What the actions do once a file is chosen; false (logged, and shown in
  // a message box) when it failed and nothing changed. saveShowAs adds
  // ".show" to a name without an extension.
  bool openShow(const std::filesystem::path& file);
  bool saveShowAs(const std::filesystem::path& file);
  // Compares the design with the one last opened or saved.
  void checkForChanges();
  bool modified() const;
  // Whether Sonvero may quit: no unsaved changes to a show of the user's
  // own, or the user saved or discarded them.
  bool mayQuit();
  // Where "Save show as…" starts: the folder of the show, else Sonvero's
  // own shows folder (made when needed).
  std::filesystem::path saveFolder() const;

  const std::filesystem::path& file() const { return file_; }
  // The show is a starter show: saving it asks for another file.
  bool isTemplate() const { return template_; }

  // The questions the actions ask; dialogs unless set otherwise (tests).
  // What to do with unsaved changes before another show replaces them.
  std::function<Unsaved()> askAboutChanges;
  // The show to open, the file to save to; empty: the user cancelled.
  std::function<std::filesystem::path()> askForShowToOpen, askForShowToSave;

 private:
  void chooseAndOpen();
  // False when the user cancelled or the save failed.
  bool save();
  bool chooseAndSaveAs();
  // Whether the design may be replaced: no unsaved changes, or the user
  // saved or discarded them.
  bool mayReplaceDesign();
  void takeDesignAsSaved();
  void showTitle();
  void report(const std::string& message);
  QString openFolder() const;

  QWidget& window_;
  HostSession& session_;
  std::filesystem::path file_;
  std::filesystem::path starterFolder_;
  bool template_ = false;
  ShowDesign saved_;
  QMenuBar* bar_;
  QAction *open_, *save_, *saveAs_;
  QTimer check_;
};

}  // namespace vantorhost
