#include "script/ScriptParser.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdlib>

namespace host::mel {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The characters a word of a command stops at, or looks at more closely.
const bool* wordStop() {
    static const struct Table {
        bool stop[256] = {};
        Table() {
            for (unsigned char c : {' ', '\t', '\n', '\r', '\f', '\v', ';', '/', '"', '`'})
                stop[c] = true;
        }
    } table;
    return table.stop;
}

std::unique_ptr<Expr> makeExpr(Expr::Kind kind, int line) {
    auto e = std::make_unique<Expr>();
    e->kind = kind;
    e->line = line;
    return e;
}

bool assignable(const Expr& e) { return e.kind == Expr::Var || e.kind == Expr::Index; }

}  // namespace

// Counts the nesting the parser is in; past the limit it fails, so that no input drives the parser's own
// recursion arbitrarily deep.
struct ScriptParser::Depth {
    explicit Depth(ScriptParser& p) : parser(p) {
        if (++parser.depth_ > kMaxNesting && !parser.failed())
            parser.fail("the statement is nested too deeply (more than " + std::to_string(kMaxNesting) + " levels)");
    }
    ~Depth() { --parser.depth_; }
    bool ok() const { return !parser.failed(); }
    ScriptParser& parser;
};

ScriptParser::ScriptParser(std::string_view text, size_t begin, size_t end, int line, bool checkOnly)
    : text_(text), pos_(begin), end_(end), line_(line), checkOnly_(checkOnly) {}

bool ScriptParser::fail(const std::string& message, int line) {
    if (errorLine_ == 0) {
        errorLine_ = line ? line : line_;
        message_ = message;
    }
    return false;
}

bool ScriptParser::startsComment() const {
    return peek() == '/' && (peek(1) == '/' || peek(1) == '*');
}

bool ScriptParser::skipSpace() {
    while (!atEnd()) {
        char c = text_[pos_];
        if (c == '\n') {
            ++line_;
            ++pos_;
        } else if (isBlank(c)) {
            ++pos_;
        } else if (c == '/' && peek(1) == '/') {
            while (!atEnd() && text_[pos_] != '\n')
                ++pos_;
        } else if (c == '/' && peek(1) == '*') {
            int start = line_;
            pos_ += 2;
            while (pos_ + 1 < end_ && !(text_[pos_] == '*' && text_[pos_ + 1] == '/')) {
                if (text_[pos_] == '\n')
                    ++line_;
                ++pos_;
            }
            if (pos_ + 1 >= end_)
                return fail("unterminated comment: \"/*\" has no closing \"*/\"", start);
            pos_ += 2;
        } else {
            break;
        }
    }
    return !failed();
}

bool ScriptParser::identStart(char c) const {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}

bool ScriptParser::identChar(char c) const { return identStart(c) || isDigit(c); }

std::string_view ScriptParser::readIdent() {
    size_t start = pos_;
    if (!atEnd() && identStart(text_[pos_])) {
        while (!atEnd() && identChar(text_[pos_]))
            ++pos_;
    }
    return text_.substr(start, pos_ - start);
}

bool ScriptParser::accept(char c) {
    if (!skipSpace() || peek() != c)
        return false;
    ++pos_;
    return true;
}

bool ScriptParser::accept2(char a, char b) {
    if (!skipSpace() || peek() != a || peek(1) != b)
        return false;
    pos_ += 2;
    return true;
}

bool ScriptParser::expect(char c, const char* what) {
    if (accept(c))
        return true;
    if (failed())
        return false;
    std::string found = atEnd() ? std::string("the end of the text") : "'" + std::string(1, peek()) + "'";
    return fail(std::string("expected ") + what + ", found " + found);
}

bool ScriptParser::peekKeyword(std::string_view word) {
    if (!skipSpace() || text_.substr(pos_, std::min(word.size(), end_ - pos_)) != word)
        return false;
    return !identChar(peek(word.size()));
}

bool ScriptParser::typeName(std::string_view word, Value::Type& type) {
    if (word == "int") type = Value::Int;
    else if (word == "float") type = Value::Float;
    else if (word == "string") type = Value::String;
    else if (word == "vector") type = Value::Vector;
    else return false;
    return true;
}

