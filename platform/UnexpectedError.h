#pragma once
// What happens to an error nobody expected: the user is not bothered with it,
// but once the program is shutting down it must not limp on, so it ends at once.
namespace kelvo::win {

void swallowUnexpectedError(const char* where) noexcept;
// From now on an unexpected error ends the process.
void endProcessOnUnexpectedError() noexcept;

} // namespace kelvo::win
