// Applies the associations for one browser path, as the main dialog does
// after a file has been chosen:  apply_tool PATH netscape|ie|other
// Exit status 0 when applyAssociations reported success.
#include <cstdio>
#include <cstring>

#include "assoc/apply.h"
#include "assoc/browser_settings.h"

int main(int argc, char **argv) {
    if (argc != 3 || std::strlen(argv[1]) >= sizeof browserSettings.browserPath) {
        std::fprintf(stderr, "usage: apply_tool PATH netscape|ie|other\n");
        return 2;
    }
    const bool ie = std::strcmp(argv[2], "ie") == 0;
    browserSettings.browserIsNetscape = !ie;
    browserSettings.browserIsOther = std::strcmp(argv[2], "other") == 0;
    browserSettings.registerHtmlFile = browserSettings.registerHttp = browserSettings.registerHttps =
        browserSettings.registerFtp = browserSettings.registerGopher = true;
    std::strcpy(browserSettings.browserPath, argv[1]);
    return applyAssociations() ? 0 : 1;
}
