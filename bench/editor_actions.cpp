// The editors' heaviest user actions: opening the channel dialog on a full
// list (1024 combo entries and 1024 rows), removing its first channel, and
// "OK" in the bar dialog with every slot in use (summary and 288-row list).
#include <benchmark/benchmark.h>

#include "model/arrays.h"
#include "toolkit/application.h"
#include "ui/Kanaele.h"
#include "ui/Main.h"
#include "ui/Presets_Channel.h"

namespace {

void fillVuLeft() {
  for (int p = 1; p <= Arrays::kListEntries; ++p)
    Arrays::outputChannels[Arrays::kVuLeft][p] = static_cast<std::int16_t>(p);
}

Kanaele& openVuLeftDialog() {
  Arrays::editedList = Arrays::kVuLeft;
  tk::app().runEvent([] { Kanaele::showForEditedList(); });
  return static_cast<Kanaele&>(*tk::app().forms().back());
}

void OpenChannelDialogOnAFullList(benchmark::State& state) {
  Arrays::resetAll();
  fillVuLeft();
  for (auto _ : state) {
    Kanaele& k = openVuLeftDialog();
    benchmark::DoNotOptimize(k.ListView2.rowCount());
    tk::app().runEvent([&] { k.Command3.userClick(); });
  }
}
BENCHMARK(OpenChannelDialogOnAFullList)->Unit(benchmark::kMicrosecond);

void RemoveFirstChannelOfAFullList(benchmark::State& state) {
  Arrays::resetAll();
  Kanaele& k = openVuLeftDialog();
  for (auto _ : state) {
    state.PauseTiming();
    fillVuLeft();
    k.ListView2_2_aktualisieren();
    k.ListView2.select(1);
    state.ResumeTiming();
    tk::app().runEvent([&] { k.Command2.userClick(); });
  }
  tk::app().discardAll();
}
BENCHMARK(RemoveFirstChannelOfAFullList)->Unit(benchmark::kMicrosecond);

void ConfirmABarWithAllSlotsInUse(benchmark::State& state) {
  Arrays::resetAll();
  for (int s = 0; s < Arrays::kBarSlots; ++s) {
    Arrays::bars[s] = {static_cast<std::int16_t>(s + 1), 1, 288, 0, 100, 1, 0, 1};
    for (int p = 1; p <= Arrays::kListEntries; ++p) Arrays::barChannels[s][p] = 1;
  }
  Arrays::barToEdit = Arrays::kBarSlots;
  for (auto _ : state) {
    state.PauseTiming();
    Presets_Channel* d = nullptr;
    tk::app().runEvent([&] {
      d = &tk::app().create<Presets_Channel>();
      d->show();
    });
    state.ResumeTiming();
    tk::app().runEvent([&] { d->Command1.userClick(); });
    state.PauseTiming();
    Arrays::barToEdit = Arrays::kBarSlots;
    state.ResumeTiming();
  }
  benchmark::DoNotOptimize(mainForm().ListView1.rowCount());
}
BENCHMARK(ConfirmABarWithAllSlotsInUse)->Unit(benchmark::kMicrosecond);

}  // namespace
