#include <filesystem>
#include <random>
#include <stdexcept>

#include "tests/support/registry_sandbox.h"

namespace corvant::testing {

const char *const programKeys[7] = {".html", ".htm", "htmlfile", "http", "https", "ftp", "gopher"};

RegistrySandbox::RegistrySandbox() {
    std::random_device random;
    for (int attempt = 0; attempt < 100 && folder_.empty(); ++attempt) {
        auto candidate = std::filesystem::temp_directory_path() / ("corvant-test-" + std::to_string(random()));
        if (std::filesystem::create_directory(candidate)) folder_ = candidate.string();
    }
    if (folder_.empty()) throw std::runtime_error("cannot make a scratch folder");
    isolateRegistry(folder_);
}

RegistrySandbox::~RegistrySandbox() {
    releaseRegistry();
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
}

}  // namespace corvant::testing
