#pragma once
#include <cstddef>

namespace kelvo::test {

// The number of threads the test process runs now, to see that a library starts
// one thread and ends it again.
std::size_t threadsOfThisProcess();

} // namespace kelvo::test
