#pragma once
// Labels whose text changes while the window runs (a level, a gain, a beat
// count): a QLabel whose text changes asks its whole window to be laid out
// anew, unless its size is fixed. A readout keeps a fixed size, so a new
// text that fits costs only its own repaint; one that does not fit widens
// it (once: it never narrows, so its neighbours do not jump either).
#include <QLabel>
#include <QString>

namespace vantorhost {

// A readout as wide as `widest` (written with the widest characters its
// texts use), empty.
QLabel* readoutLabel(const QString& widest);
// Shows `text` on a readout; nothing happens when it is already shown. A
// text longer than the widest so far is measured, and widens the readout
// if it must.
void showReadout(QLabel& readout, const QString& text);

}  // namespace vantorhost
