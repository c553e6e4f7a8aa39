#pragma once
#include <QAction>
#include <QMenuBar>
#include <QTimer>
#include <QWidget>
#include <filesystem>
#include <string>

#include "vantorhost/session/host_session.h"
#include "vantorhost/show/show_design.h"

namespace vantorhost {

// The host window's "Show" menu: "Open show…" (Ctrl+O), "Save show"
// (Ctrl+S, to the file the show came from) and "Save show as…", and the
// window's title: the show's name with a `*` while the design differs from
// the one last opened or saved. The design is compared once a second. It
// lives no longer than the window; the window owns the menu bar.
class ShowMenu : public QObject {
 public:
  static constexpr int kCheckMs = 1000;

  // `file`: the show the run started with; empty for none.
  ShowMenu(QWidget& window, HostSession& session, std::filesystem::path file);

  QMenuBar* menuBar() const { return bar_; }
  QAction& openAction() const { return *open_; }
  QAction& saveAction() const { return *save_; }
  QAction& saveAsAction() const { return *saveAs_; }

  // What the actions do once a file is chosen; false (logged, and shown in
  // a message box) when it failed and nothing changed.
  bool openShow(const std::filesystem::path& file);
  bool saveShowAs(const std::filesystem::path& file);
  // Compares the design with the one last opened or saved.
  void checkForChanges();

  const std::filesystem::path& file() const { return file_; }

 private:
  void chooseAndOpen();
  void save();
  void chooseAndSaveAs();
  void takeDesignAsSaved();
  void showTitle();
  void report(const std::string& message);
  QString dialogFolder() const;

  QWidget& window_;
  HostSession& session_;
  std::filesystem::path file_;
  ShowDesign saved_;
  QMenuBar* bar_;
  QAction *open_, *save_, *saveAs_;
  QTimer check_;
};

}  // namespace vantorhost
