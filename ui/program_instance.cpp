#include "ui/program_instance.h"

HINSTANCE programInstance = nullptr;
