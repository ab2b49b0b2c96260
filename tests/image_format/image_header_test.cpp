#include <gtest/gtest.h>

#include "image_format/image_header.h"
#include "support/temp_files.h"

namespace vantrel {
namespace {

TEST(ImageHeader, ShortInputGivesNoHeader) {
  const std::vector<std::uint8_t> bytes = test::ImageBytes(kHeaderEnd);
  for (std::size_t size = 0; size < kHeaderEnd; ++size) {
    const ImageHeader header = ParseImageHeader(std::span(bytes).first(size), 0x1000000);
    EXPECT_FALSE(header.present) << size;
    EXPECT_FALSE(header.FixedByteOk());
    EXPECT_FALSE(header.ComplementMatches());
  }
  const ImageHeader whole = ParseImageHeader(bytes, 0x1000000);
  EXPECT_TRUE(whole.present);
  EXPECT_EQ(whole.title, "VANTREL TEST");
  EXPECT_EQ(whole.maker_code, "01");
  EXPECT_TRUE(whole.ComplementMatches());
}

TEST(ImageHeader, PrintableTextEscapesAllButPrintableAscii) {
  EXPECT_EQ(PrintableText(std::string("AB\0\0", 4)), "AB");
  EXPECT_EQ(PrintableText(std::string("\0A\0", 3)), "\\x00A");
  EXPECT_EQ(PrintableText("\x7F\\\xC3\xA9~ "), "\\x7F\\x5C\\xC3\\xA9~ ");
  EXPECT_EQ(PrintableText(std::string(4, '\0')), "");
}

}  // namespace
}  // namespace vantrel
