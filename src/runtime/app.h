#pragma once

#include <cstdint>
#include <string_view>

namespace vantrel {

// The application's title, which success boxes carry.
std::string_view AppTitle();

// The program's version as shown to users, "1.00".
std::string_view AppVersion();

// The instance handle the file dialogs take; front ends that have one set it.
std::uintptr_t AppInstanceHandle();
void SetAppInstanceHandle(std::uintptr_t handle);

}  // namespace vantrel
