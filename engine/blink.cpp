#include "ui/Main.h"

void Main::Timer2_Timer() {}
