#pragma once

#include <cstdint>
#include <string_view>

namespace drilbank {

// CRC-32 (the polynomial of zip and PNG), fed piece by piece: tells a whole journal entry
// from one that a kill or a power loss cut short.
class Checksum {
public:
    void add(std::string_view bytes);
    std::uint32_t value() const { return ~state_; }

private:
    std::uint32_t state_ = 0xFFFFFFFFu;
};

} // namespace drilbank
