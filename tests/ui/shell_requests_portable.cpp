// The desktop's opener replaced by a script that logs its one argument.
#include <filesystem>
#include <fstream>

#include "platform/portable/ui/scripted_front_end.h"
#include "tests/ui/shell_requests.h"

namespace corvant::testing {

ShellRequests::ShellRequests(const std::string &folder) : log_(folder + "/shell-requests.log") {
    const std::string opener = folder + "/opener";
    {
        std::ofstream script(opener);
        script << "#!/bin/sh\nprintf '%s\\n' \"$1\" >> '" << log_ << "'\n";
        ready_ = static_cast<bool>(script);
    }
    std::error_code error;
    std::filesystem::permissions(opener, std::filesystem::perms::owner_all, error);
    ready_ = ready_ && !error;
    setUrlOpener(opener);
}

ShellRequests::~ShellRequests() { setUrlOpener(""); }

}  // namespace corvant::testing