bool ScriptParser::next(std::unique_ptr<Stmt>& out) {
    out.reset();
    while (!failed()) {
        std::unique_ptr<Stmt> s = statement();
        if (!s)
            return false;
        if (s->kind != Stmt::Empty) {
            out = std::move(s);
            return true;
        }
    }
    return false;
}

bool ScriptParser::statementEnd() {
    tokenEnd_ = pos_;
    if (!skipSpace())
        return false;
    if (atEnd() || peek() == '}')
        return true;
    if (peek() == ';') {
        ++pos_;
        return true;
    }
    return fail("expected ';' before '" + std::string(1, peek()) + "'");
}

// The text of a statement, from its first character to the end of its last, without a trailing ';'.
namespace {
std::string_view statementText(std::string_view text, size_t start, size_t end) {
    while (end > start && (isBlank(text[end - 1]) || text[end - 1] == ';'))
        --end;
    return text.substr(start, end - start);
}
}  // namespace

std::unique_ptr<Stmt> ScriptParser::statement() {
    Depth depth(*this);
    if (!depth.ok() || !skipSpace() || atEnd())
        return nullptr;
    int line = line_;
    size_t start = pos_;
    char c = peek();
    std::unique_ptr<Stmt> s;
    if (c == ';') {
        ++pos_;
        s = std::make_unique<Stmt>();
    } else if (c == '{') {
        s = block(line, start);
    } else if (c == '}') {
        fail("unexpected '}'");
    } else if (identStart(c)) {
        std::string_view word = readIdent();
        Value::Type type;
        if (word == "if") {
            s = ifStatement(line, start);
        } else if (word == "while" || word == "do") {
            s = loop(word, line, start);
        } else if (word == "for") {
            s = forStatement(line, start);
        } else if (word == "break" || word == "continue") {
            s = std::make_unique<Stmt>();
            s->kind = word == "break" ? Stmt::Break : Stmt::Continue;
            if (!statementEnd())
                return nullptr;
        } else if (word == "return") {
            s = std::make_unique<Stmt>();
            s->kind = Stmt::Return;
            if (!skipSpace())
                return nullptr;
            if (!atEnd() && peek() != ';' && peek() != '}') {
                s->expr = expression();
                if (!s->expr)
                    return nullptr;
            }
            if (!statementEnd())
                return nullptr;
        } else if (word == "global" || word == "proc") {
            bool global = word == "global";
            if (global) {
                if (!skipSpace())
                    return nullptr;
                word = readIdent();
            }
            if (word == "proc")
                s = procedure(global, line, start);
            else if (typeName(word, type))
                s = declaration(type, true, line, start);
            else
                fail("expected 'proc' or a type after 'global'");
        } else if (word == "else") {
            fail("'else' without 'if'");
        } else if (word == "matrix") {
            fail("matrix variables are not supported");
        } else if (word == "switch") {
            fail("switch is not supported (use if and else if)");
        } else {
            size_t afterWord = pos_;
            bool declares = typeName(word, type) && skipSpace() && peek() == '$';
            if (failed())
                return nullptr;
            if (declares) {
                s = declaration(type, false, line, start);
            } else if (afterWord < end_ && text_[afterWord] == '(') {
                // name( is a call in function syntax; name (...) a command whose argument is an expression.
                pos_ = start;
                line_ = line;
                s = std::make_unique<Stmt>();
                s->kind = Stmt::ExprStmt;
                s->expr = expression();
                if (!s->expr || !statementEnd())
                    return nullptr;
            } else {
                pos_ = afterWord;
                line_ = line;
                s = command(word, line, start);
            }
        }
    } else if (c == '$' || c == '(' || c == '`' || c == '"' || c == '-' || c == '+' || c == '!' || c == '<' ||
               isDigit(c) || c == '.') {
        s = std::make_unique<Stmt>();
        s->kind = Stmt::ExprStmt;
        s->expr = expression();
        if (!s->expr || !statementEnd())
            return nullptr;
    } else {
        fail("unexpected '" + std::string(1, c) + "' at the start of a statement");
    }
    if (!s || failed())
        return nullptr;
    s->line = line;
    s->text = statementText(text_, start, std::max(start, tokenEnd_));
    return s;
}

