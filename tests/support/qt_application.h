#pragma once
// The process's one QApplication, on Qt's offscreen platform: made on
// first use and kept until the process ends, as the plug-in's forms
// outlive single tests.
#include <QApplication>

namespace support {

QApplication& offscreenQtApp();

}  // namespace support
