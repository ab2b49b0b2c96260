#pragma once

namespace vantrel::test {

// How many file handles the process holds now; a call that leaks one shows
// as a difference between two counts.
int OpenHandleCount();

}  // namespace vantrel::test
