#include "search/path_separator.h"

const char pathSeparator = '\\';
