#pragma once
// Environment references (%NAME%) in paths from shortcuts and the registry.
#include <string>

namespace kelvo::win {

// Text without a "%" comes back as it is; a failed expansion leaves it unchanged.
std::wstring expandEnvironment(const std::wstring& text);

} // namespace kelvo::win
