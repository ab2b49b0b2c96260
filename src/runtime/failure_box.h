#pragma once

#include <string>

#include "runtime/error.h"

namespace vantrel {

// "Error: 53": the title of the box in which file failures are reported.
std::string FailureTitle(const RuntimeError& error);

// Shows the failure box: the error's description, titled with its number.
void ShowFailureBox(const RuntimeError& error);

}  // namespace vantrel