std::unique_ptr<Stmt> ScriptParser::block(int line, size_t) {
    ++pos_;
    auto s = std::make_unique<Stmt>();
    s->kind = Stmt::Block;
    while (true) {
        if (!skipSpace())
            return nullptr;
        if (atEnd()) {
            fail("missing '}' (the block opened on line " + std::to_string(line) + ")", line);
            return nullptr;
        }
        if (peek() == '}') {
            ++pos_;
            tokenEnd_ = pos_;
            return s;
        }
        std::unique_ptr<Stmt> inner = statement();
        if (!inner)
            return nullptr;
        if (inner->kind != Stmt::Empty)
            s->body.push_back(std::move(inner));
    }
}

std::unique_ptr<Stmt> ScriptParser::ifStatement(int, size_t) {
    auto s = std::make_unique<Stmt>();
    s->kind = Stmt::If;
    if (!condition(*s, "'(' after 'if'") || !governedStatement(*s, "'if'"))
        return nullptr;
    if (peekKeyword("else")) {
        pos_ += 4;
        if (!governedStatement(*s, "'else'"))
            return nullptr;
    }
    return s;
}

// One or more expressions separated by commas, appended to out.
bool ScriptParser::expressionList(std::vector<std::unique_ptr<Expr>>& out) {
    do {
        std::unique_ptr<Expr> e = expression();
        if (!e)
            return false;
        out.push_back(std::move(e));
    } while (accept(','));
    return true;
}

// "(condition)" after a keyword, into s.expr; opening names the '(' when it is missing.
bool ScriptParser::condition(Stmt& s, const char* opening) {
    return expect('(', opening) && (s.expr = expression()) && expect(')', "')' after the condition");
}

// The statement that a control statement governs, added to its body; what names it when it is missing.
bool ScriptParser::governedStatement(Stmt& s, const char* what) {
    std::unique_ptr<Stmt> inner = statement();
    if (!inner) {
        fail(std::string("missing the statement of ") + what);
        return false;
    }
    s.body.push_back(std::move(inner));
    return true;
}

std::unique_ptr<Stmt> ScriptParser::loop(std::string_view keyword, int, size_t) {
    auto s = std::make_unique<Stmt>();
    if (keyword == "while") {
        s->kind = Stmt::While;
        if (!condition(*s, "'(' after 'while'"))
            return nullptr;
    }
    if (!governedStatement(*s, "the loop"))
        return nullptr;
    if (keyword == "do") {
        s->kind = Stmt::DoWhile;
        if (!peekKeyword("while")) {
            fail("expected 'while' after the statement of 'do'");
            return nullptr;
        }
        pos_ += 5;
        if (!condition(*s, "'(' after 'while'") || !statementEnd())
            return nullptr;
    }
    return s;
}

std::unique_ptr<Stmt> ScriptParser::forStatement(int, size_t) {
    auto s = std::make_unique<Stmt>();
    if (!expect('(', "'(' after 'for'"))
        return nullptr;
    size_t save = pos_;
    int saveLine = line_;
    if (skipSpace() && peek() == '$') {
        std::unique_ptr<Expr> var = variable();
        if (var && peekKeyword("in")) {
            pos_ += 2;
            s->kind = Stmt::ForIn;
            s->inits.push_back(std::move(var));
            if (!(s->expr = expression()) || !expect(')', "')' after the array of 'for ... in'"))
                return nullptr;
        }
    }
    if (failed())
        return nullptr;
    if (s->kind != Stmt::ForIn) {
        pos_ = save;
        line_ = saveLine;
        s->kind = Stmt::For;
        auto list = [this](std::vector<std::unique_ptr<Expr>>& out, char stop) {
            if (!skipSpace())
                return false;
            if (peek() == stop)
                return true;
            return expressionList(out) && !failed();
        };
        if (!list(s->inits, ';') || !expect(';', "';' after the start of 'for'") || !skipSpace())
            return nullptr;
        if (peek() != ';' && !(s->expr = expression()))
            return nullptr;
        if (!expect(';', "';' after the condition of 'for'") || !list(s->steps, ')') ||
            !expect(')', "')' after the steps of 'for'"))
            return nullptr;
    }
    if (!governedStatement(*s, "the loop"))
        return nullptr;
    return s;
}

