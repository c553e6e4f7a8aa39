#pragma once
#include <QComboBox>
#include <QWidget>
#include <functional>
#include <string>

#include "toolkit/qt/level_meter_widget.h"

namespace vantorhost {

// The audio source in the host window: a combo box with the sound server's
// sources (the monitors of its outputs first, by the server's
// descriptions), the demo track, silence and "File…", and the live input
// level beside it. A choice takes effect at once: the bridge closes the
// old source and opens the new one (a sound server source reads silence
// until it answers). One that cannot be opened leaves the old one.
class SourceChooser : public QWidget {
 public:
  static constexpr const char* kFileEntry = "File\u2026";

  explicit SourceChooser(QWidget* parent = nullptr);

  // Opens `uri`; false (logged, the old source stays) when it cannot.
  bool choose(const std::string& uri);
  // Shows the highest level the plug-in read since the last call and
  // returns it (full scale 16000); -1 when it read nothing.
  int showLevel();
  // Told each source taken by the user.
  std::function<void(const std::string& uri)> onChosen;
  // Asks for the file to play ("File…"); empty: none. A file dialog unless
  // set otherwise.
  std::function<std::string()> askForFile;

  QComboBox& box() const { return *box_; }
  tk::qt::LevelMeterWidget& level() const { return *level_; }

 private:
  void fill();
  void showCurrent();
  void activated(int index);

  QComboBox* box_;
  // A segment meter: it repaints only the segments that change, where a
  // progress bar repaints itself whole, at once, for each new value.
  tk::qt::LevelMeterWidget* level_;
};

}  // namespace vantorhost
