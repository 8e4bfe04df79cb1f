#ifndef HOST_PARSER_H
#define HOST_PARSER_H

#include <string>
#include <vector>

namespace host {

// One word of a statement. A quoted word has had its quotes removed and its escapes (\" \\ \n \t)
// replaced; it is never taken for a flag. A back-quoted word (`getAttr a.b`) holds a command whose
// result text replaces it when the statement runs.
struct Token {
    enum Kind { Word, Quoted, Nested };
    Kind kind = Word;
    std::string text;
    int line = 1;
};

// A statement: its words, the line of its first word and its source text (first to last word, as
// written).
struct Statement {
    std::vector<Token> tokens;
    int line = 1;
    std::string text;
};

struct ParseError {
    int line = 0;  // 0: no error
    std::string message;
};

// Splits command text into statements: ';' ends a statement, "//" starts a comment to the end of the
// line and "/* */" a block comment (both outside quotes), words are separated by blanks. Empty
// statements are dropped. On an unterminated string, comment or back-quote, or a bad escape, nothing is
// returned and error names the line. firstLine numbers the first line of text.
std::vector<Statement> parseCommands(const std::string& text, ParseError& error, int firstLine = 1);

}  // namespace host

#endif
