#include "ui/Main.h"

void Main::load_settings() {}
void Main::save_settings() {}
