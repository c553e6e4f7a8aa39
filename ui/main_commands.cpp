#include "ui/Main.h"

void Main::Command1_Click() {}
void Main::Command2_Click() {}
void Main::Command3_Click() {}
void Main::Command4_Click() {}
void Main::Label5_Click() {}
void Main::Label13_Click() {}
void Main::Label14_Click() {}
void Main::Label15_Click() {}
void Main::Label16_Click() {}
void Main::KanaeleFormLoad() {}
