#pragma once
// Whether Link peers on this machine find each other by multicast, which a
// container or CI runner may not carry. As root the process first moves into
// a network namespace with only the loopback, so that no peer from elsewhere
// joins; call it from the main thread before any thread or process starts.
#include <optional>
#include <string>

// Nothing when two peers met; else why not, for GTEST_SKIP.
std::optional<std::string> linkPeersUnavailable();
// Where the peers meet: "a private network namespace (loopback)" or "this machine's network".
std::string linkNetworkName();
