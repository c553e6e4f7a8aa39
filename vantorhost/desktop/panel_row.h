#pragma once
// The host window's panels (source, gain, Link, beats, master, fade) each stand
// in one row: a caption, then their widgets, with no margin of their own.
#include <QString>
#include <QWidget>
#include <initializer_list>

namespace vantorhost {

// Lays out `panel` as that row; an empty caption adds no label.
void layOutPanelRow(QWidget& panel, const QString& caption, std::initializer_list<QWidget*> widgets);

}  // namespace vantorhost
