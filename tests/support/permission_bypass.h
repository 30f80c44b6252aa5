// Native tests run as root in CI; root reads and writes any file. A child
// process that must meet a permission failure drops that power first.
#pragma once

namespace corvant::testing {

// Drops this process's power to bypass file permissions (root's
// CAP_DAC_OVERRIDE and CAP_DAC_READ_SEARCH). Meant for a child process.
void dropPermissionBypass();

}  // namespace corvant::testing
