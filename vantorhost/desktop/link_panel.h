#pragma once
#include <QCheckBox>
#include <QLabel>
#include <QWidget>

#include "vantorhost/link/beat_source.h"
#include "vantorhost/link/link_session.h"
#include "vantorhost/run/host_settings.h"

namespace vantorhost {

// Ableton Link: a toggle that joins or leaves the session on the local
// network, kept in the host settings file, and beside it the number of
// other peers and the session's tempo, and what drives the beat output now
// (the session, or the tracker while the session cannot: Link off, no other
// peer). It has no timer of its own: the host window calls refresh() on its
// upkeep.
class LinkPanel : public QWidget {
 public:
  // `kept` may be null: nothing kept.
  LinkPanel(LinkSession& link, const BeatSource& beats, HostSettingsFile* kept, QWidget* parent = nullptr);

  void refresh();

  QCheckBox& toggle() const { return *toggle_; }
  // "2 peers, 124.0 BPM" or "off"; its tip says what drives the beats.
  QLabel& sessionText() const { return *sessionText_; }

 private:
  LinkSession& link_;
  const BeatSource& beats_;
  HostSettingsFile* kept_;
  QCheckBox* toggle_;
  QLabel* sessionText_;
};

}  // namespace vantorhost
