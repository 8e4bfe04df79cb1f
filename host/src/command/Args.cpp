#include "command/Args.h"

#include <maya/MGlobal.h>

#include <cctype>
#include <charconv>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdlib>

namespace host {

Args::Args(std::initializer_list<Arg> words) {
    for (const Arg& arg : words)
        push_back(arg);
}

Args::Args(const_iterator first, const_iterator last) {
    if (first.args_ == nullptr)
        return;
    base_ = first.args_->base_;
    for (size_t i = first.index_; i < last.index_; ++i)
        appendWord(*first.args_, i);
}

std::string_view Args::view(size_t index) const {
    const Ref& r = refs_[index];
    size_t size = r.sizeAndFlags & kMaxWord;
    if (r.sizeAndFlags & kOwned)
        return std::string_view(owned_).substr(r.offset, size);
    return base_.substr(r.offset, size);
}

bool Args::append(std::string_view text, bool quoted) {
    if (text.size() > kMaxWord || owned_.size() + text.size() > UINT32_MAX)
        return false;
    uint32_t offset = static_cast<uint32_t>(owned_.size());
    owned_.append(text);
    refs_.push_back(Ref{offset, static_cast<uint32_t>(text.size()) | kOwned | (quoted ? kQuoted : 0u)});
    return true;
}

void Args::appendWord(const Args& from, size_t index) {
    const Ref& r = from.refs_[index];
    if (!(r.sizeAndFlags & kOwned) && from.base_.data() == base_.data() && from.base_.size() == base_.size())
        refs_.push_back(r);
    else
        append(from.view(index), from.quoted(index));
}

void Args::clear() {
    refs_.clear();
    owned_.clear();
}

MStatus commandError(const std::string& command, const std::string& message, MStatus code) {
    MGlobal::displayError(MString(command + ": " + message));
    return code;
}

bool parseDouble(const std::string& text, double& value) {
    if (text.empty())
        return false;
    // Only decimal notation: strtod would also take "inf", "nan" and hexadecimal numbers.
    for (char c : text) {
        if (!((c >= '0' && c <= '9') || c == '.' || c == '-' || c == '+' || c == 'e' || c == 'E'))
            return false;
    }
    const char* begin = text.data();
    const char* end = begin + text.size();
    // from_chars takes no leading '+'.
    if (*begin == '+' && end - begin > 1 && begin[1] != '-' && begin[1] != '+')
        ++begin;
    double parsed = 0.0;
    std::from_chars_result r = std::from_chars(begin, end, parsed);
    if (r.ec != std::errc() || r.ptr != end || !std::isfinite(parsed))
        return false;
    value = parsed;
    return true;
}

bool parseInt(const std::string& text, int& value) {
    if (text.empty() || std::isspace(static_cast<unsigned char>(text[0])))
        return false;
    errno = 0;
    char* end = nullptr;
    long parsed = std::strtol(text.c_str(), &end, 10);
    if (end != text.c_str() + text.size() || errno == ERANGE || parsed < INT_MIN || parsed > INT_MAX)
        return false;
    value = static_cast<int>(parsed);
    return true;
}

bool parseBool(const std::string& text, bool& value) {
    if (text == "true" || text == "on" || text == "yes" || text == "1") {
        value = true;
        return true;
    }
    if (text == "false" || text == "off" || text == "no" || text == "0") {
        value = false;
        return true;
    }
    return false;
}

bool isFlag(const Arg& arg) {
    const std::string& text = arg.text;
    if (arg.quoted || text.size() < 2 || text[0] != '-')
        return false;
    // A minus, digits and at most one point (and no exponent, so no overflow) is a number; it need not be
    // converted to know it.
    bool digits = false, point = false;
    size_t i = 1;
    for (; i < text.size(); ++i) {
        char c = text[i];
        if (c >= '0' && c <= '9')
            digits = true;
        else if (c == '.' && !point)
            point = true;
        else
            break;
    }
    if (i == text.size() && digits && text.size() < 300)
        return false;
    double number = 0.0;
    return !parseDouble(text, number);
}

std::string ParsedArgs::value(const std::string& longName) const {
    auto it = flags.find(longName);
    if (it == flags.end() || it->second.empty())
        return std::string();
    return it->second[0];
}

MStatus parseArgs(const std::string& command, const Args& args, const std::vector<FlagDef>& definitions,
                  ParsedArgs& out, size_t stopAfter) {
    out = ParsedArgs();
    out.positional = Args(args.base());
    for (size_t i = 0; i < args.size(); ++i) {
        const Arg& arg = args[i];
        bool rest = stopAfter > 0 && out.positional.size() >= stopAfter;
        if (rest || !isFlag(arg)) {
            out.positional.appendWord(args, i);
            continue;
        }
        const std::string name = arg.text.substr(1);
        const FlagDef* def = nullptr;
        for (const FlagDef& s : definitions) {
            if (name == s.longName || name == s.shortName)
                def = &s;
        }
        if (!def)
            return commandError(command, "Invalid flag " + quoted(arg.text) + ".");
        if (out.has(def->longName))
            return commandError(command, "Flag " + quoted(arg.text) + " is given more than once.");
        std::vector<std::string>& values = out.flags[def->longName];
        for (int k = 0; k < def->valueCount; ++k) {
            if (i + 1 >= args.size())
                return commandError(command, "Flag " + quoted(arg.text) + " needs " +
                                                 std::to_string(def->valueCount) + " value(s).");
            values.push_back(args[++i].text);
        }
    }
    return MStatus::kSuccess;
}

MStatus expectCount(const std::string& command, const ParsedArgs& parsed, size_t min, size_t max,
                    const std::string& usage) {
    size_t n = parsed.positional.size();
    if (n < min)
        return commandError(command, "Missing argument. Usage: " + usage);
    if (n > max)
        return commandError(command, "Too many arguments (unexpected " + quoted(parsed.positional[max].text) +
                                         "). Usage: " + usage);
    return MStatus::kSuccess;
}

std::string quoted(const std::string& text) { return "'" + text + "'"; }

}  // namespace host
