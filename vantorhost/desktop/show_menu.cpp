#include "vantorhost/desktop/show_menu.h"

#include <QFileDialog>
#include <QMenu>
#include <QMessageBox>
#include <QStandardPaths>

#include "toolkit/application.h"
#include "toolkit/qt/resource_path.h"
#include "vantorhost/base/log.h"
#include "vantorhost/show/show_file.h"
#include "vantorhost/show/starter_show.h"

namespace vantorhost {

namespace {

constexpr const char* kFilter = "Shows (*.show);;All files (*)";

}  // namespace

ShowMenu::ShowMenu(QWidget& window, HostSession& session, std::filesystem::path file,
                   std::filesystem::path starterFolder, bool changed)
    : window_(window),
      session_(session),
      file_(std::move(file)),
      starterFolder_(starterFolder.empty() ? std::filesystem::path(tk::qt::findResource("shows").toStdString())
                                           : std::move(starterFolder)),
      template_(isStarterShow(file_, starterFolder_)),
      bar_(new QMenuBar(&window)) {
  QMenu* menu = bar_->addMenu("&Show");
  open_ = menu->addAction("&Open show\u2026", QKeySequence::Open, this, [this] { chooseAndOpen(); });
  save_ = menu->addAction("&Save show", QKeySequence::Save, this, [this] { save(); });
  saveAs_ = menu->addAction("Save show &as\u2026", QKeySequence::SaveAs, this, [this] { chooseAndSaveAs(); });
  askAboutChanges = [this] {
    const QString name = file_.empty() ? QString("The design") : QString::fromStdString(file_.filename().string());
    const auto answer = QMessageBox::question(
        &window_, "Sonvero", name + " has changes that are not saved in a show. Save them first?",
        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
    return answer == QMessageBox::Save ? Unsaved::Save : answer == QMessageBox::Discard ? Unsaved::Discard
                                                                                       : Unsaved::Cancel;
  };
  askForShowToOpen = [this] {
    return std::filesystem::path(
        QFileDialog::getOpenFileName(&window_, "Open show", openFolder(), kFilter).toStdString());
  };
  askForShowToSave = [this] {
    // The dialog itself adds ".show", so that it asks before replacing the file really written.
    // A folder, not a file in it: the name starts empty.
    QFileDialog dialog(&window_, "Save show as", QString::fromStdString(saveFolder().string()), kFilter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QString(kShowExtension).mid(1));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::filesystem::path();
    return std::filesystem::path(dialog.selectedFiles().front().toStdString());
  };
  takeDesignAsSaved();
  // A design kept from the last run with changes: the show's own design is
  // what it was saved as.
  if (changed && !file_.empty() && session_.design()) {
    const ShowRead read = readShowFile(file_, *session_.design(), &session_.fixtureLibrary());
    saved_ = read.design ? openedOver(*read.design, saved_) : ShowDesign{};
    showTitle();
  }
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
  template_ = isStarterShow(file_, starterFolder_);
  hostLog("opened the show " + file.string() + (template_ ? " (a starter show: saving it asks for a file of your own)" : ""));
  takeDesignAsSaved();
  return true;
}

bool ShowMenu::saveShowAs(const std::filesystem::path& chosen) {
  IPluginDesign* plugin = session_.design();
  if (!plugin) return false;
  const std::filesystem::path file = withShowExtension(chosen);
  ShowDesign design = readDesign(session_);
  if (const ShowOutcome saved = saveShow(*plugin, design, file); !saved) {
    report(saved.message);
    return false;
  }
  file_ = file;
  template_ = isStarterShow(file_, starterFolder_);
  hostLog("saved the show " + file.string());
  saved_ = std::move(design);
  showTitle();
  return true;
}

void ShowMenu::checkForChanges() { showTitle(); }

bool ShowMenu::modified() const {
  return session_.design() && readDesign(session_) != saved_;
}

bool ShowMenu::mayReplaceDesign() {
  if (!modified()) return true;
  switch (askAboutChanges()) {
    case Unsaved::Save:
      return save();
    case Unsaved::Discard:
      return true;
    case Unsaved::Cancel:
      break;
  }
  return false;
}

bool ShowMenu::mayQuit() {
  // Untitled and starter designs are kept in Sonvero.show all the same.
  return file_.empty() || template_ || mayReplaceDesign();
}

void ShowMenu::chooseAndOpen() {
  if (!mayReplaceDesign()) return;
  const std::filesystem::path file = askForShowToOpen();
  if (!file.empty()) openShow(file);
}

bool ShowMenu::save() {
  if (file_.empty() || template_) return chooseAndSaveAs();
  return saveShowAs(file_);
}

bool ShowMenu::chooseAndSaveAs() {
  const std::filesystem::path file = askForShowToSave();
  return !file.empty() && saveShowAs(file);
}

void ShowMenu::takeDesignAsSaved() {
  if (session_.design()) saved_ = readDesign(session_);
  showTitle();
}

void ShowMenu::showTitle() {
  const QString name = file_.empty() ? QString("untitled") : QString::fromStdString(file_.filename().string());
  window_.setWindowTitle(name + (template_ ? " (starter show)" : "") + "[*] \u2014 Sonvero host");
  // Only on a change: Qt hands the title to the window system each time.
  if (const bool changed = modified(); changed != window_.isWindowModified()) window_.setWindowModified(changed);
}

// Not modal: the DMX service and the plug-in's timers go on meanwhile.
void ShowMenu::report(const std::string& message) {
  hostLog(message);
  auto* box = new QMessageBox(QMessageBox::Warning, "Sonvero", QString::fromStdString(message), QMessageBox::Ok,
                              &window_);
  box->setAttribute(Qt::WA_DeleteOnClose);
  box->open();
}

// Beside the current show; with no show yet, the starter shows.
QString ShowMenu::openFolder() const {
  if (!file_.empty()) return QString::fromStdString(file_.parent_path().string());
  return QString::fromStdString(starterFolder_.string());
}

// A starter show is saved among the user's own shows, never beside it.
std::filesystem::path ShowMenu::saveFolder() const {
  std::error_code ec;
  if (!file_.empty() && !template_ && std::filesystem::is_directory(file_.parent_path(), ec)) return file_.parent_path();
  const std::filesystem::path own =
      std::filesystem::path(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation).toStdString()) /
      "sonvero" / "shows";
  if (std::filesystem::create_directories(own, ec) || std::filesystem::is_directory(own, ec)) return own;
  return QStandardPaths::writableLocation(QStandardPaths::HomeLocation).toStdString();
}

}  // namespace vantorhost
