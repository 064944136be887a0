#include "encoding/NumberReading.h"

#include "os/Failure.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <string>

namespace drilbank {
namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Collects the characters of a leading number, leaving out the skipped white space; stops
// where the number cannot go on. `end` is where reading stopped in the original text.
std::string collectNumber(std::string_view text, bool skipWhiteSpace, std::size_t& end) {
    enum class Part { Sign, Whole, Fraction, ExponentSign, Exponent };
    Part part = Part::Sign;
    std::string number;
    bool anyDigit = false;
    std::size_t lastGood = 0; // length of `number` that forms a complete number
    std::size_t index = 0;
    end = 0;
    for (; index < text.size(); ++index) {
        const char c = text[index];
        if (skipWhiteSpace && (c == ' ' || c == '\t' || c == '\n')) {
            continue;
        }
        if (part == Part::Sign && (c == '+' || c == '-')) {
            part = Part::Whole;
        } else if ((part == Part::Sign || part == Part::Whole) && isDigit(c)) {
            part = Part::Whole;
            anyDigit = true;
        } else if ((part == Part::Sign || part == Part::Whole) && c == '.') {
            part = Part::Fraction;
        } else if (part == Part::Fraction && isDigit(c)) {
            anyDigit = true;
        } else if ((part == Part::Whole || part == Part::Fraction) && anyDigit &&
                   (c == 'e' || c == 'E')) {
            part = Part::ExponentSign;
        } else if (part == Part::ExponentSign && (c == '+' || c == '-')) {
            part = Part::Exponent;
        } else if ((part == Part::ExponentSign || part == Part::Exponent) && isDigit(c)) {
            part = Part::Exponent;
        } else {
            break;
        }
        number.push_back(c);
        if (anyDigit && (part != Part::ExponentSign && !(part == Part::Exponent && !isDigit(c)))) {
            lastGood = number.size();
            end = index + 1;
        }
    }
    number.resize(lastGood);
    return number;
}

double parse(const std::string& number) {
    if (number.empty()) {
        return 0.0;
    }
    const char* first = number.data();
    if (*first == '+') {
        ++first;
    }
    double value = 0.0;
    const auto result = std::from_chars(first, number.data() + number.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        // Too small rounds to zero; too large cannot be held.
        const bool tiny =
            number.find("e-") != std::string::npos || number.find("E-") != std::string::npos;
        if (tiny) {
            return 0.0;
        }
        throw Failure(failure::Overflow);
    }
    return value;
}

} // namespace

double leadingNumber(std::string_view text) {
    std::size_t end = 0;
    return parse(collectNumber(text, true, end));
}

double mustBeNumber(std::string_view text) {
    const auto isBlank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && isBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isBlank(text.back())) {
        text.remove_suffix(1);
    }
    std::size_t end = 0;
    const std::string number = collectNumber(text, false, end);
    if (number.empty() || end != text.size()) {
        throw Failure(failure::TypeMismatch);
    }
    return parse(number);
}

std::string numberText(double value) {
    if (value == 0.0 || !std::isfinite(value)) {
        return "0";
    }
    // 15 significant digits, then written out without an exponent.
    char scientific[32];
    std::snprintf(scientific, sizeof scientific, "%.14e", std::fabs(value));
    const std::string text(scientific);
    const std::size_t e = text.find('e');
    std::string digits = text.substr(0, 1) + text.substr(2, e - 2);
    const int exponent = std::stoi(text.substr(e + 1));
    while (digits.size() > 1 && digits.back() == '0') {
        digits.pop_back();
    }
    std::string plain;
    const int pointAfter = exponent + 1; // digits before the decimal point
    if (pointAfter <= 0) {
        plain = "0." + std::string(static_cast<std::size_t>(-pointAfter), '0') + digits;
    } else if (static_cast<std::size_t>(pointAfter) >= digits.size()) {
        plain = digits + std::string(static_cast<std::size_t>(pointAfter) - digits.size(), '0');
    } else {
        plain = digits.substr(0, static_cast<std::size_t>(pointAfter)) + "." +
                digits.substr(static_cast<std::size_t>(pointAfter));
    }
    return value < 0 ? "-" + plain : plain;
}

} // namespace drilbank
