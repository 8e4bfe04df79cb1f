#include <maya/MString.h>

#include <cctype>
#include <charconv>
#include <cmath>
#include <ostream>
#include <string_view>
#include <system_error>

namespace {

// Shortest "%g"-style text that reads back as the same double, independent of the locale:
// 1.5 -> "1.5", 2.0 -> "2", 0.1 -> "0.1", 1e20 -> "1e+20".
std::string formatDouble(double value) {
    if (std::isnan(value))
        return "nan";
    if (std::isinf(value))
        return value > 0 ? "inf" : "-inf";
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general);
    return std::string(buffer, result.ptr);
}

// The string without leading and trailing blanks (spaces, tabs, line ends).
std::string_view trimmed(const std::string& s) {
    size_t begin = 0;
    size_t end = s.size();
    while (begin < end && std::isspace(static_cast<unsigned char>(s[begin])))
        ++begin;
    while (end > begin && std::isspace(static_cast<unsigned char>(s[end - 1])))
        --end;
    return std::string_view(s).substr(begin, end - begin);
}

// from_chars does not take a leading '+'; accept one before a digit or '.'.
std::string_view withoutPlus(std::string_view text) {
    if (text.size() > 1 && text[0] == '+' && (std::isdigit(static_cast<unsigned char>(text[1])) || text[1] == '.'))
        return text.substr(1);
    return text;
}

// A finite decimal number occupying the whole string (blanks around allowed).
bool parseDouble(const std::string& s, double& out) {
    const std::string_view text = withoutPlus(trimmed(s));
    if (text.empty())
        return false;
    double value = 0.0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (result.ec != std::errc() || result.ptr != text.data() + text.size() || !std::isfinite(value))
        return false;
    out = value;
    return true;
}

// A decimal integer in int range occupying the whole string (blanks around allowed).
bool parseInt(const std::string& s, int& out) {
    const std::string_view text = withoutPlus(trimmed(s));
    if (text.empty())
        return false;
    int value = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (result.ec != std::errc() || result.ptr != text.data() + text.size())
        return false;
    out = value;
    return true;
}

}  // namespace

MString MString::operator+(double value) const {
    return MString(s_ + formatDouble(value));
}

MString MString::operator+(int value) const {
    return MString(s_ + std::to_string(value));
}

MString MString::operator+(unsigned value) const {
    return MString(s_ + std::to_string(value));
}

MString& MString::operator+=(double value) {
    s_ += formatDouble(value);
    return *this;
}

MString& MString::operator+=(int value) {
    s_ += std::to_string(value);
    return *this;
}

MString& MString::operator+=(unsigned value) {
    s_ += std::to_string(value);
    return *this;
}

bool MString::isDouble() const {
    double value;
    return parseDouble(s_, value);
}

bool MString::isInt() const {
    int value;
    return parseInt(s_, value);
}

// 0.0 when the string is not a number.
double MString::asDouble() const {
    double value = 0.0;
    return parseDouble(s_, value) ? value : 0.0;
}

// 0 when the string is not an integer (so "3.7" gives 0, not 3).
int MString::asInt() const {
    int value = 0;
    return parseInt(s_, value) ? value : 0;
}

MString operator+(const char* left, const MString& right) {
    return MString(left) + right;
}

std::ostream& operator<<(std::ostream& os, const MString& text) {
    return os << text.str();
}
