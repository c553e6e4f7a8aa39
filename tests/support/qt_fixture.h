#pragma once
// What the Qt tests share: the offscreen application, the Qt event loop
// and backend at a fixed 96 dpi, and ways to reach a form's widgets.
#include <gtest/gtest.h>

#include <QEvent>
#include <QImage>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QWidget>
#include <memory>
#include <string>

#include "toolkit/application.h"
#include "toolkit/form.h"
#include "toolkit/qt/qt_backend.h"
#include "toolkit/qt/qt_event_loop.h"

namespace support {

// Counts the events of one type that reach the objects it is installed on
// as an event filter (paints, layout requests).
class EventCounter : public QObject {
 public:
  explicit EventCounter(QEvent::Type type) : type_(type) {}
  int count() const { return count_; }

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    count_ += event->type() == type_;
    return false;
  }

 private:
  QEvent::Type type_;
  int count_ = 0;
};

class QtFixture : public ::testing::Test {
 public:
  // Lets Qt deliver what is pending (deferred deletes, paints).
  static void settle();
  // A shown top-level widget as it is on screen (after settle()), with every
  // earlier partial repaint in it, and as it is after one full repaint; the
  // two must agree.
  static QImage onScreen(QWidget& window);
  static QImage afterFullRepaint(QWidget& window);

 protected:
  void SetUp() override;
  void TearDown() override;

  // Shows a form as the host or a handler would: one toolkit event.
  void show(tk::Form& form);
  tk::qt::FormWindow* window(const tk::Form& form) const { return backend_->windowOf(form); }
  QWidget* widget(const tk::Control& control) const;
  template <class W>
  W* widgetAs(const tk::Control& control) const {
    auto* w = dynamic_cast<W*>(widget(control));
    EXPECT_NE(w, nullptr) << control.displayName();
    return w;
  }
  // The loaded form with this caption opened last, or nullptr.
  tk::Form* formCaptioned(const std::string& caption) const;
  // Drags a scroll bar's thumb to a height in the bar's pixels, as a user does.
  static void dragThumb(QScrollBar* bar, int toY);

  std::unique_ptr<tk::qt::QtEventLoop> loop_;
  std::unique_ptr<tk::qt::QtBackend> backend_;
  QTemporaryDir settingsDir;  // SONVERO_SETTINGS_DIR: the test's own Sonvero.ini
};

}  // namespace support
