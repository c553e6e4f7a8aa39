#pragma once
#include <array>
#include <cstdint>
#include <optional>

using UniverseValues = std::array<std::uint8_t, 512>;

// What olad holds for a universe now, read with OlaClient::FetchDMX; channels
// olad never got read 0. Nothing when olad does not answer within a second.
std::optional<UniverseValues> fetchDmx(std::uint16_t port, unsigned universe);

