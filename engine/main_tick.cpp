#include "ui/Main.h"

void Main::Timer1_Timer() {}
