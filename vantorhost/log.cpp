#include "vantorhost/log.h"

#include <iostream>

void hostLog(std::string_view message) { std::cerr << "sonvero: " << message << std::endl; }
