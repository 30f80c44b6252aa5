// The portable layer's stand-in for <windows.h>, <commdlg.h> and <shellapi.h>.
#pragma once

#include "types.h"
#include "code_page.h"
#include "registry.h"
#include "files.h"
#include "library.h"
#include "user.h"
#include "shell.h"
#include "system_version.h"
#include "text_metrics.h"
