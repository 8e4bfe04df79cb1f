#ifndef HOST_SCRIPT_SCRIPTPARSER_H
#define HOST_SCRIPT_SCRIPTPARSER_H

#include "script/Syntax.h"

#include <memory>
#include <string>
#include <string_view>

namespace host::mel {

// Reads the command language one statement at a time, so that a script runs as it is read and only
// procedure definitions stay. Statements are MEL's: declarations, expressions, if/else, for, for-in,
// while, do-while, break, continue, return, blocks, proc and global proc, and commands in command syntax
// (name, then words, strings, $variables, (expressions) and back-quoted commands up to ';').
class ScriptParser {
public:
    // Parses text[begin, end), whose first line is line. With checkOnly, commands keep no words (a syntax
    // check of a long script costs no memory).
    ScriptParser(std::string_view text, size_t begin, size_t end, int line, bool checkOnly = false);

    // The next statement, or false at the end or on an error.
    bool next(std::unique_ptr<Stmt>& out);
    bool failed() const { return errorLine_ != 0; }
    int errorLine() const { return errorLine_; }
    const std::string& errorMessage() const { return message_; }

    // Nesting of blocks, parentheses and operators the parser follows (deeper is an error).
    static constexpr int kMaxNesting = 200;

private:
    struct Depth;

    bool fail(const std::string& message, int line = 0);
    bool atEnd() const { return pos_ >= end_; }
    char peek(size_t ahead = 0) const { return pos_ + ahead < end_ ? text_[pos_ + ahead] : '\0'; }
    bool skipSpace();
    bool startsComment() const;
    bool identStart(char c) const;
    bool identChar(char c) const;
    std::string_view readIdent();
    bool accept(char c);
    bool accept2(char a, char b);
    bool expect(char c, const char* what);
    bool peekKeyword(std::string_view word);

    std::unique_ptr<Stmt> statement();
    std::unique_ptr<Stmt> block(int line, size_t start);
    std::unique_ptr<Stmt> ifStatement(int line, size_t start);
    std::unique_ptr<Stmt> loop(std::string_view keyword, int line, size_t start);
    std::unique_ptr<Stmt> forStatement(int line, size_t start);
    bool condition(Stmt& s, const char* opening);
    bool governedStatement(Stmt& s, const char* what);
    std::unique_ptr<Stmt> declaration(Value::Type type, bool global, int line, size_t start);
    std::unique_ptr<Stmt> procedure(bool global, int line, size_t start);
    std::unique_ptr<Stmt> command(std::string_view name, int line, size_t start);
    bool statementEnd();
    bool wordEnd();

    std::unique_ptr<Expr> expression();
    bool expressionList(std::vector<std::unique_ptr<Expr>>& out);
    std::unique_ptr<Expr> assignment();
    std::unique_ptr<Expr> ternary();
    std::unique_ptr<Expr> binary(int level);
    std::unique_ptr<Expr> unary();
    std::unique_ptr<Expr> postfix();
    std::unique_ptr<Expr> primary();
    std::unique_ptr<Expr> number();
    bool stringLiteral(std::string& out, bool& escaped, size_t& rawStart, size_t& rawEnd);
    std::unique_ptr<Expr> backquote();
    std::unique_ptr<Expr> variable();
    bool typeName(std::string_view word, Value::Type& type);

    std::string_view text_;
    size_t pos_;
    size_t end_;
    int line_;
    bool checkOnly_;
    int depth_ = 0;
    size_t tokenEnd_ = 0;  // end of the last token of the statement being read
    int errorLine_ = 0;
    std::string message_;
};

}  // namespace host::mel

#endif
