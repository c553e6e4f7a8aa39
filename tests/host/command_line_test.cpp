// The command line: every number is decimal, leading zeros and all (CLI11
// alone reads 010 as eight and refuses 08), the value checked is the value
// used, and a show with an empty name is refused.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "vantorhost/program/command_line.h"

namespace {

using vantorhost::HostOptions;

// Reads the arguments after the program's name; gives the exit status
// when the program would end, and what it said on standard error.
std::optional<int> read(std::vector<std::string> args, HostOptions& options, std::string* said = nullptr) {
  args.insert(args.begin(), "sonvero");
  std::vector<const char*> argv;
  for (const std::string& a : args) argv.push_back(a.c_str());
  testing::internal::CaptureStderr();
  testing::internal::CaptureStdout();
  const std::optional<int> ended = vantorhost::readCommandLine(static_cast<int>(argv.size()), argv.data(), options);
  testing::internal::GetCapturedStdout();
  const std::string error = testing::internal::GetCapturedStderr();
  if (said) *said = error;
  return ended;
}

TEST(CommandLine, NumbersWithLeadingZerosAreDecimal) {
  HostOptions o;
  ASSERT_EQ(read({"--delay", "010", "--universe", "010", "--ola-port", "010"}, o), std::nullopt);
  EXPECT_EQ(o.delayMs, 10);
  EXPECT_EQ(o.universe, 10);
  EXPECT_EQ(o.olaPort, 10);
  HostOptions p;
  ASSERT_EQ(read({"--delay", "0500", "--universe", "08", "--ola-port", "09010"}, p), std::nullopt);
  EXPECT_EQ(p.delayMs, 500);
  EXPECT_EQ(p.universe, 8);
  EXPECT_EQ(p.olaPort, 9010);
  HostOptions q;
  ASSERT_EQ(read({"--delay", "0", "--universe", "0", "--ola-port", "065535"}, q), std::nullopt);
  EXPECT_EQ(q.delayMs, 0);
  EXPECT_EQ(q.universe, 0);
  EXPECT_EQ(q.olaPort, 65535);
}

// What decimal reading puts out of range is refused, whatever another
// reading would have made of it.
TEST(CommandLine, TheValueCheckedIsTheValueUsed) {
  for (const std::vector<std::string>& args : {std::vector<std::string>{"--delay", "0505"}, {"--delay", "0012"},
                                              {"--ola-port", "0100000"}, {"--ola-port", "00"},
                                              {"--universe", "02147483647"}, {"--delay", "7"}}) {
    HostOptions o;
    std::string said;
    EXPECT_NE(read(args, o, &said), std::nullopt) << args[0] << " " << args[1];
    EXPECT_NE(said.find(args[0] + ": "), std::string::npos) << said;
  }
}

TEST(CommandLine, NumbersNotWrittenInDecimalAreRefusedSayingSo) {
  for (const std::vector<std::string>& args : {std::vector<std::string>{"--universe", "0x10"}, {"--ola-port", "0x2332"},
                                              {"--delay", "1e2"}, {"--universe", "+1"}, {"--universe", ""},
                                              {"--delay", "10ms"}, {"--ola-port", "9010\x1b[2J"}}) {
    HostOptions o;
    std::string said;
    EXPECT_NE(read(args, o, &said), std::nullopt) << args[0] << " " << args[1];
    EXPECT_NE(said.find(args[0] + ": "), std::string::npos) << said;
    EXPECT_NE(said.find("in decimal"), std::string::npos) << said;
    EXPECT_EQ(said.find('\x1b'), std::string::npos) << "escaped: " << said;
  }
}

// An empty name is no show, as a missing file is none: the start stops.
TEST(CommandLine, AShowWithAnEmptyNameIsRefused) {
  HostOptions o;
  std::string said;
  EXPECT_NE(read({"--headless", "--show", ""}, o, &said), std::nullopt);
  EXPECT_NE(said.find("--show: "), std::string::npos) << said;
  HostOptions p;
  EXPECT_EQ(read({"--headless", "--show", "a.show"}, p), std::nullopt);
  EXPECT_EQ(p.showPath, "a.show");
  EXPECT_EQ(p.mode, HostOptions::Mode::Headless);
}

}  // namespace
