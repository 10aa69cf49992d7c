#pragma once
// Shared by the printing tests: the private scheduler main() started for this process.
#include "support/private_cups.h"

namespace kvtest {

// The scheduler of this test run (made before Qt started).
PrivateCups& cups();

}  // namespace kvtest
