#include "support/recording_box.h"

namespace vantrel::test {

std::ostream& operator<<(std::ostream& out, const ShownBox& box) {
  return out << "[" << box.title << "] " << box.text;
}

}  // namespace vantrel::test
