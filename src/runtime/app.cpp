#include "runtime/app.h"

#include "runtime/version.h"

namespace vantrel {
namespace {
std::uintptr_t g_instance = 0;
}

std::string_view AppTitle() {
  return "Vantrel";
}

std::string_view AppVersion() {
  return kVersionText;
}

std::uintptr_t AppInstanceHandle() {
  return g_instance;
}

void SetAppInstanceHandle(std::uintptr_t handle) {
  g_instance = handle;
}

}  // namespace vantrel