std::unique_ptr<Stmt> ScriptParser::declaration(Value::Type type, bool global, int, size_t) {
    auto s = std::make_unique<Stmt>();
    s->kind = Stmt::Decl;
    s->global = global;
    s->type = type;
    do {
        if (!skipSpace())
            return nullptr;
        std::unique_ptr<Expr> var = variable();
        if (!var)
            return nullptr;
        Declared d;
        d.name = var->name;
        if (peek() == '[') {
            ++pos_;
            d.array = true;
            if (!accept(']')) {
                if (failed() || !(d.size = expression()) || !expect(']', "']' after the array size"))
                    return nullptr;
            }
        }
        if (skipSpace() && peek() == '=' && peek(1) != '=') {
            ++pos_;
            if (!(d.init = expression()))
                return nullptr;
        }
        s->declared.push_back(std::move(d));
    } while (accept(','));
    if (failed() || !statementEnd())
        return nullptr;
    return s;
}

std::unique_ptr<Stmt> ScriptParser::procedure(bool global, int, size_t) {
    auto def = std::make_shared<ProcDef>();
    def->global = global;
    if (!skipSpace())
        return nullptr;
    std::string_view word = readIdent();
    Value::Type type;
    if (typeName(word, type)) {
        def->returns = true;
        def->returnType = type;
        if (accept('[')) {
            if (!expect(']', "']' after the return type"))
                return nullptr;
            def->returnType = Value::arrayType(type);
        }
        if (!skipSpace())
            return nullptr;
        word = readIdent();
    }
    if (word.empty()) {
        fail("expected the name of the procedure");
        return nullptr;
    }
    def->name = word;
    if (!expect('(', "'(' after the name of the procedure"))
        return nullptr;
    if (!accept(')')) {
        do {
            if (failed() || !skipSpace())
                return nullptr;
            Param p;
            if (!typeName(readIdent(), p.type)) {
                fail("expected the type of a parameter of " + std::string(word));
                return nullptr;
            }
            if (!skipSpace())
                return nullptr;
            std::unique_ptr<Expr> var = variable();
            if (!var)
                return nullptr;
            p.name = var->name;
            if (peek() == '[') {
                ++pos_;
                if (!expect(']', "']' after the parameter"))
                    return nullptr;
                p.type = Value::arrayType(p.type);
            }
            def->params.push_back(p);
        } while (accept(','));
        if (!expect(')', "')' after the parameters"))
            return nullptr;
    }
    if (!skipSpace())
        return nullptr;
    if (peek() != '{') {
        fail("expected '{' to start the body of " + std::string(word));
        return nullptr;
    }
    def->body = block(line_, pos_);
    if (!def->body)
        return nullptr;
    auto s = std::make_unique<Stmt>();
    s->kind = Stmt::Proc;
    s->proc = std::move(def);
    return s;
}

bool ScriptParser::wordEnd() {
    if (atEnd() || isBlank(peek()) || peek() == ';' || peek() == '}' || startsComment())
        return true;
    return fail(std::string("unexpected '") + peek() + "' right after a closing quote");
}

