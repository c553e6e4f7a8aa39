#include "vantorhost/script/script_runner.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <stdexcept>
#include <thread>

#include "bridge/vbvis.h"
#include "files/printable.h"
#include "files/text_lines.h"
#include "toolkit/application.h"
#include "toolkit/check_box.h"
#include "toolkit/combo_box.h"
#include "toolkit/format.h"
#include "toolkit/list_view.h"
#include "toolkit/option_button.h"
#include "toolkit/ranged_control.h"
#include "toolkit/simple_controls.h"
#include "vantorhost/base/log.h"
#include "vantorhost/base/tempo.h"
#include "vantorhost/commands/fixture_line.h"
#include "vantorhost/output/beat_by_hand.h"
#include "vantorhost/script/source_refused.h"
#include "vantorhost/show/show_file.h"
#include "vantorhost/show/show_text.h"

namespace vantorhost {

namespace {

// A line that parses but cannot run (a form not open, a control it does not
// have); the runner adds the line number.
struct RunError {
  std::string message;
};

[[noreturn]] void fail(std::string message) { throw RunError{std::move(message)}; }

std::int64_t steadyNowUs() {
  return std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

static_assert(kMinGainDb == VBVIS_GAIN_MIN_DB && kMaxGainDb == VBVIS_GAIN_MAX_DB,
              "a script's gain line takes what the bridge applies");

template <class F>
void asEvent(F&& f) {
  tk::app().runEvent(std::forward<F>(f));
}

}  // namespace

void ScriptRunner::run(std::istream& script) {
  files::LineReader lines(script);
  std::string line;
  int number = 0;
  while (lines.next(line)) {
    ++number;
    try {
      execute(parseCommand(line));
    } catch (const ParseError& e) {
      throw ScriptFailure{number, e.message};
    } catch (const RunError& e) {
      throw ScriptFailure{number, e.message};
    }
  }
  if (!lines.error().empty()) throw ScriptUnreadable{"after line " + std::to_string(number) + ": " + lines.error()};
}

void ScriptRunner::execute(const Command& command) {
  std::visit([this](const auto& c) { (*this)(c); }, command);
}

IPluginDesign& ScriptRunner::design() const {
  IPluginDesign* d = session_.design();
  if (!d) fail("the plug-in offers no table access");
  return *d;
}

tk::Form& ScriptRunner::form(const ControlRef& ref) const {
  std::vector<tk::Form*> open;
  for (tk::Form* f : tk::app().forms())
    if (f->name() == ref.form) open.push_back(f);
  if (open.empty()) fail(ref.form + " is not open");
  if (ref.instance == 0) return *open.back();
  if (static_cast<size_t>(ref.instance) > open.size())
    fail(ref.form + "#" + std::to_string(ref.instance) + ": only " + std::to_string(open.size()) + " open");
  return *open[static_cast<size_t>(ref.instance - 1)];
}

tk::Control& ScriptRunner::control(const ControlRef& ref) const {
  tk::Control* c = form(ref).findControl(ref.control, ref.index);
  if (!c) fail(ref.form + " has no control " + files::printable(ref.canonical()));
  return *c;
}

void ScriptRunner::operator()(const cmd::Audio& c) {
  if (vbvis_open(c.uri.c_str()) != 0) fail(sourceRefused(c.uri));
}

void ScriptRunner::operator()(const cmd::Spectrum& c) {
  vbvis_script_spectrum(c.count, c.text.data(), static_cast<std::int32_t>(c.text.size()));
}

void ScriptRunner::operator()(const cmd::Vu& c) { vbvis_script_vu(c.left, c.right); }

void ScriptRunner::operator()(const cmd::BarSet& c) {
  design().writeBar(c.slot, c.fromPixel, c.toPixel, c.boost, c.threshold, c.setOnExceed, c.setValue);
  tablesWritten();
}

void ScriptRunner::operator()(const cmd::BarClear& c) {
  design().clearBar(c.slot);
  tablesWritten();
}

void ScriptRunner::operator()(const cmd::List& c) {
  design().writeList(c.id, c.slot, c.entries);
  tablesWritten();
}

void ScriptRunner::operator()(const cmd::Set& c) {
  tk::Control& target = control(c.ref);
  const std::int64_t v = c.value;
  switch (target.kind()) {
    case tk::ControlKind::CheckBox: {
      auto& box = static_cast<tk::CheckBox&>(target);
      if (v < 0 || v > 2) fail("a check box takes 0, 1 or 2");
      asEvent([&] {
        box.setValue(static_cast<std::int16_t>(v));
        if (box.onClick) box.onClick();
      });
      return;
    }
    case tk::ControlKind::OptionButton: {
      auto& option = static_cast<tk::OptionButton&>(target);
      if (v != 0 && v != 1) fail("an option button takes 1 (select) or 0");
      asEvent([&] {
        option.setValue(v == 1);
        if (v == 1 && option.onClick) option.onClick();
      });
      return;
    }
    case tk::ControlKind::Slider:
    case tk::ControlKind::VScrollBar: {
      auto& ranged = static_cast<tk::RangedControl&>(target);
      asEvent([&] {
        ranged.setValue(static_cast<std::int32_t>(v));
        if (ranged.onChange) ranged.onChange();
      });
      return;
    }
    default:
      fail(files::printable(c.ref.canonical()) + " has no value to set");
  }
}

void ScriptRunner::operator()(const cmd::Select& c) {
  tk::Control& target = control(c.ref);
  if (target.kind() == tk::ControlKind::ComboBox) {
    auto& combo = static_cast<tk::ComboBox&>(target);
    if (c.index < -1 || c.index >= static_cast<std::int64_t>(combo.items().size()))
      fail("no entry " + std::to_string(c.index) + " in " + files::printable(c.ref.canonical()));
    asEvent([&] { combo.userSelect(static_cast<int>(c.index)); });
  } else if (target.kind() == tk::ControlKind::ListView) {
    auto& list = static_cast<tk::ListView&>(target);
    if (c.index < 0 || c.index > list.rowCount())
      fail("no row " + std::to_string(c.index) + " in " + files::printable(c.ref.canonical()));
    asEvent([&] { list.userSelect(static_cast<int>(c.index)); });
  } else {
    fail(files::printable(c.ref.canonical()) + " is neither a combo box nor a list view");
  }
}

void ScriptRunner::operator()(const cmd::Type& c) {
  tk::Control& target = control(c.ref);
  if (target.kind() != tk::ControlKind::ComboBox) fail(files::printable(c.ref.canonical()) + " is not a combo box");
  asEvent([&] { static_cast<tk::ComboBox&>(target).userType(c.text); });
}

void ScriptRunner::operator()(const cmd::Click& c) {
  tk::Control& target = control(c.ref);
  switch (target.kind()) {
    case tk::ControlKind::CommandButton:
      asEvent([&] { static_cast<tk::CommandButton&>(target).userClick(); });
      return;
    case tk::ControlKind::Label:
      asEvent([&] { static_cast<tk::Label&>(target).userClick(); });
      return;
    case tk::ControlKind::CheckBox:
      asEvent([&] { static_cast<tk::CheckBox&>(target).userClick(); });
      return;
    case tk::ControlKind::OptionButton:
      asEvent([&] { static_cast<tk::OptionButton&>(target).userClick(); });
      return;
    default:
      fail(files::printable(c.ref.canonical()) + " cannot be clicked");
  }
}

void ScriptRunner::operator()(const cmd::Key& c) {
  tk::Form& f = form(c.form);
  for (tk::Control* ctl : f.controls()) {
    if (ctl->kind() != tk::ControlKind::CommandButton) continue;
    auto& button = static_cast<tk::CommandButton&>(*ctl);
    if (c.enter ? button.isDefault : button.isCancel) {
      asEvent([&] { button.userClick(); });
      return;
    }
  }
  // A window without such a button ignores the key.
}

void ScriptRunner::operator()(const cmd::Close& c) {
  tk::Form& f = form(c.form);
  asEvent([&] { f.unload(tk::UnloadMode::CloseBox); });
}

void ScriptRunner::operator()(const cmd::Open&) { session_.openMainWindow(); }

void ScriptRunner::operator()(const cmd::Reload&) {
  try {
    session_.reload();
  } catch (const std::runtime_error& e) {
    fail(e.what());
  }
}

void ScriptRunner::operator()(const cmd::Advance& c) {
  if (realStartUs_ < 0) advanceWithOutput(loop_, path_, c.ms);
  else advanceWithOutput(loop_, path_, c.ms, [this](std::int64_t ms) { waitUntil(ms); });
}

void advanceWithOutput(tk::SimulatedLoop& loop, OutputPath& path, std::int64_t ms,
                       const std::function<void(std::int64_t ms)>& waitUntil) {
  const std::int64_t target = loop.nowMs() + ms;
  for (;;) {
    const std::int64_t pathDue = path.nextWakeMs();
    const std::int64_t trackDue = (loop.nowMs() / kTrackerStepMs + 1) * kTrackerStepMs;
    std::int64_t until = std::min(target, trackDue);
    if (pathDue >= 0) until = std::min(until, std::max(pathDue, loop.nowMs()));
    if (waitUntil) {
      const std::int64_t event = loop.nextDue();
      waitUntil(event >= 0 && event < until ? event : until);
    }
    // Every event up to then; an event may bring the path's wake forward.
    if (loop.fireNext(until)) continue;
    loop.advance(until - loop.nowMs());
    const bool track = until == trackDue;
    if (track) vbvis_tracker_update();
    if (!track && (pathDue < 0 || pathDue > until)) break;
    path.handOn();
  }
}

void ScriptRunner::printProperty(const ControlRef& ref) {
  std::optional<std::string> value;
  if (ref.control.empty()) {
    value = tk::fmt::quoted(form(ref).caption());
  } else {
    value = control(ref).property(ref.property);
    if (!value) fail(files::printable(ref.canonical()) + ": no such property");
  }
  trace_.line(ref.canonical() + " = " + *value);
}

void ScriptRunner::operator()(const cmd::PrintForms&) {
  std::string out = "forms = [";
  bool first = true;
  for (tk::Form* f : tk::app().forms()) {
    if (!first) out += ", ";
    out += f->name();
    first = false;
  }
  trace_.line(out + "]");
}

void ScriptRunner::operator()(const cmd::PrintDraw&) {
  tk::Form* window = session_.mainWindow();
  if (!window || !window->loaded()) fail("Main is not open");
  for (const tk::DrawBox& b : window->drawing())
    trace_.line("box " + tk::fmt::coordinate(b.x1) + " " + tk::fmt::coordinate(b.y1) + " " +
                tk::fmt::coordinate(b.x2) + " " + tk::fmt::coordinate(b.y2) + " " + tk::fmt::number(b.color) +
                (b.filled ? " F" : " B"));
}

void ScriptRunner::operator()(const cmd::PrintBar& c) {
  const DesignBar b = design().readBar(c.slot);
  trace_.line("bar " + std::to_string(c.slot) + " = " + std::to_string(b.number) + " " + std::to_string(b.fromPixel) +
              " " + std::to_string(b.toPixel) + " " + std::to_string(b.channelSummary) + " " +
              std::to_string(b.boostPercent) + " " + std::to_string(b.threshold) + " " +
              std::to_string(b.setOnExceed) + " " + std::to_string(b.setValue));
}

void ScriptRunner::operator()(const cmd::PrintList& c) {
  std::string out = "list " + std::to_string(c.id) + (c.id == 1 ? " " + std::to_string(c.slot) : "") + " = [";
  bool first = true;
  for (std::int16_t ch : design().readList(c.id, c.slot)) {
    if (!first) out += ", ";
    out += std::to_string(ch);
    first = false;
  }
  trace_.line(out + "]");
}

void ScriptRunner::operator()(const cmd::PrintModuleInfo&) {
  const VantorTypeLib::ModuleInfo* info = session_.moduleInfo();
  if (!info) fail("no module information");
  using E = VantorTypeLib::ModuleInfo::Entry;
  namespace fmt = tk::fmt;
  std::string out = "moduleinfo =";
  for (E e : info->order) {
    out += ' ';
    switch (e) {
      case E::Guid: out += fmt::quoted(info->guid); break;
      case E::Name: out += fmt::quoted(info->name); break;
      case E::Description: out += fmt::quoted(info->description); break;
      case E::Author: out += fmt::quoted(info->author); break;
      case E::ShowInMenu: out += fmt::number(info->showInMenu); break;
      case E::ShowInToolbar: out += fmt::number(info->showInToolbar); break;
      case E::Kind: out += fmt::number(info->kind); break;
      case E::TemplateName: out += fmt::quoted(info->templateName); break;
      case E::Window: out += info->window ? info->window->name() : "Nothing"; break;
      case E::HelpContext: out += fmt::number(info->helpContext); break;
      case E::IconIndex: out += fmt::number(info->iconIndex); break;
      case E::StartWithHost: out += fmt::number(info->startWithHost); break;
      case E::SingleInstance: out += fmt::number(info->singleInstance); break;
      case E::Parameters: {
        out += '[';
        for (size_t i = 0; i < info->parameters.size(); ++i)
          out += (i ? ", " : "") + fmt::number(info->parameters[i]);
        out += ']';
        break;
      }
    }
  }
  trace_.line(out);
}

void ScriptRunner::operator()(const cmd::PrintShow&) {
  IPluginDesign& plugin = design();
  for (const std::string& line : showLines(readDesign(plugin, session_.hostDesign()), plugin.parameters()))
    trace_.line(line);
}

// A show that cannot be saved or opened is no fault of the script: the
// message goes to standard error, the design stays, the run goes on.
void ScriptRunner::operator()(const cmd::SaveShow& c) {
  design();  // fails the line when the plug-in offers no table access
  if (const ShowOutcome saved = saveShow(session_, c.path); !saved) hostLog(saved.message);
}

void ScriptRunner::operator()(const cmd::OpenShow& c) {
  ShowOutcome opened;
  asEvent([&] { opened = openShow(session_, c.path); });
  if (!opened) hostLog(opened.message);
}

// A fixture the patch refuses is no fault of the script, as a show that
// cannot be opened: the message goes to standard error, the run goes on.
void ScriptRunner::operator()(const cmd::Fixture& c) {
  std::optional<std::string> refused;
  asEvent([&] { refused = session_.placeFixture(c.placement); });
  if (refused) hostLog("fixture " + c.placement.name + " refused: " + *refused);
}

void ScriptRunner::operator()(const cmd::FixtureOff& c) {
  bool removed = false;
  asEvent([&] { removed = session_.removeFixture(c.name); });
  if (!removed) hostLog("fixture " + c.name + " off: there is no fixture of that name");
}

void ScriptRunner::operator()(const cmd::PrintFixtures&) {
  for (const FixturePlacement& placement : session_.hostDesign().fixtures) trace_.line(fixtureLine(placement));
}

void ScriptRunner::operator()(const cmd::PrintChannel& c) { trace_.line(channelLine(session_.patch(), c.channel)); }

// The plug-in's beat counter as the host window shows it: the count and the tempo.
void ScriptRunner::operator()(const cmd::PrintTempo&) {
  const PluginBeatCounter& counter = session_.pluginBeatCounter();
  trace_.line("tempo = " + std::to_string(counter.count()) + " " + tempoText(counter.tempo(loop_.nowMs())));
}

void ScriptRunner::operator()(const cmd::Fade& c) {
  HostDesign host = session_.hostDesign();
  host.fadeMs = c.ms;
  session_.setHostDesign(host);
}

void ScriptRunner::operator()(const cmd::Beats& c) {
  HostDesign host = session_.hostDesign();
  host.beatPattern = c.pattern;
  session_.setHostDesign(host);
}

// As the host window shows it: the tempo with one decimal while locked.
void ScriptRunner::operator()(const cmd::PrintTracker&) {
  vbvis_tracker_update();
  vbvis_tracker_state state{};
  const bool locked = vbvis_tracker(&state) == 1;
  trace_.line("tracker = " + (locked ? tempoText(Tempo{state.bpm, true}) : std::string("--")) + " " +
              std::to_string(state.confidence));
}

// The operator's hands, at the current simulated millisecond (the bridge's
// clock); a session this Sonvero leads takes what they moved.
void ScriptRunner::operator()(const cmd::Tap&) {
  BeatByHand().tap();
  beats_.movedByHand();
}

void ScriptRunner::operator()(const cmd::Nudge& c) {
  if (c.half) BeatByHand().half();
  else BeatByHand().nudge(c.ms);
  beats_.movedByHand();
}

void ScriptRunner::operator()(const cmd::BeatsHold& c) { BeatByHand().hold(c.hold); }

void ScriptRunner::operator()(const cmd::PrintDmx& c) {
  trace_.line("dmx " + std::to_string(c.channel) + " = " + std::to_string(path_.sent().get(c.channel)));
}

void ScriptRunner::operator()(const cmd::BeatsSource& c) {
  HostDesign host = session_.hostDesign();
  host.beatSource = c.choice;
  session_.setHostDesign(host);
}

std::int64_t ScriptRunner::realNowUs() const { return steadyNowUs() - realStartUs_; }

void ScriptRunner::waitUntil(std::int64_t ms) const {
  const std::int64_t aheadUs = ms * 1000 - realNowUs();
  if (aheadUs > 0) std::this_thread::sleep_for(std::chrono::microseconds(aheadUs));
}

void ScriptRunner::operator()(const cmd::Link& c) {
  if (c.on && realStartUs_ < 0) {
    // The real clock from here on, its millisecond 0 where the script's was.
    const std::int64_t startUs = steadyNowUs() - loop_.nowMs() * 1000;
    realStartUs_ = startUs;
    link_.setHostClock([startUs] { return steadyNowUs() - startUs; });
  }
  link_.enable(c.on);
}

// The session's peers, tempo (one decimal) and beat (two decimals) now.
void ScriptRunner::operator()(const cmd::PrintLink&) {
  const LinkView view = link_.view(loop_.nowMs() * 1000);
  if (!view.on) return trace_.line("link = off");
  char beat[32];
  std::snprintf(beat, sizeof beat, "%.2f", view.beat);
  trace_.line("link = " + std::to_string(view.peers) + " " + tempoText(Tempo{view.bpm, true}) + " " + beat);
}

// Automatic starts from the gain applied now, as in the host window.
void ScriptRunner::operator()(const cmd::Gain& c) {
  if (vbvis_set_gain(c.choice.automatic ? 1 : 0, c.choice.fixedDb) != 0)
    fail("the bridge refuses the gain " + gainChoiceText(c.choice));
}

void ScriptRunner::operator()(const cmd::PrintGain&) {
  vbvis_gain_state gain{};
  vbvis_gain(&gain);
  trace_.line(std::string("gain = ") + (gain.automatic ? "auto " : "") + decibelText(gain.gain_db));
}

void ScriptRunner::operator()(const cmd::TestOutput& c) {
  asEvent([&] { design().outputChannel(c.channel, c.value, c.active); });
}

}  // namespace vantorhost
