// ReverseHex on any text: it must never fail, keep every digit, and undo
// itself.
#include <string>

#include "fuzz_support.h"
#include "image_bytes/hex_functions.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using vantrel::fuzz::Check;
  const std::string text(vantrel::fuzz::Text(data, size));
  const std::string padded = text.size() % 2 == 0 ? text : "0" + text;

  const std::string reversed = vantrel::HexFunctions::ReverseHex(text);
  Check(reversed.size() == padded.size(), "the reversed text keeps the padded length");
  Check(reversed.empty() || reversed.substr(0, 2) == padded.substr(padded.size() - 2),
        "the last byte comes first");
  Check(vantrel::HexFunctions::ReverseHex(reversed) == padded,
        "reversing twice gives the padded text back");
  return 0;
}