std::unique_ptr<Stmt> ScriptParser::command(std::string_view name, int, size_t) {
    auto s = std::make_unique<Stmt>();
    s->kind = Stmt::Command;
    s->name = name;
    s->words = Args(text_);
    tokenEnd_ = pos_;
    while (true) {
        if (!skipSpace())
            return nullptr;
        if (atEnd() || peek() == ';' || peek() == '}') {
            size_t end = tokenEnd_;
            if (!statementEnd())
                return nullptr;
            tokenEnd_ = end;
            break;
        }
        char c = peek();
        size_t index = s->words.size();
        std::unique_ptr<Expr> computed;
        if (c == '"') {
            std::string decoded;
            bool escaped = false;
            size_t rawStart = 0, rawEnd = 0;
            if (!stringLiteral(decoded, escaped, rawStart, rawEnd) || !wordEnd())
                return nullptr;
            if (rawEnd - rawStart > Args::kMaxWord) {
                fail("a word longer than 1 GB");
                return nullptr;
            }
            tokenEnd_ = pos_;
            if (!checkOnly_) {
                if (escaped)
                    s->words.append(decoded, true);
                else
                    s->words.appendView(rawStart, rawEnd - rawStart, true);
            }
            continue;
        }
        if (c == '`') {
            if (!(computed = backquote()) || !wordEnd())
                return nullptr;
        } else if (c == '$') {
            size_t start = pos_;
            if (!(computed = postfix()))
                return nullptr;
            if (!atEnd() && !isBlank(peek()) && peek() != ';' && peek() != '}' && !startsComment()) {
                size_t stop = pos_;
                while (stop < end_ && !isBlank(text_[stop]) && text_[stop] != ';' && stop - pos_ < 80)
                    ++stop;
                fail("unexpected '" + std::string(1, peek()) + "' right after " +
                     std::string(text_.substr(start, pos_ - start)) + ": join text to a variable with (" +
                     std::string(text_.substr(start, pos_ - start)) + " + \"" +
                     std::string(text_.substr(pos_, stop - pos_)) + "\")");
                return nullptr;
            }
        } else if (c == '(') {
            ++pos_;
            if (!(computed = expression()) || !expect(')', "')' after the expression"))
                return nullptr;
        } else if (c == '{' || (c == '<' && peek(1) == '<')) {
            if (!(computed = primary()))
                return nullptr;
        } else {
            size_t start = pos_;
            const char* data = text_.data();
            const bool* stop = wordStop();
            while (pos_ < end_) {
                // Most characters of a word are none of the ones that end it or are refused in it.
                size_t at = pos_;
                while (at < end_ && !stop[static_cast<unsigned char>(data[at])])
                    ++at;
                pos_ = at;
                if (pos_ >= end_)
                    break;
                char w = data[pos_];
                if (isBlank(w) || w == ';' ||
                    (w == '/' && pos_ + 1 < end_ && (text_[pos_ + 1] == '/' || text_[pos_ + 1] == '*')))
                    break;
                if (w == '"' || w == '`') {
                    fail(std::string("unexpected '") + w + "' inside the word \"" +
                         std::string(text_.substr(start, std::min<size_t>(pos_ - start, 80))) +
                         "\": separate it with a blank");
                    return nullptr;
                }
                ++pos_;
            }
            if (pos_ - start > Args::kMaxWord) {
                fail("a word longer than 1 GB");
                return nullptr;
            }
            tokenEnd_ = pos_;
            if (!checkOnly_) {
                s->words.appendView(start, pos_ - start, false);
                // A long command reserves room for as many words as the rest of the text can hold (each
                // takes two characters at least): pages are touched only as words fill them, and the
                // words are never copied to a larger array.
                if (s->words.size() == 4096)
                    s->words.reserve(4096 + std::min<size_t>((end_ - pos_) / 2, size_t(1) << 26));
            }
            continue;
        }
        tokenEnd_ = pos_;
        if (!checkOnly_)
            s->computed.emplace_back(index, std::move(computed));
    }
    return s;
}

std::unique_ptr<Expr> ScriptParser::expression() { return assignment(); }

std::unique_ptr<Expr> ScriptParser::assignment() {
    Depth depth(*this);
    if (!depth.ok())
        return nullptr;
    std::unique_ptr<Expr> target = ternary();
    if (!target || !skipSpace())
        return nullptr;
    int op = 0;
    char c = peek();
    if (c == '=' && peek(1) != '=') {
        op = '=';
        pos_ += 1;
    } else if ((c == '+' || c == '-' || c == '*' || c == '/') && peek(1) == '=') {
        op = c;
        pos_ += 2;
    }
    if (!op)
        return target;
    if (!assignable(*target)) {
        fail("only a variable or an array element can be assigned to");
        return nullptr;
    }
    auto e = makeExpr(Expr::Assign, line_);
    e->op = op;
    e->kids.push_back(std::move(target));
    std::unique_ptr<Expr> value = assignment();
    if (!value)
        return nullptr;
    e->kids.push_back(std::move(value));
    return e;
}

