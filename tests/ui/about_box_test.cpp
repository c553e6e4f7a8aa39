#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "ui/frmAbout.h"

namespace {

TEST(AboutBox, TheIconIsAFiftyFivePixelSquarePngShippedWithTheProgram) {
  std::ifstream in(std::string(SONVERO_RESOURCES_DIR) + "/" + frmAbout::kIconResource, std::ios::binary);
  ASSERT_TRUE(in) << "missing " << frmAbout::kIconResource;
  const std::string png{std::istreambuf_iterator<char>(in), {}};
  ASSERT_GT(png.size(), 24u);
  EXPECT_EQ(png.substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8));
  // The IHDR chunk: width and height as 32-bit big-endian numbers.
  EXPECT_EQ(png.substr(12, 12), std::string("IHDR\0\0\0\x37\0\0\0\x37", 12));
}

}  // namespace
