// Compiled by the tests with CONTROL_NAME defined: a name the layout table
// holds compiles, any other must not.
#include "shell/layout/form_layout.h"

constexpr vantrel::layout::ControlName kChecked = CONTROL_NAME;