std::unique_ptr<Expr> ScriptParser::ternary() {
    std::unique_ptr<Expr> condition = binary(0);
    if (!condition || !skipSpace())
        return nullptr;
    if (peek() != '?')
        return condition;
    ++pos_;
    auto e = makeExpr(Expr::Ternary, line_);
    e->kids.push_back(std::move(condition));
    std::unique_ptr<Expr> a = assignment();
    if (!a || !expect(':', "':' in '? :'"))
        return nullptr;
    std::unique_ptr<Expr> b = assignment();
    if (!b)
        return nullptr;
    e->kids.push_back(std::move(a));
    e->kids.push_back(std::move(b));
    return e;
}

std::unique_ptr<Expr> ScriptParser::binary(int level) {
    if (level == 6)
        return unary();
    std::unique_ptr<Expr> left = binary(level + 1);
    while (left) {
        if (!skipSpace())
            return nullptr;
        char a = peek(), b = peek(1);
        int op = 0;
        size_t width = 1;
        switch (level) {
            case 0: if (a == '|' && b == '|') { op = Expr::Or; width = 2; } break;
            case 1: if (a == '&' && b == '&') { op = Expr::And; width = 2; } break;
            case 2:
                if (a == '=' && b == '=') { op = Expr::Eq; width = 2; }
                else if (a == '!' && b == '=') { op = Expr::Ne; width = 2; }
                break;
            case 3:
                if (a == '<' && b == '=') { op = Expr::Le; width = 2; }
                else if (a == '>' && b == '=') { op = Expr::Ge; width = 2; }
                else if ((a == '<' || a == '>') && b != a) op = a;
                break;
            case 4: if ((a == '+' || a == '-') && b != '=' && b != a) op = a; break;
            default: if ((a == '*' || a == '/' || a == '%' || a == '^') && b != '=') op = a; break;
        }
        if (!op)
            break;
        pos_ += width;
        auto e = makeExpr(Expr::Binary, line_);
        e->op = op;
        std::unique_ptr<Expr> right = binary(level + 1);
        if (!right)
            return nullptr;
        e->kids.push_back(std::move(left));
        e->kids.push_back(std::move(right));
        left = std::move(e);
    }
    return left;
}

std::unique_ptr<Expr> ScriptParser::unary() {
    Depth depth(*this);
    if (!depth.ok() || !skipSpace())
        return nullptr;
    int line = line_;
    char c = peek();
    if ((c == '+' || c == '-') && peek(1) == c) {
        pos_ += 2;
        std::unique_ptr<Expr> target = unary();
        if (!target)
            return nullptr;
        if (!assignable(*target)) {
            fail(std::string("'") + c + c + "' needs a variable or an array element");
            return nullptr;
        }
        auto e = makeExpr(Expr::Increment, line);
        e->op = c == '+' ? 1 : -1;
        e->prefix = true;
        e->kids.push_back(std::move(target));
        return e;
    }
    if (c == '-' || c == '+' || (c == '!' && peek(1) != '=')) {
        ++pos_;
        std::unique_ptr<Expr> operand = unary();
        if (!operand)
            return nullptr;
        if (c == '+')
            return operand;
        if (c == '-' && operand->kind == Expr::Literal && operand->value.type == Value::Float) {
            operand->value.f = -operand->value.f;
            return operand;
        }
        if (c == '-' && operand->kind == Expr::Literal && operand->value.type == Value::Int &&
            operand->value.i != INT_MIN) {
            operand->value.i = -operand->value.i;
            return operand;
        }
        auto e = makeExpr(Expr::Unary, line);
        e->op = c;
        e->kids.push_back(std::move(operand));
        return e;
    }
    return postfix();
}

std::unique_ptr<Expr> ScriptParser::postfix() {
    std::unique_ptr<Expr> e = primary();
    while (e) {
        char c = peek();
        if (c == '[') {
            ++pos_;
            auto index = makeExpr(Expr::Index, line_);
            std::unique_ptr<Expr> at = expression();
            if (!at || !expect(']', "']' after the index"))
                return nullptr;
            index->kids.push_back(std::move(e));
            index->kids.push_back(std::move(at));
            e = std::move(index);
        } else if (c == '.' && (peek(1) == 'x' || peek(1) == 'y' || peek(1) == 'z') && !identChar(peek(2))) {
            auto component = makeExpr(Expr::Component, line_);
            component->op = peek(1);
            pos_ += 2;
            component->kids.push_back(std::move(e));
            e = std::move(component);
        } else if ((c == '+' || c == '-') && peek(1) == c && assignable(*e)) {
            pos_ += 2;
            auto inc = makeExpr(Expr::Increment, line_);
            inc->op = c == '+' ? 1 : -1;
            inc->kids.push_back(std::move(e));
            e = std::move(inc);
        } else {
            break;
        }
    }
    return e;
}

