#pragma once

#include <string>
#include <string_view>

namespace drilbank {

// The first n characters of a text, the whole text when it is shorter.
inline std::string_view leftOf(std::string_view text, std::size_t n) {
    return text.substr(0, n);
}

// Lower-cases the ASCII letters of a text, as the script's markers are compared.
std::string lowerCase(std::string_view text);

} // namespace drilbank
