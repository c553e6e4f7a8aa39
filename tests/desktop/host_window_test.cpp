// The host's window: the DMX monitor and the window itself with a loaded
// plug-in.
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QLayoutItem>
#include <QTest>
#include <chrono>
#include <filesystem>

#include "bridge/vbvis.h"
#include "tests/bridge/sox_signals.h"
#include "tests/desktop/host_window_fixture.h"
#include "tests/host/fixture_definitions.h"
#include "tests/support/qt_application.h"
#include "tests/support/temp_folder.h"
#include "toolkit/combo_box.h"
#include "toolkit/simple_controls.h"
#include "vantorhost/desktop/pixel_range_labels.h"
#include "vantorhost/desktop/readout_label.h"

namespace {

class DmxMonitorTest : public testing::Test {
 protected:
  QApplication& app = support::offscreenQtApp();  // before any widget
  ChannelBuffer channels;
  DmxMonitorWidget monitor{channels};
};

}  // namespace

TEST_F(DmxMonitorTest, CellsOfBothUniversesMapBackToTheirChannels) {
  for (int channel : {1, 32, 33, 480, 512, 513, 544, 1000, 1024})
    EXPECT_EQ(monitor.channelAt(monitor.cellRect(channel).center()), channel) << channel;
  // Universe 2 starts below universe 1, in the same columns.
  EXPECT_EQ(monitor.cellRect(513).left(), monitor.cellRect(1).left());
  EXPECT_GT(monitor.cellRect(513).top(), monitor.cellRect(512).bottom());
  // Outside the grid: the margin, right of the last column, off the widget.
  for (QPoint p : {QPoint(0, 0), QPoint(monitor.cellRect(32).right() + 5, monitor.cellRect(32).center().y()),
                   QPoint(-10, -10)})
    EXPECT_EQ(monitor.channelAt(p), 0) << p.x() << "," << p.y();
}

TEST_F(DmxMonitorTest, RecentChangesAreHighlightedForOneSecond) {
  channels.set(600, 200, 1000);
  for (auto [now, lit] : {std::pair{1000, true}, {1999, true}, {2000, false}}) {
    monitor.refresh(now);
    EXPECT_EQ(monitor.highlighted(600), lit) << now;
  }
  EXPECT_FALSE(monitor.highlighted(601));
  // Setting the same value again is no change.
  channels.set(600, 200, 2500);
  monitor.refresh(2500);
  EXPECT_FALSE(monitor.highlighted(600));
}

// Partial repaints add up to the whole monitor, a par at 30..33 (RGB and
// dimmer, across a row end) showing the colour it mixes on all its cells.
TEST_F(DmxMonitorTest, RepaintsOfWhatMovedAddUpToTheWholeMonitorAndAFixtureShowsItsColour) {
  fixtures_test::MemoryDefinitions library;
  library.add(fixtures_test::qxf("Acme", "Par", fixtures_test::parBody()));
  FixturePatch patch;
  ASSERT_FALSE(patch.place({"par", "Acme", "Par", "4ch", 30}, library));
  monitor.setPatch(&patch);
  monitor.resize(monitor.sizeHint());
  monitor.show();
  support::QtFixture::settle();
  const struct {
    std::array<int, 4> values;
    QColor swatch;
  } pars[] = {{{255, 0, 0, 255}, QColor(255, 0, 0)}, {{255, 255, 0, 255}, QColor(255, 255, 0)},
              {{0, 0, 255, 128}, QColor(0, 0, 128)}};
  for (std::int64_t step = 0, now = 0; step < 6; ++step, now += 400) {
    for (int channel : {1, 2, 29, 34, 100, 512, 513, 1024})
      if ((channel + step) % 3 != 0) channels.set(channel, static_cast<std::int32_t>((channel * 37 + step * 91) % 256), now);
    const auto& par = pars[step % 3];
    for (int i = 0; i < 4; ++i) channels.set(30 + i, par.values[static_cast<std::size_t>(i)], now);
    monitor.refresh(now);
    support::QtFixture::settle();
    const QImage shown = support::QtFixture::onScreen(monitor);
    ASSERT_TRUE(shown == support::QtFixture::afterFullRepaint(monitor)) << "step " << step;
    for (int channel : {30, 33}) {
      const QPoint nameLine = monitor.cellRect(channel).topRight() + QPoint(-3, 3);
      EXPECT_EQ(QColor(shown.pixel(nameLine)), par.swatch) << channel;
    }
  }
  monitor.setPatch(nullptr);
  support::QtFixture::settle();
  EXPECT_NE(QColor(support::QtFixture::onScreen(monitor).pixel(monitor.cellRect(30).topRight() + QPoint(-3, 3))),
            QColor(0, 0, 128)) << "without the patch the cells look as before";
}

