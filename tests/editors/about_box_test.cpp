#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>

#include "ui/frmAbout.h"

namespace {

std::uint32_t bigEndian(const std::string& bytes, size_t at) {
  std::uint32_t v = 0;
  for (size_t i = 0; i < 4; ++i) v = (v << 8) | static_cast<unsigned char>(bytes[at + i]);
  return v;
}

TEST(AboutBox, TheIconIsAFiftyFivePixelSquarePngShippedWithTheProgram) {
  std::ifstream in(std::string(SONVERO_RESOURCES_DIR) + "/" + frmAbout::kIconResource, std::ios::binary);
  ASSERT_TRUE(in) << "missing " << frmAbout::kIconResource;
  const std::string png{std::istreambuf_iterator<char>(in), {}};
  ASSERT_GT(png.size(), 24u);
  EXPECT_EQ(png.substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8));
  EXPECT_EQ(png.substr(12, 4), "IHDR");
  EXPECT_EQ(bigEndian(png, 16), 55u);
  EXPECT_EQ(bigEndian(png, 20), 55u);
}

}  // namespace
