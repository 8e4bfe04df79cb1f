#include "command/Parser.h"

namespace host {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

class Scanner {
public:
    Scanner(const std::string& text, int firstLine) : s_(text), line_(firstLine) {}

    std::vector<Statement> run(ParseError& error) {
        std::vector<Statement> out;
        Statement current;
        size_t start = 0;
        size_t end = 0;
        while (pos_ < s_.size()) {
            char c = s_[pos_];
            if (c == '\n') {
                ++line_;
                ++pos_;
            } else if (isBlank(c)) {
                ++pos_;
            } else if (c == ';') {
                ++pos_;
                finish(current, start, end, out);
            } else if (startsComment()) {
                if (!skipComment())
                    return fail(error);
            } else {
                if (current.tokens.empty()) {
                    current.line = line_;
                    start = pos_;
                }
                Token token;
                if (!readToken(token))
                    return fail(error);
                current.tokens.push_back(std::move(token));
                end = pos_;
            }
        }
        finish(current, start, end, out);
        return out;
    }

private:
    std::vector<Statement> fail(ParseError& error) {
        error.line = errorLine_;
        error.message = message_;
        return {};
    }

    bool setError(int line, const std::string& message) {
        errorLine_ = line;
        message_ = message;
        return false;
    }

    void finish(Statement& current, size_t start, size_t end, std::vector<Statement>& out) {
        if (current.tokens.empty())
            return;
        current.text = s_.substr(start, end - start);
        out.push_back(std::move(current));
        current = Statement();
    }

    bool startsComment() const {
        return s_[pos_] == '/' && pos_ + 1 < s_.size() && (s_[pos_ + 1] == '/' || s_[pos_ + 1] == '*');
    }

    bool skipComment() {
        if (s_[pos_ + 1] == '/') {
            while (pos_ < s_.size() && s_[pos_] != '\n')
                ++pos_;
            return true;
        }
        int startLine = line_;
        pos_ += 2;
        while (pos_ + 1 < s_.size() && !(s_[pos_] == '*' && s_[pos_ + 1] == '/')) {
            if (s_[pos_] == '\n')
                ++line_;
            ++pos_;
        }
        if (pos_ + 1 >= s_.size())
            return setError(startLine, "unterminated comment: \"/*\" has no closing \"*/\"");
        pos_ += 2;
        return true;
    }

    bool readToken(Token& token) {
        token.line = line_;
        char c = s_[pos_];
        if (c == '"')
            return readQuoted(token);
        if (c == '`')
            return readNested(token);
        token.kind = Token::Word;
        while (pos_ < s_.size()) {
            c = s_[pos_];
            if (isBlank(c) || c == ';' || startsComment())
                break;
            if (c == '"' || c == '`')
                return setError(line_, std::string("unexpected '") + c + "' inside the word \"" + token.text +
                                           "\": separate it with a blank");
            token.text += c;
            ++pos_;
        }
        return true;
    }

    bool readQuoted(Token& token) {
        token.kind = Token::Quoted;
        int startLine = line_;
        ++pos_;
        while (pos_ < s_.size()) {
            char c = s_[pos_];
            if (c == '"') {
                ++pos_;
                return checkWordEnd();
            }
            if (c == '\n')
                ++line_;
            if (c == '\\') {
                if (pos_ + 1 >= s_.size())
                    break;
                char e = s_[pos_ + 1];
                switch (e) {
                    case '"': token.text += '"'; break;
                    case '\\': token.text += '\\'; break;
                    case 'n': token.text += '\n'; break;
                    case 't': token.text += '\t'; break;
                    default:
                        return setError(line_, std::string("invalid escape sequence \"\\") + e +
                                                   "\" in a string (use \\\" \\\\ \\n or \\t)");
                }
                pos_ += 2;
                continue;
            }
            token.text += c;
            ++pos_;
        }
        return setError(startLine, "unterminated string: a '\"' has no closing quote");
    }

    bool readNested(Token& token) {
        token.kind = Token::Nested;
        int startLine = line_;
        ++pos_;
        bool inString = false;
        while (pos_ < s_.size()) {
            char c = s_[pos_];
            if (c == '\n')
                ++line_;
            if (inString && c == '\\' && pos_ + 1 < s_.size()) {
                token.text += c;
                token.text += s_[pos_ + 1];
                pos_ += 2;
                continue;
            }
            if (c == '"')
                inString = !inString;
            if (c == '`' && !inString) {
                ++pos_;
                return checkWordEnd();
            }
            token.text += c;
            ++pos_;
        }
        return setError(startLine, "unterminated back-quoted command: a '`' has no closing '`'");
    }

    // A quoted or back-quoted word must end at a blank, ';' or comment.
    bool checkWordEnd() {
        if (pos_ >= s_.size() || isBlank(s_[pos_]) || s_[pos_] == ';' || startsComment())
            return true;
        return setError(line_, std::string("unexpected '") + s_[pos_] + "' right after a closing quote");
    }

    const std::string& s_;
    size_t pos_ = 0;
    int line_;
    int errorLine_ = 0;
    std::string message_;
};

}  // namespace

std::vector<Statement> parseCommands(const std::string& text, ParseError& error, int firstLine) {
    error = ParseError();
    return Scanner(text, firstLine).run(error);
}

}  // namespace host
