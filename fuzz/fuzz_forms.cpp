// The headless windows under arbitrary sequences of user actions: clicks,
// selections, typed text, values, closes and passing time, with changing
// spectra and levels. After every action the tables keep their rules, Main's
// bar list shows the table, and every channel the engine sends is 1..1024
// with a value 0..255 (while the levels lie within full scale).
//
// Input: a byte stream; each action takes an opcode byte and the bytes it
// needs (missing bytes read as 0).
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "bridge/vbvis.h"
#include "fuzz/host_call_check.h"
#include "fuzz/fuzz_check.h"
#include "fuzz/settings_folder.h"
#include "fuzz/table_invariants.h"
#include "plugin/clsVantorPlugIn.h"
#include "hostlink/vantor.h"
#include "model/arrays.h"
#include "toolkit/application.h"
#include "toolkit/simulated_loop.h"
#include "ui/Kanaele.h"
#include "ui/Main.h"
#include "ui/Presets_Channel.h"
#include "ui/frmAbout.h"
#include "ui/main_settings.h"

namespace {

class Bytes {
 public:
  Bytes(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  bool empty() const { return pos_ >= size_; }
  std::uint8_t byte() { return pos_ < size_ ? data_[pos_++] : 0; }
  std::int16_t int16() { return static_cast<std::int16_t>(byte() | (byte() << 8)); }
  int below(int n) { return static_cast<int>(static_cast<std::uint16_t>(int16()) % n); }

 private:
  const std::uint8_t* data_;
  std::size_t size_, pos_ = 0;
};

tk::SimulatedLoop loop;
fuzz::HostCallCheck hostCalls;

template <class F>
std::vector<F*> openForms() {
  std::vector<F*> found;
  for (tk::Form* f : tk::app().forms())
    if (auto* form = dynamic_cast<F*>(f)) found.push_back(form);
  return found;
}

// With FUZZ_FORMS_SCRIPT set, every action is written to standard error as
// the session-script line that does the same, so that an input that broke
// something becomes a golden script.
bool writeScript = false;
void note(const std::string& line) {
  if (writeScript) std::fprintf(stderr, "%s\n", line.c_str());
}

// A dialog instance as scripts name it: FORM#K, K = 1 for the oldest.
template <class F>
F* pick(Bytes& in, std::string& name) {
  const std::vector<F*> open = openForms<F>();
  if (open.empty()) return nullptr;
  const std::size_t k = in.byte() % open.size();
  name = open[k]->name() + "#" + std::to_string(k + 1);
  return open[k];
}

// Typed text from a small alphabet: digits (some texts name an entry),
// blanks and letters; never a quote, so the script line can hold it.
std::string typedText(Bytes& in, std::size_t maxLength) {
  static constexpr char kAlphabet[] = "0123456789 0123456789 aFxX-+.#";
  std::string s;
  for (std::size_t n = in.byte() % (maxLength + 1); n > 0; --n) s += kAlphabet[in.byte() % (sizeof kAlphabet - 1)];
  return s;
}

void setRanged(tk::RangedControl& r, const std::string& name, std::int32_t value) {
  note("set " + name + " " + std::to_string(value));
  r.setValue(value);
  if (r.onChange) r.onChange();
}

void click(tk::CommandButton& b, const std::string& name) {
  note("click " + name);
  b.userClick();
}

void click(tk::CheckBox& b, const std::string& name) {
  note("click " + name);
  b.userClick();
}

void select(tk::ComboBox& box, const std::string& name, int index) {
  note("select " + name + " " + std::to_string(index));
  box.userSelect(index);
}

void select(tk::ListView& list, const std::string& name, int row) {
  note("select " + name + " " + std::to_string(row));
  list.userSelect(row);
}

void type(tk::ComboBox& box, const std::string& name, std::string text) {
  note("type " + name + " \"" + text + "\"");
  box.userType(std::move(text));
}

void close(tk::Form& form, const std::string& name) {
  note("close " + name);
  form.unload(tk::UnloadMode::CloseBox);
}

void setLevels(std::int16_t left, std::int16_t right) {
  note("vu " + std::to_string(left) + " " + std::to_string(right));
  vbvis_script_vu(left, right);
  // GetVU turns negative levels into 0; only levels past full scale leave
  // the range the level outputs are built for.
  hostCalls.checkValues = left <= 16000 && right <= 16000;
}

// A spectrum of n bins as hexadecimal text, from a start value and a step.
void setSpectrum(Bytes& in) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  const int n = in.below(300);
  const std::uint8_t start = in.byte(), step = in.byte();
  std::string text;
  for (int i = 0; i < n; ++i) {
    const auto v = static_cast<std::uint8_t>(start + i * step);
    text += kHex[v >> 4];
    text += kHex[v & 15];
  }
  note("spectrum " + text);
  vbvis_script_spectrum(static_cast<std::int16_t>(n), text.data(), static_cast<std::int32_t>(text.size()));
}

void setRawSpectrum(Bytes& in) {
  const std::int16_t count = in.int16();
  const std::string text = typedText(in, 16);
  note("spectrum-raw " + std::to_string(count) + " \"" + text + "\"");
  vbvis_script_spectrum(count, text.data(), static_cast<std::int32_t>(text.size()));
}

// The parameter controls in the settings keys' order.
void mainAction(Main& m, Bytes& in) {
  const MainSettingsControls controls = settingsControls(m);
  const auto& ranged = controls.ranged;
  const auto& checks = controls.checks;
  tk::CommandButton* buttons[] = {&m.Command1, &m.Command2, &m.Command3, &m.Command4};
  tk::Label* labels[] = {&m.Label5, &m.Label13, &m.Label14, &m.Label15, &m.Label16};
  switch (in.byte() % 6) {
    case 0: {
      tk::RangedControl& r = *ranged[in.byte() % 12];
      setRanged(r, "Main." + r.name(), in.int16());
      break;
    }
    case 1: {
      tk::CheckBox& c = *checks[in.byte() % 9];
      click(c, "Main." + c.name());
      break;
    }
    case 2: {
      const int i = in.byte() % 4;
      note("click Main.Option1(" + std::to_string(i) + ")");
      m.Option1[i].userClick();
      break;
    }
    case 3: {
      tk::CommandButton& b = *buttons[in.byte() % 4];
      click(b, "Main." + b.name());
      break;
    }
    case 4: {
      tk::Label& l = *labels[in.byte() % 5];
      note("click Main." + l.name());
      l.userClick();
      break;
    }
    case 5: select(m.ListView1, "Main.ListView1", in.below(m.ListView1.rowCount() + 1)); break;
  }
}

void barDialogAction(Presets_Channel& d, const std::string& name, Bytes& in) {
  switch (in.byte() % 9) {
    case 0: select(d.Combo1, name + ".Combo1", in.below(289) - 1); break;
    case 1: select(d.Combo2, name + ".Combo2", in.below(289) - 1); break;
    case 2: {
      const bool first = in.byte() & 1;
      type(first ? d.Combo1 : d.Combo2, name + (first ? ".Combo1" : ".Combo2"), typedText(in, 4));
      break;
    }
    case 3: {
      const bool first = in.byte() & 1;
      click(first ? d.Check1 : d.Check2, name + (first ? ".Check1" : ".Check2"));
      break;
    }
    case 4: {
      tk::Slider* sliders[] = {&d.Slider1, &d.Slider2, &d.Slider3};
      tk::Slider& slider = *sliders[in.byte() % 3];
      setRanged(slider, name + "." + slider.name(), in.int16());
      break;
    }
    case 5: click(d.Command1, name + ".Command1"); break;
    case 6: click(d.Command2, name + ".Command2"); break;
    case 7: click(d.Command3, name + ".Command3"); break;
    case 8: close(d, name); break;
  }
}

void channelDialogAction(Kanaele& d, const std::string& name, Bytes& in) {
  switch (in.byte() % 7) {
    case 0: select(d.Combo1, name + ".Combo1", in.below(1025) - 1); break;
    case 1: type(d.Combo1, name + ".Combo1", typedText(in, 5)); break;
    case 2: select(d.ListView2, name + ".ListView2", in.below(d.ListView2.rowCount() + 1)); break;
    case 3:
      for (int n = 1 + in.byte() % 8; n > 0; --n) click(d.Command1, name + ".Command1");
      break;
    case 4: click(d.Command2, name + ".Command2"); break;
    case 5: click(d.Command3, name + ".Command3"); break;
    case 6: close(d, name); break;
  }
}

// A list filled from outside the dialogs, as a session script's `list`
// writes it: k channels, so that full lists are reached without 1024 clicks.
void fillList(Bytes& in) {
  const int id = 2 + in.byte() % 5;
  const int k = in.below(Arrays::kListEntries + 1);
  const int first = in.below(Arrays::kListEntries);
  Arrays::ChannelList& list = Arrays::outputChannels[id];
  list.fill(0);
  std::string line = "list " + std::to_string(id);
  for (int j = 1; j <= k; ++j) {
    list[j] = static_cast<std::int16_t>(1 + (first + j) % Arrays::kListEntries);
    line += " " + std::to_string(list[j]);
  }
  note(line);
}

// The host dropping the plug-in module and loading it anew.
void reloadModule() {
  tk::app().discardAll();
  Arrays::resetAll();
  static_cast<MainVariables&>(mainForm()) = MainVariables{};
  Vantor::outputWasActive = 0;
  Vantor::sweepCounter = 0;
}

// One user action, run as one event; passing time is left to the caller.
void act(std::uint8_t opcode, Bytes& in) {
  Main& m = mainForm();
  std::string name;
  switch (opcode % 10) {
    case 1: setSpectrum(in); return;
    case 2: setRawSpectrum(in); return;
    case 3: {
      const std::int16_t left = in.int16();
      setLevels(left, in.int16());
      return;
    }
    case 4: if (m.loaded()) mainAction(m, in); return;
    case 5: if (auto* d = pick<Presets_Channel>(in, name)) barDialogAction(*d, name, in); return;
    case 6: if (auto* d = pick<Kanaele>(in, name)) channelDialogAction(*d, name, in); return;
    case 7:
      if (auto* d = pick<frmAbout>(in, name)) {
        if (in.byte() & 1) click(d->cmdOK, name + ".cmdOK");
        else close(*d, name);
      }
      return;
    case 8:
      if (m.loaded()) {
        close(m, "Main");
      } else {
        note("open");
        m.show();
      }
      return;
    case 9:
      if (in.byte() == 0xA5) {
        note("reload");
        reloadModule();
        m.show();
      } else {
        fillList(in);
      }
      return;
  }
}

void checkForms() {
  Main& m = mainForm();
  FUZZ_REQUIRE(openForms<Kanaele>().size() <= 1);
  fuzz::checkTables();
  if (m.loaded()) fuzz::checkBarList(m.ListView1);
  int selected = 0;
  for (int i = 0; i < 4; ++i) selected += m.Option1[i].value() ? 1 : 0;
  FUZZ_REQUIRE(selected == 1);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::useOwnSettingsFolder();
  writeScript = std::getenv("FUZZ_FORMS_SCRIPT") != nullptr;
  tk::app().setLoop(&loop);
  vbvis_open("script");
  // The host checks every call and keeps none.
  auto helper = std::make_shared<support::FakeHost>();
  helper->keep = false;
  helper->check = std::ref(hostCalls);
  static clsVantorPlugIn plugin;
  std::string title = "Sonvero fuzz", file = "libsonvero.so";
  plugin.plugin().Init(title, file, helper);
  static auto info = plugin.module().GetModuleInfo();
  FUZZ_REQUIRE(info->window == &mainForm());
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // Every input starts from a freshly loaded module, no settings file, the
  // main window just opened, silence.
  std::filesystem::remove(fuzz::settingsFolder() / "Sonvero.ini");
  reloadModule();
  vbvis_script_spectrum(0, "", 0);
  vbvis_script_vu(0, 0);
  hostCalls.checkValues = true;
  tk::app().runEvent([] { mainForm().show(); });
  checkForms();

  Bytes in(data, size);
  while (!in.empty()) {
    const std::uint8_t opcode = in.byte();
    if (opcode % 10 == 0) {
      // Time passes: every timer event is an event of its own.
      const std::int64_t ms = 5 * (1 + in.byte()), until = loop.nowMs() + ms;
      note("advance " + std::to_string(ms));
      while (loop.fireNext(until)) checkForms();
      loop.advance(until - loop.nowMs());
      continue;
    }
    tk::app().runEvent([&] { act(opcode, in); });
    checkForms();
  }
  return 0;
}