TEST_F(HostWindowTest, HandsTheChannelsOnAfterEachEventAndShowsTheStates) {
  ASSERT_NE(session->mainWindow(), nullptr);
  ASSERT_NE(window(*session->mainWindow()), nullptr);
  host->show();
  const int before = output.calls;
  session->channels().set(1, 77, session->loop().nowMs());
  event();
  EXPECT_EQ(output.calls, before + 1);
  EXPECT_EQ(output.lastChannel1, 77);
  EXPECT_TRUE(host->monitor().highlighted(1));
  host->upkeep();
  EXPECT_EQ(host->dmxText().text(), "DMX: test output");
  // The plug-in's beat counter; never a second BPM beside the tracker's tempo.
  EXPECT_EQ(host->beatText().text(), "0 beats");
  EXPECT_FALSE(host->beatLamp().lit());
  const std::int64_t now = session->loop().nowMs();
  for (std::int64_t t : {now - 1000, now - 500}) session->pluginBeatCounter().beat(t);
  beat();
  // The beat comes a little after `now` on the real clock: 120 BPM within that.
  const QString text = host->beatText().text();
  EXPECT_TRUE(text.startsWith("3 beats, ~")) << text.toStdString() << " (~: too few beats to call it steady)";
  EXPECT_NEAR(text.section('~', 1).section(' ', 0, 0).toDouble(), 120.0, 0.5) << text.toStdString();
  EXPECT_TRUE(host->beatLamp().lit());
  // However many beats, the count takes the same room: the window does not widen itself.
  const QWidgetItem count(&host->beatText());
  const int least = count.minimumSize().width(), wanted = count.sizeHint().width();
  for (std::int64_t t = now - 100'000; t < now - 1000; t += 10) session->pluginBeatCounter().beat(t);
  beat();
  EXPECT_TRUE(host->beatText().text().startsWith("9904 beats")) << host->beatText().text().toStdString();
  EXPECT_EQ(count.minimumSize().width(), least);
  EXPECT_EQ(count.sizeHint().width(), wanted);
  // The lamp goes dark at the next refresh after its flash, or by itself.
  QTest::qWait(BeatIndicator::kFlashMs + 10);
  session->channels().set(2, 99, session->loop().nowMs());
  event();
  EXPECT_FALSE(host->beatLamp().lit());
  beat();
  QTRY_VERIFY_WITH_TIMEOUT(!host->beatLamp().lit(), 2000);
  // Hidden, the monitor waits; the output is told all the same.
  host->hide();
  const int hidden = output.calls;
  session->channels().set(600, 200, session->loop().nowMs());
  event();
  EXPECT_EQ(output.calls, hidden + 1);
  EXPECT_FALSE(host->monitor().highlighted(600));
  host->show();
  QTRY_VERIFY_WITH_TIMEOUT(host->monitor().highlighted(600), 500);  // at the monitor's pace
}

TEST_F(HostWindowTest, ClosingTheHostWindowClosesMainAndSavesItsSettings) {
  const std::filesystem::path file = dir() / "Sonvero.ini";
  ASSERT_FALSE(std::filesystem::exists(file));
  host->show();
  const int before = output.calls;
  host->close();
  EXPECT_FALSE(session->mainWindow()->loaded());
  EXPECT_TRUE(std::filesystem::exists(file));
  EXPECT_EQ(closed, 1);
  EXPECT_GT(output.calls, before);  // the last values go out
}

TEST_F(HostWindowTest, TheBarDialogNamesItsPixelsFrequencies) {
  backend_->addDecorator([this](tk::Form& form, tk::qt::FormWindow& window) {
    return decoratePixelBoxes(*session->design(), form, window);
  });
  tk::Control* plus = session->mainWindow()->findControl("Command1");
  tk::app().runEvent([plus] { static_cast<tk::CommandButton*>(plus)->userClick(); });
  tk::Form* dialog = formCaptioned("Balken definieren");
  ASSERT_NE(dialog, nullptr);
  auto* from = window(*dialog)->findChild<QLabel*>("FromPixelRange");
  auto* to = window(*dialog)->findChild<QLabel*>("ToPixelRange");
  ASSERT_TRUE(from && to);
  EXPECT_EQ(from->text(), "20.0\u2013" "20.5 Hz");
  EXPECT_EQ(to->text(), "15.63\u2013" "16.00 kHz");
  for (auto [label, box] : {std::pair{from, "Combo1"}, {to, "Combo2"}}) {  // just below, ending at its right edge
    const QRect under = widget(*dialog->findControl(box))->geometry();
    EXPECT_EQ(label->geometry().top(), under.bottom() + 1) << box;
    EXPECT_EQ(label->geometry().right(), under.right()) << box;
  }
  auto& box = static_cast<tk::ComboBox&>(*dialog->findControl("Combo1"));
  tk::app().runEvent([&] { box.userSelect(99); });
  EXPECT_EQ(from->text().toStdString(), pixelRangeText(99));
  tk::app().runEvent([&] { box.userType("abc"); });
  EXPECT_EQ(from->text(), "");
  EXPECT_EQ(box.items().size(), 288u);
}

// The status line names the first reason why no light moves, until all is mended.
TEST_F(HostWindowTest, TheStatusLineNamesEachReasonUntilAllIsWell) {
  ASSERT_EQ(vbvis_open("script"), 0);
  vbvis_script_vu(8000, 8000);
  tk::Form& main = *session->mainWindow();
  auto status = [&] { return host->statusLine().text().toStdString(); };
  auto expectStatus = [&](const std::string& expected) { EXPECT_TRUE(saysWithin(*host, expected)); };
  expectStatus("DMX output is off: tick \"DMX-Ausgabe aktiv\"");
  tick("Check5", 1);
  expectStatus("Spectrum and VU are muted: untick their \"Mute\" boxes");
  // The beat output lights whatever the mutes.
  HostDesign beats;
  beats.beatPattern = {BeatPattern::Mode::Flash, 100, {600}};
  session->setHostDesign(beats);
  expectStatus("Sending to OLA universe 2");
  session->setHostDesign({});
  expectStatus("Spectrum and VU are muted: untick their \"Mute\" boxes");
  tick("Check8", 0);
  expectStatus("No bar and no list has channels: add a bar with \"+\", or click L, R or ch");
  session->design()->writeList(2, 0, {1});
  output.dmx.state = DmxFacts::State::Unreachable;
  expectStatus("OLA not reachable: start olad");
  // Unpatched universes and a rig on one interface: host_window_olad_test.
  output.dmx.state = DmxFacts::State::Sending;
  session->design()->writeList(3, 0, {600});
  expectStatus("Sending to OLA universes 1 and 2");
  // The master at 0 and the blackout come first: they darken everything.
  host->masterPanel().master().setValue(0);
  expectStatus("The master is at 0 %: raise it to let the light out");
  host->masterPanel().blackout().click();
  expectStatus("Blackout: every channel sends 0; press B or click \"Blackout\" to bring the light back");
  host->masterPanel().master().setValue(100);
  host->masterPanel().blackout().click();
  expectStatus("Sending to OLA universes 1 and 2");
  EXPECT_TRUE(upkeepUntil(*host, [&] { return host->sources().level().level().value_or(0) > 0; }))
      << "the live input level";
  // Five seconds without sound.
  vbvis_script_vu(0, 0);
  const auto quiet = std::chrono::steady_clock::now();
  const bool silent = upkeepUntil(
      *host, [&] { return status().starts_with("No sound from "); }, std::chrono::seconds(kSilentSeconds + 3));
  EXPECT_TRUE(silent) << status();
  EXPECT_GE(std::chrono::steady_clock::now() - quiet, std::chrono::seconds(kSilentSeconds));
  vbvis_script_vu(8000, 8000);
  expectStatus("Sending to OLA universes 1 and 2");
  EXPECT_FALSE(host->reopenButton().isEnabled());
  window(main)->close();
  expectStatus("Sonvero's window is closed: click \"Open Sonvero\"");
  ASSERT_TRUE(host->reopenButton().isEnabled());
  QTest::mouseClick(&host->reopenButton(), Qt::LeftButton);
  ASSERT_NE(window(main), nullptr);
  EXPECT_TRUE(window(main)->isVisible());
  expectStatus("Sending to OLA universes 1 and 2");
  EXPECT_FALSE(host->reopenButton().isEnabled());
  vbvis_close();
}

// (A player at -61 dBFS once left every bar dark under a green status line.)
TEST_F(HostWindowTest, QuietMusicIsAWarningWithItsLevelAndTheRemedy) {
  readyToLight();
  SoxSignals sox;  // a sine at -61 dBFS RMS
  ASSERT_EQ(vbvis_set_gain(0, 0.0), 0);
  ASSERT_EQ(vbvis_open(("file:" + sox.make("quiet.wav", "synth 2 sine 220 gain -58")).c_str()), 0);
  const auto status = [&] { return host->statusLine().text().toStdString(); };
  EXPECT_TRUE(upkeepUntil(*host, [&] { return status().starts_with("The music is very quiet"); },
                          std::chrono::seconds(QuietInput::kQuietSeconds + 3)))
      << status();
  EXPECT_EQ(status(), "The music is very quiet (-61 dBFS): raise the player's volume or the fixed gain");
  ASSERT_EQ(vbvis_set_gain(0, 30.0), 0);
  EXPECT_TRUE(saysWithin(*host, "Sending to OLA universe 1")) << "the gain brings it up";
  vbvis_close();
}

TEST_F(HostWindowTest, AChosenSourceTakesEffectAtOnceAndIsKept) {
  QComboBox& box = host->sources().box();
  auto pick = [&](const QString& uri) {
    ASSERT_GE(box.findData(uri), 0) << uri.toStdString();
    choose(box, box.findData(uri));
  };
  ASSERT_EQ(vbvis_open("silence"), 0);
  pick("demo");
  EXPECT_STREQ(vbvis_source_uri(), "demo");
  EXPECT_EQ(readHostSettings(keptFile()).source, "demo");
  // "File…" asks for a file: one that is no audio file changes nothing.
  support::writeBytes(dir() / "not_audio.wav", "plain text");
  host->sources().askForFile = [&] { return (dir() / "not_audio.wav").string(); };
  pick("");
  EXPECT_STREQ(vbvis_source_uri(), "demo");
  EXPECT_EQ(box.currentData().toString(), "demo");
  EXPECT_EQ(readHostSettings(keptFile()).source, "demo");
  vbvis_close();
}

// Only a text wider than any before lays the window out anew; it never narrows.
TEST(Readout, ANewTextThatFitsLaysNothingOutAnew) {
  support::offscreenQtApp();
  QWidget window;
  auto* row = new QHBoxLayout(&window);
  QLabel* readout = readoutLabel("-00.0 dB");
  row->addWidget(readout);
  row->addWidget(new QLabel("beside"));
  window.show();
  support::QtFixture::settle();
  support::EventCounter layouts(QEvent::LayoutRequest);
  window.installEventFilter(&layouts);
  const QSize size = readout->size();
  for (const QString text : {"1.0 dB", "-12.5 dB", ""}) {
    showReadout(*readout, text);
    support::QtFixture::settle();
    EXPECT_EQ(readout->text(), text);
  }
  EXPECT_EQ(layouts.count(), 0);
  EXPECT_EQ(readout->size(), size);
  showReadout(*readout, "a text much wider than the widest one");
  support::QtFixture::settle();
  EXPECT_GT(readout->width(), size.width());
  EXPECT_GE(layouts.count(), 1);
  const int wide = readout->width();
  showReadout(*readout, "1");
  EXPECT_EQ(readout->width(), wide);
}
