#include "vantorhost/desktop/show_menu.h"

#include <QFileDialog>
#include <QMenu>
#include <QMessageBox>

#include "toolkit/application.h"
#include "toolkit/qt/resource_path.h"
#include "vantorhost/base/log.h"
#include "vantorhost/show/show_file.h"

namespace vantorhost {

namespace {

constexpr const char* kFilter = "Shows (*.show);;All files (*)";

}  // namespace

ShowMenu::ShowMenu(QWidget& window, HostSession& session, std::filesystem::path file)
    : window_(window), session_(session), file_(std::move(file)), bar_(new QMenuBar(&window)) {
  QMenu* menu = bar_->addMenu("&Show");
  open_ = menu->addAction("&Open show\u2026", QKeySequence::Open, this, [this] { chooseAndOpen(); });
  save_ = menu->addAction("&Save show", QKeySequence::Save, this, [this] { save(); });
  saveAs_ = menu->addAction("Save show &as\u2026", QKeySequence::SaveAs, this, [this] { chooseAndSaveAs(); });
  takeDesignAsSaved();
  QObject::connect(&check_, &QTimer::timeout, this, [this] { checkForChanges(); });
  check_.start(kCheckMs);
}

bool ShowMenu::openShow(const std::filesystem::path& file) {
  // The show's parameters go into the main window, which must be open.
  session_.openMainWindow();
  ShowOutcome opened;
  tk::app().runEvent([&] { opened = vantorhost::openShow(session_, file); });
  if (!opened) {
    report(opened.message);
    return false;
  }
  file_ = file;
  hostLog("opened the show " + file.string());
  takeDesignAsSaved();
  return true;
}

bool ShowMenu::saveShowAs(const std::filesystem::path& file) {
  IPluginDesign* plugin = session_.design();
  if (!plugin) return false;
  ShowDesign design = readDesign(*plugin);
  if (const ShowOutcome saved = saveShow(*plugin, design, file); !saved) {
    report(saved.message);
    return false;
  }
  file_ = file;
  hostLog("saved the show " + file.string());
  saved_ = std::move(design);
  showTitle();
  return true;
}

void ShowMenu::checkForChanges() { showTitle(); }

void ShowMenu::chooseAndOpen() {
  const QString file = QFileDialog::getOpenFileName(&window_, "Open show", dialogFolder(), kFilter);
  if (!file.isEmpty()) openShow(file.toStdString());
}

void ShowMenu::save() {
  if (file_.empty()) chooseAndSaveAs();
  else saveShowAs(file_);
}

void ShowMenu::chooseAndSaveAs() {
  const QString file = QFileDialog::getSaveFileName(&window_, "Save show as", dialogFolder(), kFilter);
  if (!file.isEmpty()) saveShowAs(file.toStdString());
}

void ShowMenu::takeDesignAsSaved() {
  if (IPluginDesign* plugin = session_.design()) saved_ = readDesign(*plugin);
  showTitle();
}

void ShowMenu::showTitle() {
  IPluginDesign* plugin = session_.design();
  const QString name = file_.empty() ? QString("untitled") : QString::fromStdString(file_.filename().string());
  window_.setWindowTitle(name + "[*] \u2014 Sonvero host");
  window_.setWindowModified(plugin && readDesign(*plugin) != saved_);
}

// Not modal: the DMX service and the plug-in's timers go on meanwhile.
void ShowMenu::report(const std::string& message) {
  hostLog(message);
  auto* box = new QMessageBox(QMessageBox::Warning, "Sonvero", QString::fromStdString(message), QMessageBox::Ok,
                              &window_);
  box->setAttribute(Qt::WA_DeleteOnClose);
  box->open();
}

// Beside the current show; else the starter shows installed with the program.
QString ShowMenu::dialogFolder() const {
  if (!file_.empty()) return QString::fromStdString(file_.parent_path().string());
  return tk::qt::findResource("shows");
}

}  // namespace vantorhost