std::unique_ptr<Expr> ScriptParser::number() {
    int line = line_;
    size_t start = pos_;
    auto e = makeExpr(Expr::Literal, line);
    if (peek() == '0' && (peek(1) == 'x' || peek(1) == 'X')) {
        pos_ += 2;
        unsigned long long value = 0;
        size_t digits = 0;
        while (!atEnd() && std::isxdigit(static_cast<unsigned char>(peek()))) {
            char h = peek();
            int d = isDigit(h) ? h - '0' : (h | 0x20) - 'a' + 10;
            value = value * 16 + static_cast<unsigned>(d);
            if (value > 0xFFFFFFFFull) {
                fail("the number " + std::string(text_.substr(start, pos_ + 1 - start)) + " is too large");
                return nullptr;
            }
            ++pos_;
            ++digits;
        }
        if (digits == 0 || identChar(peek())) {
            fail("bad number '" + std::string(text_.substr(start, pos_ + 1 - start)) + "'");
            return nullptr;
        }
        e->value = Value::ofInt(static_cast<int>(static_cast<unsigned>(value)));
        return e;
    }
    bool real = false;
    while (!atEnd() && isDigit(peek()))
        ++pos_;
    if (peek() == '.') {
        real = true;
        ++pos_;
        while (!atEnd() && isDigit(peek()))
            ++pos_;
    }
    if ((peek() == 'e' || peek() == 'E') &&
        (isDigit(peek(1)) || ((peek(1) == '+' || peek(1) == '-') && isDigit(peek(2))))) {
        real = true;
        pos_ += 2;
        while (!atEnd() && isDigit(peek()))
            ++pos_;
    }
    std::string digits(text_.substr(start, pos_ - start));
    if (identChar(peek()) || peek() == '.') {
        fail("bad number '" + digits + peek() + "'");
        return nullptr;
    }
    errno = 0;
    if (!real) {
        long long value = std::strtoll(digits.c_str(), nullptr, 10);
        if (errno == 0 && value <= INT_MAX) {
            e->value = Value::ofInt(static_cast<int>(value));
            return e;
        }
        errno = 0;
    }
    double value = std::strtod(digits.c_str(), nullptr);
    if (!std::isfinite(value)) {
        fail("the number " + digits + " is too large");
        return nullptr;
    }
    e->value = Value::ofFloat(value);
    return e;
}

bool ScriptParser::stringLiteral(std::string& out, bool& escaped, size_t& rawStart, size_t& rawEnd) {
    int startLine = line_;
    ++pos_;
    rawStart = pos_;
    escaped = false;
    while (!atEnd()) {
        char c = text_[pos_];
        if (c == '"') {
            rawEnd = pos_;
            ++pos_;
            if (!escaped)
                out.assign(text_.substr(rawStart, rawEnd - rawStart));
            return true;
        }
        if (c == '\n')
            ++line_;
        if (c == '\\') {
            if (pos_ + 1 >= end_)
                break;
            if (!escaped) {
                out.assign(text_.substr(rawStart, pos_ - rawStart));
                escaped = true;
            }
            char e = text_[pos_ + 1];
            switch (e) {
                case '"': out += '"'; break;
                case '\\': out += '\\'; break;
                case 'n': out += '\n'; break;
                case 't': out += '\t'; break;
                case 'r': out += '\r'; break;
                default:
                    return fail(std::string("invalid escape sequence \"\\") + e +
                                "\" in a string (use \\\" \\\\ \\n \\r or \\t)");
            }
            pos_ += 2;
            continue;
        }
        if (escaped)
            out += c;
        ++pos_;
    }
    return fail("unterminated string: a '\"' has no closing quote", startLine);
}

