#pragma once
#include <platform/registry.h>

namespace platform {

// The registry of this Windows (or Wine) session, through advapi32's A functions.
Registry& SystemRegistry();

}  // namespace platform
