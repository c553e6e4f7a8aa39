#include "tests/support/qt_fixture.h"

#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QMouseEvent>
#include <QScreen>
#include <QStyleOptionSlider>
#include <QTest>
#include <cstdlib>

#include "tests/support/qt_application.h"

namespace support {

void QtFixture::SetUp() {
  ASSERT_TRUE(settingsDir.isValid());
  setenv("SONVERO_SETTINGS_DIR", settingsDir.path().toLocal8Bit().constData(), 1);
  offscreenQtApp();
  loop_ = std::make_unique<tk::qt::QtEventLoop>();
  tk::app().setLoop(loop_.get());
  // A fixed 96 dpi: 15 twips per pixel, whatever the platform reports.
  backend_ = std::make_unique<tk::qt::QtBackend>(tk::qt::TwipScale(96.0));
}

void QtFixture::TearDown() {
  tk::app().discardAll();
  settle();
  backend_.reset();
  tk::app().setLoop(nullptr);
  loop_.reset();
}

void QtFixture::show(tk::Form& form) {
  tk::app().runEvent([&form] { form.show(); });
}

QWidget* QtFixture::widget(const tk::Control& control) const {
  tk::qt::FormWindow* w = window(control.form());
  return w ? w->widgetOf(control) : nullptr;
}

tk::Form* QtFixture::formCaptioned(const std::string& caption) const {
  tk::Form* found = nullptr;
  for (tk::Form* f : tk::app().forms())
    if (f->caption() == caption) found = f;
  return found;
}

void QtFixture::settle() {
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  QCoreApplication::processEvents();
}

QImage QtFixture::onScreen(QWidget& window) {
  // The offscreen platform grabs from the window's backing store.
  return window.screen()->grabWindow(window.winId()).toImage().convertToFormat(QImage::Format_RGB32);
}

QImage QtFixture::afterFullRepaint(QWidget& window) {
  window.repaint();
  return onScreen(window);
}

void QtFixture::dragThumb(QScrollBar* bar, int toY) {
  QStyleOptionSlider option;
  option.initFrom(bar);
  option.orientation = bar->orientation();
  option.minimum = bar->minimum();
  option.maximum = bar->maximum();
  option.sliderPosition = bar->sliderPosition();
  option.sliderValue = bar->value();
  option.singleStep = bar->singleStep();
  option.pageStep = bar->pageStep();
  option.upsideDown = bar->invertedAppearance();
  const QPoint from =
      bar->style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, bar).center();
  const QPoint to(from.x(), toY);
  QTest::mousePress(bar, Qt::LeftButton, {}, from);
  QMouseEvent move(QEvent::MouseMove, QPointF(to), bar->mapToGlobal(QPointF(to)), Qt::LeftButton, Qt::LeftButton,
                   Qt::NoModifier);
  QApplication::sendEvent(bar, &move);
  QTest::mouseRelease(bar, Qt::LeftButton, {}, to);
}

}  // namespace support
