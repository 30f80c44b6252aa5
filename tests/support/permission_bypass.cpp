#include "tests/support/permission_bypass.h"

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace corvant::testing {

void dropPermissionBypass() {
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[2] = {};
    if (syscall(SYS_capget, &header, data) != 0) return;
    const unsigned bypass = (1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH);
    data[0].effective &= ~bypass;
    syscall(SYS_capset, &header, data);
}

}  // namespace corvant::testing
