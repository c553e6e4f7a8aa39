// Every number on the command line is decimal (CLI11 alone reads 010 as
// eight and refuses 08), and the value checked is the value used.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "vantorhost/program/command_line.h"

namespace {

using vantorhost::HostOptions;

// The exit status when the program would end, and its standard error.
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
  struct Case {
    const char *delay, *universe, *port;
    int delayMs, universeNumber, portNumber;
  };
  for (const Case c : {Case{"010", "010", "010", 10, 10, 10}, Case{"0500", "08", "09010", 500, 8, 9010},
                       Case{"0", "0", "065535", 0, 0, 65535}}) {
    HostOptions o;
    ASSERT_EQ(read({"--delay", c.delay, "--universe", c.universe, "--ola-port", c.port}, o), std::nullopt) << c.delay;
    EXPECT_EQ(std::tuple(*o.delayMs, o.universe, o.olaPort), std::tuple(c.delayMs, c.universeNumber, c.portNumber));
  }
}

// Refused naming the option, with nothing a terminal acts on.
TEST(CommandLine, NumbersOutOfRangeOrNotInDecimalAndEmptyShowsAreRefused) {
  for (const auto& [option, value, reason] : std::initializer_list<std::tuple<std::string, std::string, std::string>>{
           {"--delay", "0505", ""}, {"--delay", "0012", ""}, {"--ola-port", "0100000", ""}, {"--ola-port", "00", ""},
           {"--universe", "02147483647", ""}, {"--universe", "0x10", "in decimal"}, {"--ola-port", "0x2332", "in decimal"},
           {"--delay", "1e2", "in decimal"}, {"--universe", "+1", "in decimal"}, {"--universe", "", "in decimal"},
           {"--delay", "10ms", "in decimal"}, {"--ola-port", "9010\x1b[2J", "in decimal"},
           {"--show", "", ""}}) {
    HostOptions o;
    std::string said;
    EXPECT_NE(read({option, value}, o, &said), std::nullopt) << option << " " << value;
    EXPECT_NE(said.find(option + ": "), std::string::npos) << said;
    EXPECT_NE(said.find(reason), std::string::npos) << said;
    EXPECT_EQ(said.find('\x1b'), std::string::npos) << "escaped: " << said;
  }
}

}  // namespace
