#ifndef HOST_SCRIPT_SYNTAX_H
#define HOST_SCRIPT_SYNTAX_H

#include "command/Args.h"
#include "script/Value.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

// The parsed form of the command language. Names and words are views into the script's text, which
// outlives what is parsed from it.

namespace host::mel {

struct Stmt;

struct Expr {
    enum Kind {
        Literal,     // value
        VectorLit,   // kids: x y z
        ArrayLit,    // kids: the elements
        Var,         // name
        Index,       // kids: array, index
        Component,   // kids: vector; op: 'x' 'y' 'z'
        Unary,       // op: '-' '!' '+'; kids: operand
        Binary,      // op: see Op; kids: left right
        Assign,      // op: '=' or the operator of += -= *= /=; kids: target value
        Increment,   // op: +1 or -1; prefix; kids: target
        Ternary,     // kids: condition, then, else
        Call,        // name; kids: arguments
        Backquote,   // body
        Catch,       // kids: the expression caught
    };
    // Binary operators beyond the one-character ones.
    enum Op { Eq = 256, Ne, Le, Ge, And, Or };

    Kind kind = Literal;
    int op = 0;
    bool prefix = false;
    int line = 1;
    std::string_view name;
    Value value;
    std::vector<std::unique_ptr<Expr>> kids;
    std::vector<std::unique_ptr<Stmt>> body;
};

struct Declared {
    std::string_view name;
    bool array = false;
    std::unique_ptr<Expr> size;  // float $f[3]
    std::unique_ptr<Expr> init;
};

struct Param {
    Value::Type type = Value::Int;
    std::string_view name;
};

struct ProcDef {
    std::string_view name;
    bool global = false;
    bool returns = false;
    Value::Type returnType = Value::Int;
    std::vector<Param> params;
    std::unique_ptr<Stmt> body;
};

struct Stmt {
    enum Kind { Empty, Block, ExprStmt, Command, Decl, If, While, DoWhile, For, ForIn, Break, Continue, Return, Proc };

    Kind kind = Empty;
    int line = 1;
    std::string_view text;  // the statement as written

    // Block: body. If: body[0] then, body[1] else (may be absent). While/DoWhile/For/ForIn: body[0].
    std::vector<std::unique_ptr<Stmt>> body;
    // ExprStmt, Return (may be null), If/While/DoWhile condition, For condition (may be null), ForIn
    // array.
    std::unique_ptr<Expr> expr;
    // For: initialisers and steps. ForIn: inits[0] is the loop variable.
    std::vector<std::unique_ptr<Expr>> inits;
    std::vector<std::unique_ptr<Expr>> steps;

    // Command: its name, its literal words, and the expressions among its arguments with the place each
    // takes (before the literal word of that index).
    std::string_view name;
    Args words;
    std::vector<std::pair<size_t, std::unique_ptr<Expr>>> computed;

    // Decl.
    bool global = false;
    Value::Type type = Value::Int;
    std::vector<Declared> declared;

    std::shared_ptr<ProcDef> proc;
};

}  // namespace host::mel

#endif
