#pragma once
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>

#include "vantorhost/session/host_session.h"

namespace vantorhost {

// The patch window: the fixture library searched as you type (manufacturer,
// model), a mode of the chosen fixture, the next free address offered, and
// one or several fixtures of that model added at once; the patch as a list
// with each fixture's channels; and for the selected fixture "Drive": its
// channels of one attribute (red, green, blue, white, dimmer) added to one
// of the design's lists (a bar's, VU left or right, a beat list), so the
// design stays the plug-in's channel lists. Changes go to the session's
// host design (part of the show); the window follows it when a show is
// opened. Fits a 1366 x 768 screen.
class PatchWindow : public QDialog {
 public:
  // At most this many search results are listed (the rest by typing more).
  static constexpr int kMaxResults = 400;
  static constexpr int kMaxAtOnce = 64;

  explicit PatchWindow(HostSession& session, QWidget* parent = nullptr);
  ~PatchWindow() override;

  QLineEdit& search() const { return *search_; }
  QListWidget& results() const { return *results_; }
  QComboBox& mode() const { return *mode_; }
  QLineEdit& name() const { return *name_; }
  QSpinBox& address() const { return *address_; }
  QSpinBox& count() const { return *count_; }
  QPushButton& addButton() const { return *add_; }
  QTableWidget& fixtures() const { return *fixtures_; }
  QPushButton& removeButton() const { return *remove_; }
  QComboBox& attribute() const { return *attribute_; }
  QComboBox& source() const { return *source_; }
  QPushButton& driveButton() const { return *drive_; }
  // What the last action said (a refusal, what was added or driven).
  QLabel& message() const { return *message_; }

  // The actions the buttons take.
  void addFixtures();
  void removeFixture();
  void driveFixture();

 private:
  void searchLibrary();
  void chooseDefinition();
  void offerAddress();
  void showPatch();
  void showSources();
  // The mode's channel count, 0 for none chosen.
  int modeChannels() const;

  HostSession& session_;
  int watch_;
  std::shared_ptr<const FixtureDefinition> chosen_;
  QLineEdit* search_;
  QListWidget* results_;
  QComboBox* mode_;
  QLineEdit* name_;
  QSpinBox *address_, *count_;
  QPushButton* add_;
  QTableWidget* fixtures_;
  QPushButton* remove_;
  QComboBox *attribute_, *source_;
  QPushButton* drive_;
  QLabel* message_;
};

}  // namespace vantorhost
