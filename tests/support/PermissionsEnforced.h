#pragma once

// Tests that make a file or folder inaccessible need its permissions to hold,
// but root passes every permission check. While a PermissionsEnforced lives, the
// calling thread gives up the two capabilities that let root past them
// (CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH), and takes them back at its end.

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

class PermissionsEnforced {
  public:
    PermissionsEnforced() {
        if (::geteuid() != 0) {
            enforced = true;
            return;
        }
        if (::syscall(SYS_capget, &header, saved) != 0)
            return;
        __user_cap_data_struct lowered[2] = {saved[0], saved[1]};
        lowered[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH));
        enforced = restore = ::syscall(SYS_capset, &header, lowered) == 0;
    }
    ~PermissionsEnforced() {
        if (restore)
            ::syscall(SYS_capset, &header, saved);
    }
    PermissionsEnforced(const PermissionsEnforced&) = delete;
    PermissionsEnforced& operator=(const PermissionsEnforced&) = delete;

    // False when the process runs as root and could not give the capabilities up.
    bool holds() const { return enforced; }

  private:
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct saved[2]{};
    bool enforced = false;
    bool restore = false;
};
