#include "bench/gain/material.h"

#include <cstdio>
#include <stdexcept>

namespace gainbench {

namespace {

constexpr const char* kFloatWav = "-r 48000 -c 2 -e floating-point -b 32";

std::string quoted(const std::string& s) { return "'" + s + "'"; }

std::string number(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.3f", value);
  return text;
}

}  // namespace

void run(const std::string& command) {
  if (std::system((command + " >/dev/null 2>&1").c_str()) != 0) throw std::runtime_error("failed: " + command);
}

double Material::rmsDb(const std::string& file) {
  const std::string command = "sox " + quoted(file) + " -n stats 2>&1";
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) throw std::runtime_error("cannot run sox");
  char line[512];
  double db = 0;
  bool found = false;
  // "RMS lev dB" gives the overall value first.
  while (std::fgets(line, sizeof line, pipe))
    if (!found && std::sscanf(line, "RMS lev dB %lf", &db) == 1) found = true;
  pclose(pipe);
  if (!found) throw std::runtime_error("sox measured no level in " + file);
  return db;
}

std::string Material::atLevel(const std::string& file, double rmsDb, double seconds) {
  const std::string out = path("level-" + std::to_string(++made_) + ".wav");
  const std::string trim = seconds > 0 ? " trim 0 " + number(seconds) : "";
  const std::string cut = path("cut-" + std::to_string(made_) + ".wav");
  run("sox -D " + quoted(file) + " " + kFloatWav + " " + quoted(cut) + trim);
  run("sox -D " + quoted(cut) + " " + kFloatWav + " " + quoted(out) + " gain " + number(rmsDb - Material::rmsDb(cut)));
  std::remove(cut.c_str());
  return out;
}

std::string Material::groove(const Groove& g, double seconds, double rmsDb) {
  const std::string midi = path(g.name + ".mid"), raw = path(g.name + "-raw.wav");
  if (!writeMidiFile(midi, g.bpm, {{0, g.bassProgram}}, grooveNotes(g, seconds + 2)))
    throw std::runtime_error("cannot write " + midi);
  run("fluidsynth -ni -q -g 0.5 -r 48000 -O float -T wav -F " + quoted(raw) + " /usr/share/sounds/sf2/" + g.soundfont +
      " " + quoted(midi));
  return atLevel(raw, rmsDb, seconds);
}

std::string Material::pattern(double seconds, double rmsDb) {
  // One beat of 500 ms: a kick falling from 150 to 45 Hz, a bass note under
  // it and a hat on the off-beat.
  const std::string kick = path("kick.wav"), bass = path("bass.wav"), hat = path("hat.wav"), beat = path("beat.wav");
  run("sox -R -D -n " + std::string(kFloatWav) + " " + quoted(kick) + " synth 0.5 sine 150-45 fade q 0.002 0.5 0.42");
  run("sox -R -D -n " + std::string(kFloatWav) + " " + quoted(bass) +
      " synth 0.5 sine 55 sine 110 remix 1,2 1,2 fade q 0.01 0.5 0.2 gain -10");
  run("sox -R -D -n " + std::string(kFloatWav) + " " + quoted(hat) +
      " synth 0.06 whitenoise highpass 6000 fade q 0 0.06 0.05 gain -14 pad 0.25 0.19");
  run("sox -D -m " + quoted(kick) + " " + quoted(bass) + " " + quoted(hat) + " " + quoted(beat) + " repeat " +
      std::to_string(static_cast<int>(seconds / 0.5)));
  return atLevel(beat, rmsDb, seconds);
}

std::string Material::pinkNoise(double seconds, double rmsDb) {
  const std::string raw = path("pink-" + std::to_string(++made_) + ".wav");
  run("sox -R -D -n " + std::string(kFloatWav) + " " + quoted(raw) + " synth " + number(seconds) + " pinknoise");
  return atLevel(raw, rmsDb);
}

std::string Material::clicks(double bpm, double seconds, double peakDb) {
  const std::string one = path("click-" + std::to_string(++made_) + ".wav"), out = path("clicks-" + number(bpm) + ".wav");
  run("sox -R -D -n " + std::string(kFloatWav) + " " + quoted(one) + " synth 0.002 square 1000 gain " + number(peakDb) +
      " pad 0 " + number(60.0 / bpm - 0.002));
  run("sox -D " + quoted(one) + " " + quoted(out) + " repeat " + std::to_string(static_cast<int>(seconds * bpm / 60.0)));
  std::remove(one.c_str());
  return out;
}

std::string Material::stepped(const std::string& file, const std::vector<double>& gainsDb, double seconds) {
  std::vector<std::string> pieces;
  for (std::size_t i = 0; i < gainsDb.size(); ++i) {
    pieces.push_back(path("piece-" + std::to_string(++made_) + ".wav"));
    run("sox -D " + quoted(file) + " " + quoted(pieces.back()) + " trim " + number(seconds * static_cast<double>(i)) +
        " " + number(seconds) + " gain " + number(gainsDb[i]));
  }
  const std::string out = joined(pieces, "stepped-" + std::to_string(++made_) + ".wav");
  for (const std::string& piece : pieces) std::remove(piece.c_str());
  return out;
}

std::string Material::joined(const std::vector<std::string>& files, const std::string& name) {
  std::string command = "sox -D";
  for (const std::string& f : files) command += " " + quoted(f);
  run(command + " " + quoted(path(name)));
  return path(name);
}

}  // namespace gainbench
