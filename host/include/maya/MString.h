#ifndef MSTRING_H
#define MSTRING_H

#include <iosfwd>
#include <string>

class MStatus;

// Character string. Comparisons are exact and case-sensitive.
class MString {
public:
    MString() = default;
    MString(const char* text) : s_(text ? text : "") {}
    MString(const char* text, int length) : s_(text ? std::string(text, static_cast<size_t>(length)) : std::string()) {}
    MString(const std::string& text) : s_(text) {}

    unsigned length() const { return static_cast<unsigned>(s_.size()); }
    unsigned numChars() const { return length(); }
    const char* asChar() const { return s_.c_str(); }
    const std::string& str() const { return s_; }

    MString operator+(const MString& other) const { return MString(s_ + other.s_); }
    MString operator+(const char* other) const { return MString(s_ + (other ? other : "")); }
    MString operator+(double value) const;
    MString operator+(int value) const;
    MString operator+(unsigned value) const;
    MString& operator+=(const MString& other) { s_ += other.s_; return *this; }
    MString& operator+=(const char* other) { s_ += (other ? other : ""); return *this; }
    MString& operator+=(double value);
    MString& operator+=(int value);
    MString& operator+=(unsigned value);

    bool operator==(const MString& other) const { return s_ == other.s_; }
    bool operator==(const char* other) const { return s_ == (other ? other : ""); }
    bool operator!=(const MString& other) const { return s_ != other.s_; }
    bool operator!=(const char* other) const { return !(*this == other); }
    bool operator<(const MString& other) const { return s_ < other.s_; }

    // Numeric parsing of the whole string (surrounding blanks allowed).
    bool isDouble() const;
    bool isInt() const;
    double asDouble() const;
    int asInt() const;

private:
    std::string s_;
};

MString operator+(const char* left, const MString& right);
std::ostream& operator<<(std::ostream& os, const MString& text);

#endif