std::unique_ptr<Expr> ScriptParser::backquote() {
    int startLine = line_;
    ++pos_;
    size_t start = pos_;
    bool inString = false;
    while (!atEnd()) {
        char c = text_[pos_];
        if (c == '\n')
            ++line_;
        if (inString && c == '\\' && pos_ + 1 < end_) {
            if (text_[pos_ + 1] == '\n')
                ++line_;
            pos_ += 2;
            continue;
        }
        if (c == '"')
            inString = !inString;
        if (c == '`' && !inString)
            break;
        ++pos_;
    }
    if (atEnd()) {
        fail("unterminated back-quoted command: a '`' has no closing '`'", startLine);
        return nullptr;
    }
    auto e = makeExpr(Expr::Backquote, startLine);
    ScriptParser inner(text_, start, pos_, startLine, checkOnly_);
    inner.depth_ = depth_;
    std::unique_ptr<Stmt> s;
    while (inner.next(s))
        e->body.push_back(std::move(s));
    if (inner.failed()) {
        fail(inner.errorMessage(), inner.errorLine());
        return nullptr;
    }
    ++pos_;
    return e;
}

std::unique_ptr<Expr> ScriptParser::variable() {
    int line = line_;
    if (peek() != '$') {
        fail("expected a variable ($name)");
        return nullptr;
    }
    ++pos_;
    size_t start = pos_;
    while (!atEnd() && identChar(peek()))
        ++pos_;
    if (pos_ == start) {
        fail("expected a variable name after '$'");
        return nullptr;
    }
    auto e = makeExpr(Expr::Var, line);
    e->name = text_.substr(start, pos_ - start);
    return e;
}

std::unique_ptr<Expr> ScriptParser::primary() {
    if (!skipSpace())
        return nullptr;
    int line = line_;
    char c = peek();
    if (isDigit(c) || (c == '.' && isDigit(peek(1))))
        return number();
    if (c == '"') {
        auto e = makeExpr(Expr::Literal, line);
        e->value.type = Value::String;
        bool escaped = false;
        size_t a = 0, b = 0;
        if (!stringLiteral(e->value.s, escaped, a, b))
            return nullptr;
        return e;
    }
    if (c == '$')
        return variable();
    if (c == '`')
        return backquote();
    if (c == '(') {
        ++pos_;
        std::unique_ptr<Expr> e = expression();
        if (!e || !expect(')', "')'"))
            return nullptr;
        return e;
    }
    if (c == '{') {
        ++pos_;
        auto e = makeExpr(Expr::ArrayLit, line);
        if (accept('}'))
            return e;
        if (!expressionList(e->kids) || !expect('}', "'}' or ',' in the array"))
            return nullptr;
        return e;
    }
    if (c == '<' && peek(1) == '<') {
        pos_ += 2;
        auto e = makeExpr(Expr::VectorLit, line);
        for (int k = 0; k < 3; ++k) {
            if (k > 0 && !expect(',', "',' between the components of the vector"))
                return nullptr;
            std::unique_ptr<Expr> component = binary(4);
            if (!component)
                return nullptr;
            e->kids.push_back(std::move(component));
        }
        if (!accept2('>', '>')) {
            fail("expected '>>' to end the vector");
            return nullptr;
        }
        return e;
    }
    if (identStart(c)) {
        std::string_view word = readIdent();
        if (word == "true" || word == "on" || word == "yes" || word == "false" || word == "off" || word == "no") {
            auto e = makeExpr(Expr::Literal, line);
            e->value = Value::ofInt(word == "true" || word == "on" || word == "yes");
            return e;
        }
        if (!accept('(')) {
            if (!failed())
                fail("unexpected word '" + std::string(word) +
                     "' in an expression (run a command in an expression with back-quotes or name(...))");
            return nullptr;
        }
        auto e = makeExpr(word == "catch" || word == "catchQuiet" ? Expr::Catch : Expr::Call, line);
        e->name = word;
        if (!accept(')') && (!expressionList(e->kids) || !expect(')', "')' after the arguments")))
            return nullptr;
        if (e->kind == Expr::Catch && e->kids.size() != 1) {
            fail(std::string(word) + " takes one expression");
            return nullptr;
        }
        return e;
    }
    if (failed())
        return nullptr;
    fail(atEnd() ? std::string("expected an expression at the end of the text")
                 : "expected an expression, found '" + std::string(1, c) + "'");
    return nullptr;
}

}  // namespace host::mel
