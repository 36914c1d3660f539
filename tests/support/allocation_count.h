// Counts every allocation through new in the test program that links it, so that a test can
// see a frame or a tick that allocates.
#pragma once

namespace zandrel::test {

// Allocations through new since the program started.
long AllocationCount();

}  // namespace zandrel::test
