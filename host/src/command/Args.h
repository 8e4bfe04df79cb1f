#ifndef HOST_ARGS_H
#define HOST_ARGS_H

#include <maya/MStatus.h>

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <iterator>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace host {

// One argument of a command, after back-quoted commands have been replaced by their results.
struct Arg {
    std::string text;
    bool quoted = false;
};

// A command's arguments, kept compact: a command of millions of words (a scene's particle positions)
// costs 8 bytes a word beside the script's own text. Words are views into a base text (the script, which
// outlives the command) or copies held here. Reading a word gives an Arg by value.
class Args {
public:
    Args() = default;
    // Words added with appendView refer into base.
    explicit Args(std::string_view base) : base_(base) {}
    Args(std::initializer_list<Arg> words);
    class const_iterator;
    // The words [first, last) of one Args.
    Args(const_iterator first, const_iterator last);

    size_t size() const { return refs_.size(); }
    bool empty() const { return refs_.empty(); }
    Arg operator[](size_t index) const { return Arg{std::string(view(index)), quoted(index)}; }
    Arg at(size_t index) const { return (*this)[index]; }
    Arg front() const { return (*this)[0]; }
    Arg back() const { return (*this)[refs_.size() - 1]; }
    std::string_view view(size_t index) const;
    bool quoted(size_t index) const { return (refs_[index].sizeAndFlags & kQuoted) != 0; }

    // The largest word, and the largest total of copied text.
    static constexpr size_t kMaxWord = (size_t(1) << 30) - 1;
    void push_back(const Arg& arg) { append(arg.text, arg.quoted); }
    // Copies text; false (nothing added) when it is longer than kMaxWord or the copies would pass 4 GB.
    bool append(std::string_view text, bool quoted);
    // A word at base[offset, offset + size); the caller keeps it within base and kMaxWord.
    void appendView(size_t offset, size_t size, bool quoted) {
        refs_.push_back(Ref{static_cast<uint32_t>(offset), static_cast<uint32_t>(size) | (quoted ? kQuoted : 0u)});
    }
    // Word index of from: the same view when from has the same base, else a copy.
    void appendWord(const Args& from, size_t index);
    void reserve(size_t count) { refs_.reserve(count); }
    void clear();
    std::string_view base() const { return base_; }

    class const_iterator {
    public:
        using iterator_category = std::random_access_iterator_tag;
        using value_type = Arg;
        using difference_type = std::ptrdiff_t;
        using pointer = void;
        using reference = Arg;
        const_iterator(const Args* args, size_t index) : args_(args), index_(index) {}
        Arg operator*() const { return (*args_)[index_]; }
        const_iterator& operator++() { ++index_; return *this; }
        const_iterator operator+(difference_type n) const { return const_iterator(args_, index_ + static_cast<size_t>(n)); }
        difference_type operator-(const const_iterator& o) const {
            return static_cast<difference_type>(index_) - static_cast<difference_type>(o.index_);
        }
        bool operator==(const const_iterator& o) const { return index_ == o.index_; }
        bool operator!=(const const_iterator& o) const { return index_ != o.index_; }

    private:
        friend class Args;
        const Args* args_;
        size_t index_;
    };
    const_iterator begin() const { return const_iterator(this, 0); }
    const_iterator end() const { return const_iterator(this, refs_.size()); }

private:
    static constexpr uint32_t kQuoted = 1u << 31;
    static constexpr uint32_t kOwned = 1u << 30;
    struct Ref {
        uint32_t offset;
        uint32_t sizeAndFlags;
    };
    std::string_view base_;
    std::string owned_;
    std::vector<Ref> refs_;
};

// Shows "<command>: <message>" with MGlobal::displayError and returns code (a failed command returns
// kFailure, as MGlobal::executeCommand does for any MEL error).
MStatus commandError(const std::string& command, const std::string& message,
                     MStatus code = MStatus::kFailure);

// Whole-text conversions; leading or trailing junk, empty text, overflow and non-finite values fail.
bool parseDouble(const std::string& text, double& value);
bool parseInt(const std::string& text, int& value);
// true/false, on/off, yes/no, 1/0.
bool parseBool(const std::string& text, bool& value);

// An unquoted word starting with '-' that is not a number.
bool isFlag(const Arg& arg);

struct FlagDef {
    const char* longName;
    const char* shortName;
    int valueCount;  // words taken after the flag
};

// Flags (by long name) and the remaining positional arguments, in order.
struct ParsedArgs {
    std::map<std::string, std::vector<std::string>> flags;
    Args positional;

    bool has(const std::string& longName) const { return flags.count(longName) != 0; }
    // The flag's first value, or "" when absent.
    std::string value(const std::string& longName) const;
};

// Separates flags from positional arguments. An unknown flag, a flag given twice and a flag without
// enough values are errors named after the command. Once stopAfter positional arguments have been seen
// (when stopAfter > 0), the rest is positional whatever it looks like.
MStatus parseArgs(const std::string& command, const Args& args, const std::vector<FlagDef>& definitions,
                  ParsedArgs& out, size_t stopAfter = 0);

// The positional count must be in [min, max]; otherwise an error that says what the command expects.
MStatus expectCount(const std::string& command, const ParsedArgs& parsed, size_t min, size_t max,
                    const std::string& usage);

// Quotes a name for messages: 'name'.
std::string quoted(const std::string& text);

}  // namespace host

#endif
