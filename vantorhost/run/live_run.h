#pragma once
// The start and the stop that the two live run modes (desktop and headless)
// share; each mode runs its own loop (and the desktop its windows) between
// them.
#include <memory>

#include "toolkit/event_loop.h"
#include "vantorhost/base/host_options.h"
#include "vantorhost/link/link_session.h"
#include "vantorhost/output/output_path.h"
#include "vantorhost/run/host_output.h"
#include "vantorhost/run/host_settings.h"
#include "vantorhost/session/host_session.h"
#include "vantorhost/show/kept_show.h"

namespace vantorhost {

class LiveRun {
 public:
  // Makes `loop` the toolkit's and catches the stop signals; nothing loads yet.
  LiveRun(const HostOptions& options, tk::EventLoop& loop);
  // Ends what is left without saving (stop() saves), closes the bridge and
  // gives the loop back.
  ~LiveRun();
  LiveRun(const LiveRun&) = delete;
  LiveRun& operator=(const LiveRun&) = delete;

  // Loads the plug-in and its window with the design the kept show starts
  // with, reads the host settings file, opens the audio source, sets the
  // gain, joins the Link session when --link or the host window asks, and
  // opens the DMX output with its output path at the start delay and the
  // kept master. False (logged) when the plug-in or the audio source
  // --audio names cannot be had.
  bool start();
  // Sonvero's window closes properly if it is still open (so its settings
  // are saved), the design goes into Sonvero.show, the last values go out
  // and stay in olad as the output closes, and the plug-in goes.
  void stop();

  HostSession& session() { return session_; }
  KeptShow& show() { return show_; }
  // The host settings file beside Sonvero.ini, read by start(); the
  // desktop's host window saves the choices made in it, a headless run
  // only reads it.
  HostSettingsFile& settings() { return settings_; }
  // Once start() succeeded.
  OutputPath& path() { return output_->path(); }
  BeatSource& beatSource() { return output_->beatSource(); }
  // The Link session, joined or not.
  LinkSession& link() { return link_; }

 private:
  const HostOptions options_;
  HostSession session_;
  KeptShow show_;
  HostSettingsFile settings_{std::filesystem::path()};
  LinkSession link_;
  std::unique_ptr<HostOutput> output_;
};

// Opens the source of a live run: --audio's, else the one the host window
// kept (a kept one that fails gives way to the default), else the default.
// False (logged) when --audio's cannot be taken.
bool openAudioSource(const HostOptions& options, const HostSettings& kept);

}  // namespace vantorhost
