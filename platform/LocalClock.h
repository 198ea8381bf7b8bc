#pragma once
// The local date and time as the data files count it.
#include "storage/DateTime.h"

namespace kelvo {

DateTime localNow();

} // namespace kelvo
