#include "assoc/browser_settings.h"

BrowserSettings browserSettings;
