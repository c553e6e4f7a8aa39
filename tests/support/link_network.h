#pragma once
// Whether Link peers on this machine find each other, for the tests that
// need a session of several peers. Link finds peers by multicast on the
// machine's interfaces, which a container or a CI runner may not carry.
//
// As root, the test process first moves into a network namespace of its
// own with only the loopback up: no peer elsewhere on the network (a DJ's
// laptop, another run of these tests) joins the session under test. Without
// root it uses the machine's own interfaces. Call it from the main thread
// before the test starts a thread or a process.
#include <optional>
#include <string>

// Nothing when two peers met; else why not, for GTEST_SKIP.
std::optional<std::string> linkPeersUnavailable();
// Where the peers meet: "a private network namespace (loopback)" or "this machine's network".
std::string linkNetworkName();
