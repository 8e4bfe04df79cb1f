#include "script/Language.h"

#include "command/Builtins.h"
#include "command/CommandResultAccess.h"
#include "command/Journal.h"
#include "command/PluginCommandRunner.h"
#include "foundation/ThreadStack.h"
#include "plugin/CommandRegistry.h"
#include "script/ScriptParser.h"

#include <host/Host.h>
#include <maya/MCommandResult.h>
#include <maya/MGlobal.h>

#include <sys/stat.h>

#include <climits>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <functional>
#include <iostream>
#include <map>
#include <set>
#include <sstream>
#include <streambuf>

// The interpreter of the command language. Variables live in scopes: a script's top level, each block,
// each procedure call (which sees only its own variables and the globals it declares). Procedures are
// known from the moment their definition runs; "proc" ones only to the file that defines them.

namespace host::mel {

namespace {

struct SourceFile {
    std::string path;
    std::shared_ptr<const std::string> text;
    std::map<std::string, struct Procedure, std::less<>> localProcs;
};

struct Procedure {
    std::shared_ptr<ProcDef> def;
    std::shared_ptr<SourceFile> file;
};

struct Variable {
    std::string name;
    Value value;
    size_t bytes = 0;
};

struct Scope {
    std::vector<Variable*> visible;                 // the scope's own variables and the globals it declared
    std::vector<std::unique_ptr<Variable>> owned;
};

struct Frame {
    std::vector<Scope> scopes;
    std::shared_ptr<SourceFile> file;
};

enum class Flow { Next, Break, Continue, Return, Fail };

class Discard : public std::streambuf {
protected:
    int overflow(int c) override { return traits_type::not_eof(c); }
    std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
};

std::streambuf& discard() {
    static Discard buffer;
    return buffer;
}

const size_t kJournalText = 4000;
const int kMaxRuns = 64;  // texts run within each other (source, eval, commands that run text)  // a longer statement is journaled by its start

std::string varName(std::string_view name) { return "$" + std::string(name); }

class Interpreter {
public:
    ScriptLimits limits;
    FailurePlace failure;

    MStatus run(std::shared_ptr<SourceFile> file, MCommandResult* result);
    void defineStub(const std::string& name) { stubs_.insert(name); }

private:
    // Statements and expressions.
    Flow exec(const Stmt& s);
    Flow loopStep(const Stmt& s, Flow flow, bool& stop);
    bool eval(const Expr& e, Value& out);
    const Value* evalRef(const Expr& e, Value& temp);
    bool binary(const Expr& e, Value& out);
    bool combine(int op, const Value& a, const Value& b, Value& out);
    bool assign(const Expr& e, Value* out);
    bool increment(const Expr& e, Value& out);
    bool store(const Expr& target, Value value, Value* out);
    bool call(std::string_view name, std::vector<Value>& args, bool functionSyntax, const Args* words, int line,
              Value& out);
    bool runCommand(const Stmt& s, Value& out);
    bool runWords(std::string_view name, const Args& args, Value& out);
    bool callProcedure(const Procedure& p, std::vector<Value>& args, Value& out);
    bool callFunction(std::string_view name, std::vector<Value>& args, Value& out, bool& found);
    bool sourceFile(const std::string& path);
    bool evalText(const std::string& text, Value& out);

    // Variables.
    Variable* find(std::string_view name);
    Variable* declare(std::string_view name, Value::Type type, bool global);
    bool setValue(Variable& v, Value value);
    bool account(Variable& v, size_t newBytes);
    void popScope();

    bool fail(const std::string& message);
    bool deeper();
    const Procedure* findProcedure(std::string_view name);

    std::vector<Frame> frames_;
    std::map<std::string, std::unique_ptr<Variable>, std::less<>> globals_;
    std::map<std::string, Procedure, std::less<>> globalProcs_;
    std::set<std::string, std::less<>> stubs_;
    Value returnValue_;
    Value lastValue_;
    size_t variableBytes_ = 0;
    unsigned long long iterations_ = 0;
    int runs_ = 0;
    int calls_ = 0;
    uintptr_t stackBase_ = 0;
    size_t stackLimit_ = 0;
    int currentLine_ = 0;
};

Interpreter& interpreter() {
    static Interpreter instance;
    return instance;
}

bool Interpreter::fail(const std::string& message) {
    MGlobal::displayError(MString(message));
    return false;
}

// The interpreter recurses as deeply as the statements and calls nest; the parser bounds nesting within a
// statement and callDepth bounds calls, and this bounds what both use of the stack together.
bool Interpreter::deeper() {
    char here = 0;
    uintptr_t at = reinterpret_cast<uintptr_t>(&here);
    if (stackBase_ && (stackBase_ > at ? stackBase_ - at : at - stackBase_) > stackLimit_)
        return fail("The script is nested too deeply (procedure calls and statements within each other).");
    return true;
}

// ---- Variables ------------------------------------------------------------------------------------

Variable* Interpreter::find(std::string_view name) {
    if (frames_.empty())
        return nullptr;
    std::vector<Scope>& scopes = frames_.back().scopes;
    for (auto s = scopes.rbegin(); s != scopes.rend(); ++s) {
        for (Variable* v : s->visible)
            if (v->name == name)
                return v;
    }
    return nullptr;
}

bool Interpreter::account(Variable& v, size_t newBytes) {
    size_t others = variableBytes_ - v.bytes;
    if (newBytes > limits.variableBytes || others > limits.variableBytes - newBytes) {
        return fail("Script variables would hold more than " + std::to_string(limits.variableBytes >> 20) +
                    " MB (assigning " + varName(v.name) + ").");
    }
    variableBytes_ = others + newBytes;
    v.bytes = newBytes;
    return true;
}

bool Interpreter::setValue(Variable& v, Value value) {
    Value converted;
    if (!convert(value, v.value.type, converted))
        return fail("Cannot assign a " + std::string(typeName(value.type)) + " to " + varName(v.name) + ", a " +
                    typeName(v.value.type) + ".");
    if (!account(v, converted.bytes()))
        return false;
    v.value = std::move(converted);
    return true;
}

Variable* Interpreter::declare(std::string_view name, Value::Type type, bool global) {
    Scope& scope = frames_.back().scopes.back();
    for (Variable* v : scope.visible) {
        if (v->name != name)
            continue;
        if (v->value.type != type) {
            fail(varName(name) + " is already declared as " + typeName(v->value.type) + ".");
            return nullptr;
        }
        if (!global) {
            account(*v, 0);
            v->value = Value::empty(type);
        }
        return v;
    }
    if (global) {
        auto it = globals_.find(name);
        if (it == globals_.end()) {
            auto v = std::make_unique<Variable>();
            v->name = std::string(name);
            v->value = Value::empty(type);
            it = globals_.emplace(v->name, std::move(v)).first;
        } else if (it->second->value.type != type) {
            fail("The global " + varName(name) + " is already declared as " + typeName(it->second->value.type) +
                 ".");
            return nullptr;
        }
        scope.visible.push_back(it->second.get());
        return it->second.get();
    }
    auto v = std::make_unique<Variable>();
    v->name = std::string(name);
    v->value = Value::empty(type);
    scope.visible.push_back(v.get());
    scope.owned.push_back(std::move(v));
    return scope.visible.back();
}

void Interpreter::popScope() {
    Scope& scope = frames_.back().scopes.back();
    for (const std::unique_ptr<Variable>& v : scope.owned)
        variableBytes_ -= v->bytes;
    frames_.back().scopes.pop_back();
}

// ---- Running text ---------------------------------------------------------------------------------

MStatus Interpreter::run(std::shared_ptr<SourceFile> file, MCommandResult* result) {
    std::string_view text(*file->text);
    if (runs_ >= kMaxRuns) {
        // Each nested run holds its text: a script sourcing itself must not pile up copies without end.
        MGlobal::displayError(MString("Scripts are sourced or evaluated within each other more than " +
                                      std::to_string(kMaxRuns) + " deep."));
        return MStatus::kFailure;
    }
    if (text.size() >= UINT32_MAX) {
        MGlobal::displayError(MString("The script \"" + file->path + "\" is larger than 4 GB."));
        return MStatus::kFailure;
    }
    {
        // The whole text is checked first: a syntax error anywhere runs nothing.
        ScriptParser check(text, 0, text.size(), 1, true);
        std::unique_ptr<Stmt> s;
        while (check.next(s)) {
        }
        if (check.failed()) {
            std::string message = check.errorMessage();
            if (file->path.empty()) {
                size_t entry = journalCommandStart(std::string(text.substr(0, kJournalText)));
                MGlobal::displayError(MString("Syntax error on line " + std::to_string(check.errorLine()) + ": " + message));
                journalCommandEnd(entry, MStatus::kFailure);
            } else {
                MGlobal::displayError(MString("Syntax error: " + message));
            }
            failure = FailurePlace{file->path, check.errorLine(), message};
            return MStatus::kFailure;
        }
    }
    if (runs_ == 0) {
        iterations_ = 0;
        char here = 0;
        stackBase_ = reinterpret_cast<uintptr_t>(&here);
        stackLimit_ = std::min<size_t>(threadStackSize() / 2, 4u << 20);
    }
    ++runs_;
    frames_.emplace_back();
    frames_.back().file = file;
    frames_.back().scopes.emplace_back();

    ScriptParser parser(text, 0, text.size(), 1);
    std::unique_ptr<Stmt> s;
    MStatus status = MStatus::kSuccess;
    while (parser.next(s)) {
        MCommandResult local;
        MCommandResult& out = result ? *result : local;
        CommandResultAccess::clear(out);
        size_t entry = journalCommandStart(s->text.size() > kJournalText
                                               ? std::string(s->text.substr(0, kJournalText)) + " ..."
                                               : std::string(s->text));
        failure = FailurePlace();
        lastValue_ = Value::empty(Value::String);
        bool produces = s->kind == Stmt::Command || s->kind == Stmt::ExprStmt;
        Flow flow = exec(*s);
        if (flow == Flow::Break || flow == Flow::Continue) {
            fail(std::string(flow == Flow::Break ? "break" : "continue") + " is not inside a loop.");
            if (failure.line == 0)
                failure = FailurePlace{file->path, s->line, std::string()};
            flow = Flow::Fail;
        }
        journalCommandEnd(entry, flow == Flow::Fail ? MStatus::kFailure : MStatus::kSuccess);
        if (flow == Flow::Fail) {
            CommandResultAccess::clear(out);
            status = MStatus::kFailure;
            break;
        }
        if (produces && result) {
            const Value& v = lastValue_;
            switch (v.type) {
                case Value::Int: CommandResultAccess::setInt(out, v.i); break;
                case Value::Float: CommandResultAccess::setDouble(out, v.f); break;
                case Value::String:
                    if (s->kind == Stmt::ExprStmt || !v.s.empty())
                        CommandResultAccess::setString(out, MString(v.s));
                    break;
                case Value::Vector: {
                    MDoubleArray a;
                    a.append(v.v.x);
                    a.append(v.v.y);
                    a.append(v.v.z);
                    CommandResultAccess::setDoubleArray(out, a);
                    break;
                }
                case Value::IntArray: {
                    MIntArray a;
                    a.hostVector() = v.ia;
                    CommandResultAccess::setIntArray(out, a);
                    break;
                }
                case Value::FloatArray: {
                    MDoubleArray a;
                    a.hostVector() = v.fa;
                    CommandResultAccess::setDoubleArray(out, a);
                    break;
                }
                case Value::StringArray: {
                    MStringArray a;
                    for (const std::string& e : v.sa)
                        a.append(MString(e));
                    CommandResultAccess::setStringArray(out, a);
                    break;
                }
                case Value::VectorArray: {
                    MDoubleArray a;
                    for (const Vec3& e : v.va) {
                        a.append(e.x);
                        a.append(e.y);
                        a.append(e.z);
                    }
                    CommandResultAccess::setDoubleArray(out, a);
                    break;
                }
            }
        }
        if (flow == Flow::Return)
            break;
    }
    if (parser.failed() && status) {
        // Cannot happen after the check above, but a failure must never pass as success.
        MGlobal::displayError(MString("Syntax error: " + parser.errorMessage()));
        status = MStatus::kFailure;
    }
    while (!frames_.back().scopes.empty())
        popScope();
    frames_.pop_back();
    --runs_;
    return status;
}

// ---- Statements -----------------------------------------------------------------------------------

Flow Interpreter::loopStep(const Stmt& s, Flow flow, bool& stop) {
    stop = flow == Flow::Break || flow == Flow::Return || flow == Flow::Fail;
    if (flow == Flow::Break)
        return Flow::Next;
    if (flow == Flow::Continue)
        flow = Flow::Next;
    if (!stop && ++iterations_ > limits.loopIterations) {
        currentLine_ = s.line;
        fail("The script stopped after " + std::to_string(limits.loopIterations) +
             " loop iterations (the host's bound on one run of a script).");
        stop = true;
        return Flow::Fail;
    }
    return flow;
}

Flow Interpreter::exec(const Stmt& s) {
    if (!deeper()) {
        if (failure.line == 0)
            failure = FailurePlace{frames_.back().file->path, s.line, std::string()};
        return Flow::Fail;
    }
    Flow flow = Flow::Next;
    Value value;
    switch (s.kind) {
        case Stmt::Empty:
            break;
        case Stmt::Block:
            frames_.back().scopes.emplace_back();
            for (const std::unique_ptr<Stmt>& inner : s.body) {
                flow = exec(*inner);
                if (flow != Flow::Next)
                    break;
            }
            popScope();
            break;
        case Stmt::ExprStmt:
            if (s.expr->kind == Expr::Assign) {
                if (!assign(*s.expr, &lastValue_))
                    flow = Flow::Fail;
            } else if (!eval(*s.expr, value)) {
                flow = Flow::Fail;
            } else {
                lastValue_ = std::move(value);
            }
            break;
        case Stmt::Command:
            if (!runCommand(s, value))
                flow = Flow::Fail;
            else
                lastValue_ = std::move(value);
            break;
        case Stmt::Decl:
            for (const Declared& d : s.declared) {
                Value::Type type = d.array ? Value::arrayType(s.type) : s.type;
                Value init = Value::empty(type);
                if (d.init && !eval(*d.init, init)) {
                    flow = Flow::Fail;
                    break;
                }
                if (d.size) {
                    if (!eval(*d.size, value)) {
                        flow = Flow::Fail;
                        break;
                    }
                    int n = toInt(value);
                    if (n < 0 || static_cast<size_t>(n) > limits.variableBytes / 4) {
                        fail("The size of " + varName(d.name) + " (" + std::to_string(n) + ") is out of range.");
                        flow = Flow::Fail;
                        break;
                    }
                    if (!d.init) {
                        switch (type) {
                            case Value::IntArray: init.ia.resize(static_cast<size_t>(n)); break;
                            case Value::FloatArray: init.fa.resize(static_cast<size_t>(n)); break;
                            case Value::StringArray: init.sa.resize(static_cast<size_t>(n)); break;
                            default: init.va.resize(static_cast<size_t>(n)); break;
                        }
                    }
                }
                Variable* v = declare(d.name, type, s.global);
                if (!v || ((d.init || d.size) && !setValue(*v, std::move(init)))) {
                    flow = Flow::Fail;
                    break;
                }
            }
            break;
        case Stmt::If:
            if (!eval(*s.expr, value))
                flow = Flow::Fail;
            else if (truth(value))
                flow = exec(*s.body[0]);
            else if (s.body.size() > 1)
                flow = exec(*s.body[1]);
            break;
        case Stmt::While:
        case Stmt::DoWhile: {
            bool stop = false;
            bool first = s.kind == Stmt::DoWhile;
            while (!stop) {
                if (!first) {
                    if (!eval(*s.expr, value)) {
                        flow = Flow::Fail;
                        break;
                    }
                    if (!truth(value))
                        break;
                }
                first = false;
                flow = loopStep(s, exec(*s.body[0]), stop);
            }
            break;
        }
        case Stmt::For: {
            for (const std::unique_ptr<Expr>& e : s.inits) {
                if (!(e->kind == Expr::Assign ? assign(*e, nullptr) : eval(*e, value))) {
                    flow = Flow::Fail;
                    break;
                }
            }
            bool stop = flow == Flow::Fail;
            while (!stop) {
                if (s.expr) {
                    if (!eval(*s.expr, value)) {
                        flow = Flow::Fail;
                        break;
                    }
                    if (!truth(value))
                        break;
                }
                flow = loopStep(s, exec(*s.body[0]), stop);
                if (stop)
                    break;
                for (const std::unique_ptr<Expr>& e : s.steps) {
                    if (!(e->kind == Expr::Assign ? assign(*e, nullptr) : eval(*e, value))) {
                        flow = Flow::Fail;
                        stop = true;
                        break;
                    }
                }
            }
            break;
        }
        case Stmt::ForIn: {
            Value array;
            if (!eval(*s.expr, array)) {
                flow = Flow::Fail;
                break;
            }
            if (!array.isArray()) {
                fail("'for ... in' needs an array, not a " + std::string(typeName(array.type)) + ".");
                flow = Flow::Fail;
                break;
            }
            std::string_view name = s.inits[0]->name;
            Variable* v = find(name);
            if (!v && !(v = declare(name, Value::elementType(array.type), false))) {
                flow = Flow::Fail;
                break;
            }
            bool stop = false;
            for (size_t k = 0; k < array.size() && !stop; ++k) {
                if (!setValue(*v, array.element(k))) {
                    flow = Flow::Fail;
                    break;
                }
                flow = loopStep(s, exec(*s.body[0]), stop);
            }
            break;
        }
        case Stmt::Break:
            flow = Flow::Break;
            break;
        case Stmt::Continue:
            flow = Flow::Continue;
            break;
        case Stmt::Return:
            returnValue_ = Value::empty(Value::String);
            if (s.expr && !eval(*s.expr, returnValue_))
                flow = Flow::Fail;
            else
                flow = Flow::Return;
            break;
        case Stmt::Proc: {
            // A local procedure runs in the file that holds it, so it does not hold the file itself.
            std::string name(s.proc->name);
            if (s.proc->global)
                globalProcs_[name] = Procedure{s.proc, frames_.back().file};
            else
                frames_.back().file->localProcs[name] = Procedure{s.proc, nullptr};
            break;
        }
    }
    if (flow == Flow::Fail && failure.line == 0)
        failure = FailurePlace{frames_.back().file->path, s.line, std::string()};
    return flow;
}

// ---- Expressions ----------------------------------------------------------------------------------

const Value* Interpreter::evalRef(const Expr& e, Value& temp) {
    if (e.kind == Expr::Var) {
        Variable* v = find(e.name);
        if (!v) {
            fail("\"" + varName(e.name) + "\" is an undeclared variable.");
            return nullptr;
        }
        return &v->value;
    }
    return eval(e, temp) ? &temp : nullptr;
}

bool Interpreter::eval(const Expr& e, Value& out) {
    if (!deeper())
        return false;
    Value a, b;
    switch (e.kind) {
        case Expr::Literal:
            out = e.value;
            return true;
        case Expr::VectorLit: {
            double c[3];
            for (int k = 0; k < 3; ++k) {
                if (!eval(*e.kids[static_cast<size_t>(k)], a))
                    return false;
                if (a.isArray())
                    return fail("A vector's component cannot be an array.");
                c[k] = toFloat(a);
            }
            out = Value::ofVector(Vec3{c[0], c[1], c[2]});
            return true;
        }
        case Expr::ArrayLit: {
            std::vector<Value> items(e.kids.size());
            Value::Type type = Value::Int;
            for (size_t k = 0; k < e.kids.size(); ++k) {
                if (!eval(*e.kids[k], items[k]))
                    return false;
                if (items[k].isArray())
                    return fail("An array cannot hold arrays.");
                if (items[k].type == Value::String || (items[k].type == Value::Vector && type != Value::String) ||
                    (items[k].type == Value::Float && type == Value::Int))
                    type = items[k].type;
            }
            out = Value::empty(Value::arrayType(type));
            for (const Value& item : items) {
                switch (type) {
                    case Value::Int: out.ia.push_back(toInt(item)); break;
                    case Value::Float: out.fa.push_back(toFloat(item)); break;
                    case Value::String: out.sa.push_back(toString(item)); break;
                    default: out.va.push_back(toVector(item)); break;
                }
            }
            return true;
        }
        case Expr::Var: {
            const Value* v = evalRef(e, a);
            if (!v)
                return false;
            out = *v;
            return true;
        }
        case Expr::Index: {
            const Value* base = evalRef(*e.kids[0], a);
            if (!base || !eval(*e.kids[1], b))
                return false;
            if (!base->isArray())
                return fail("Cannot index a " + std::string(typeName(base->type)) + ": it is not an array.");
            int index = toInt(b);
            if (index < 0)
                return fail("The array index " + std::to_string(index) + " is negative.");
            if (static_cast<size_t>(index) >= base->size())
                out = Value::empty(Value::elementType(base->type));
            else
                out = base->element(static_cast<size_t>(index));
            return true;
        }
        case Expr::Component: {
            const Value* v = evalRef(*e.kids[0], a);
            if (!v)
                return false;
            if (v->type != Value::Vector)
                return fail("Only a vector has ." + std::string(1, static_cast<char>(e.op)) + ", not a " +
                            typeName(v->type) + ".");
            out = Value::ofFloat(e.op == 'x' ? v->v.x : e.op == 'y' ? v->v.y : v->v.z);
            return true;
        }
        case Expr::Unary:
            if (!eval(*e.kids[0], a))
                return false;
            if (e.op == '!') {
                out = Value::ofInt(!truth(a));
                return true;
            }
            switch (a.type) {
                case Value::Int: out = Value::ofInt(static_cast<int>(0u - static_cast<unsigned>(a.i))); return true;
                case Value::Float: out = Value::ofFloat(-a.f); return true;
                case Value::Vector: out = Value::ofVector(Vec3{-a.v.x, -a.v.y, -a.v.z}); return true;
                default: return fail("Cannot negate a " + std::string(typeName(a.type)) + ".");
            }
        case Expr::Binary:
            return binary(e, out);
        case Expr::Assign:
            return assign(e, &out);
        case Expr::Increment:
            return increment(e, out);
        case Expr::Ternary:
            if (!eval(*e.kids[0], a))
                return false;
            return eval(*e.kids[truth(a) ? 1 : 2], out);
        case Expr::Call: {
            std::vector<Value> args(e.kids.size());
            for (size_t k = 0; k < e.kids.size(); ++k)
                if (!eval(*e.kids[k], args[k]))
                    return false;
            return call(e.name, args, true, nullptr, e.line, out);
        }
        case Expr::Backquote: {
            lastValue_ = Value::empty(Value::String);
            for (const std::unique_ptr<Stmt>& s : e.body) {
                Flow flow = exec(*s);
                if (flow == Flow::Fail)
                    return false;
                if (flow != Flow::Next)
                    return fail("Only commands and expressions can be back-quoted.");
            }
            out = std::move(lastValue_);
            return true;
        }
        case Expr::Catch: {
            // catchQuiet shows no error on standard error (the journal still has it).
            std::streambuf* shown = e.name == "catchQuiet" ? std::cerr.rdbuf(&discard()) : nullptr;
            bool ok = eval(*e.kids[0], a);
            if (shown)
                std::cerr.rdbuf(shown);
            if (ok) {
                out = Value::ofInt(0);
            } else {
                failure = FailurePlace();
                out = Value::ofInt(1);
            }
            return true;
        }
    }
    return fail("Unknown expression.");
}

namespace {

bool numeric(const Value& v) { return v.type == Value::Int || v.type == Value::Float; }

int wrap(long long v) { return static_cast<int>(static_cast<uint32_t>(static_cast<uint64_t>(v))); }

}  // namespace

bool Interpreter::binary(const Expr& e, Value& out) {
    Value a, b;
    if (!eval(*e.kids[0], a))
        return false;
    if (e.op == Expr::And || e.op == Expr::Or) {
        bool left = truth(a);
        if (e.op == Expr::And ? !left : left) {
            out = Value::ofInt(left);
            return true;
        }
        if (!eval(*e.kids[1], b))
            return false;
        out = Value::ofInt(truth(b));
        return true;
    }
    if (!eval(*e.kids[1], b))
        return false;
    return combine(e.op, a, b, out);
}

bool Interpreter::combine(int op, const Value& a, const Value& b, Value& out) {
    std::string opText = op == Expr::Eq ? "==" : op == Expr::Ne ? "!=" : op == Expr::Le ? "<=" : op == Expr::Ge ? ">=" : std::string(1, static_cast<char>(op));
    if (a.isArray() || b.isArray())
        return fail("Cannot use an array (" + std::string(typeName(a.isArray() ? a.type : b.type)) + ") with '" +
                    opText + "'.");
    bool strings = a.type == Value::String || b.type == Value::String;
    bool vectors = a.type == Value::Vector || b.type == Value::Vector;
    if (op == Expr::Eq || op == Expr::Ne) {
        bool equal;
        if (strings)
            equal = toString(a) == toString(b);
        else if (vectors) {
            Vec3 x = toVector(a), y = toVector(b);
            equal = x.x == y.x && x.y == y.y && x.z == y.z;
        } else if (a.type == Value::Int && b.type == Value::Int)
            equal = a.i == b.i;
        else
            equal = toFloat(a) == toFloat(b);
        out = Value::ofInt(op == Expr::Eq ? equal : !equal);
        return true;
    }
    if (op == '<' || op == '>' || op == Expr::Le || op == Expr::Ge) {
        int c;
        if (strings) {
            int r = toString(a).compare(toString(b));
            c = r < 0 ? -1 : r > 0 ? 1 : 0;
        } else if (vectors) {
            return fail("Cannot compare vectors with '" + opText + "'.");
        } else {
            double x = toFloat(a), y = toFloat(b);
            if (a.type == Value::Int && b.type == Value::Int)
                c = a.i < b.i ? -1 : a.i > b.i ? 1 : 0;
            else
                c = x < y ? -1 : x > y ? 1 : 0;
        }
        bool r = op == '<' ? c < 0 : op == '>' ? c > 0 : op == Expr::Le ? c <= 0 : c >= 0;
        out = Value::ofInt(r);
        return true;
    }
    if (strings) {
        if (op != '+')
            return fail("Cannot use '" + opText + "' with a string.");
        std::string left = toString(a), right = toString(b);
        if (left.size() + right.size() > limits.variableBytes)
            return fail("The string would be longer than " + std::to_string(limits.variableBytes >> 20) + " MB.");
        out = Value::ofString(left + right);
        return true;
    }
    if (vectors) {
        Vec3 x = toVector(a), y = toVector(b);
        switch (op) {
            case '+': out = Value::ofVector(Vec3{x.x + y.x, x.y + y.y, x.z + y.z}); return true;
            case '-': out = Value::ofVector(Vec3{x.x - y.x, x.y - y.y, x.z - y.z}); return true;
            case '*':
                if (a.type == Value::Vector && b.type == Value::Vector)
                    out = Value::ofFloat(x.x * y.x + x.y * y.y + x.z * y.z);
                else
                    out = Value::ofVector(Vec3{x.x * y.x, x.y * y.y, x.z * y.z});
                return true;
            case '/':
                if (b.type == Value::Vector)
                    return fail("Cannot divide by a vector.");
                out = Value::ofVector(Vec3{x.x / y.x, x.y / y.y, x.z / y.z});
                return true;
            case '^':
                if (a.type != Value::Vector || b.type != Value::Vector)
                    return fail("'^' (cross product) needs two vectors.");
                out = Value::ofVector(Vec3{x.y * y.z - x.z * y.y, x.z * y.x - x.x * y.z, x.x * y.y - x.y * y.x});
                return true;
            default:
                return fail("Cannot use '" + opText + "' with a vector.");
        }
    }
    if (op == '^')
        return fail("'^' (cross product) needs two vectors.");
    if (a.type == Value::Int && b.type == Value::Int) {
        long long x = a.i, y = b.i;
        switch (op) {
            case '+': out = Value::ofInt(wrap(x + y)); return true;
            case '-': out = Value::ofInt(wrap(x - y)); return true;
            case '*': out = Value::ofInt(wrap(x * y)); return true;
            case '/':
            case '%':
                if (y == 0)
                    return fail("Division by zero.");
                out = Value::ofInt(wrap(op == '/' ? x / y : x % y));
                return true;
        }
    }
    double x = toFloat(a), y = toFloat(b);
    switch (op) {
        case '+': out = Value::ofFloat(x + y); return true;
        case '-': out = Value::ofFloat(x - y); return true;
        case '*': out = Value::ofFloat(x * y); return true;
        case '/': out = Value::ofFloat(x / y); return true;
        case '%': out = Value::ofFloat(std::fmod(x, y)); return true;
    }
    return fail("Unknown operator '" + opText + "'.");
}

bool Interpreter::assign(const Expr& e, Value* out) {
    Value value;
    if (!eval(*e.kids[1], value))
        return false;
    if (e.op != '=') {
        Value current, combined;
        if (!eval(*e.kids[0], current) || !combine(e.op, current, value, combined))
            return false;
        value = std::move(combined);
    }
    return store(*e.kids[0], std::move(value), out);
}

bool Interpreter::store(const Expr& target, Value value, Value* out) {
    if (target.kind == Expr::Var) {
        Variable* v = find(target.name);
        if (!v && !(v = declare(target.name, value.type, false)))
            return false;
        if (!setValue(*v, std::move(value)))
            return false;
        if (out)
            *out = v->value;
        return true;
    }
    // An array element: the array grows to reach it.
    const Expr& arrayExpr = *target.kids[0];
    if (arrayExpr.kind != Expr::Var)
        return fail("Only an element of an array variable can be assigned to.");
    Value indexValue;
    if (!eval(*target.kids[1], indexValue))
        return false;
    if (value.isArray())
        return fail("Cannot assign an array to an element of " + varName(arrayExpr.name) + ".");
    Variable* v = find(arrayExpr.name);
    if (!v && !(v = declare(arrayExpr.name, Value::arrayType(value.type), false)))
        return false;
    if (!v->value.isArray())
        return fail(varName(arrayExpr.name) + " is a " + typeName(v->value.type) + ", not an array.");
    int index = toInt(indexValue);
    if (index < 0)
        return fail("The array index " + std::to_string(index) + " is negative.");
    Value element;
    convert(value, Value::elementType(v->value.type), element);
    size_t at = static_cast<size_t>(index);
    Value& array = v->value;
    size_t size = array.size();
    size_t elementBytes = array.type == Value::IntArray      ? sizeof(int)
                          : array.type == Value::FloatArray  ? sizeof(double)
                          : array.type == Value::VectorArray ? sizeof(Vec3)
                                                             : sizeof(std::string);
    size_t grown = at >= size ? (at + 1 - size) * elementBytes : 0;
    size_t oldElement = array.type == Value::StringArray && at < size ? array.sa[at].size() : 0;
    size_t newElement = array.type == Value::StringArray ? element.s.size() : 0;
    if (grown > limits.variableBytes)
        return fail("Script variables would hold more than " + std::to_string(limits.variableBytes >> 20) +
                    " MB (element " + std::to_string(index) + " of " + varName(arrayExpr.name) + ").");
    if (!account(*v, v->bytes + grown + newElement - std::min(oldElement, v->bytes)))
        return false;
    switch (array.type) {
        case Value::IntArray: if (at >= size) array.ia.resize(at + 1); array.ia[at] = element.i; break;
        case Value::FloatArray: if (at >= size) array.fa.resize(at + 1); array.fa[at] = element.f; break;
        case Value::StringArray: if (at >= size) array.sa.resize(at + 1); array.sa[at] = element.s; break;
        default: if (at >= size) array.va.resize(at + 1); array.va[at] = element.v; break;
    }
    if (out)
        *out = std::move(element);
    return true;
}

bool Interpreter::increment(const Expr& e, Value& out) {
    Value current;
    if (!eval(*e.kids[0], current))
        return false;
    if (!numeric(current))
        return fail(std::string(e.op > 0 ? "++" : "--") + " needs an int or a float, not a " +
                    typeName(current.type) + ".");
    Value next = current.type == Value::Int ? Value::ofInt(wrap(static_cast<long long>(current.i) + e.op))
                                            : Value::ofFloat(current.f + e.op);
    out = e.prefix ? next : current;
    return store(*e.kids[0], std::move(next), nullptr);
}

// ---- Calls ----------------------------------------------------------------------------------------

const Procedure* Interpreter::findProcedure(std::string_view name) {
    if (!frames_.empty()) {
        auto& local = frames_.back().file->localProcs;
        auto it = local.find(name);
        if (it != local.end())
            return &it->second;
    }
    auto it = globalProcs_.find(name);
    return it == globalProcs_.end() ? nullptr : &it->second;
}

bool Interpreter::runCommand(const Stmt& s, Value& out) {
    if (s.computed.empty()) {
        const Procedure* p = findProcedure(s.name);
        bool function = !p && ((s.name == "print" && s.words.size() == 1) || s.name == "size" || s.name == "source" ||
                               s.name == "eval");
        if (!p && !function)
            return runWords(s.name, s.words, out);
    }
    // Computed words: their values, in place among the literal words.
    std::vector<Value> values;
    size_t next = 0;
    auto literalsUpTo = [&](size_t end) {
        for (; next < end && next < s.words.size(); ++next)
            values.push_back(Value::ofString(std::string(s.words.view(next))));
    };
    std::vector<bool> computed;
    for (const auto& [index, expr] : s.computed) {
        literalsUpTo(index);
        Value v;
        if (!eval(*expr, v))
            return false;
        values.push_back(std::move(v));
        computed.resize(values.size(), false);
        computed.back() = true;
    }
    literalsUpTo(s.words.size());
    computed.resize(values.size(), false);
    if (findProcedure(s.name) || s.name == "print" || s.name == "size" || s.name == "source" || s.name == "eval") {
        // print with other than one word keeps the command's joining of words (print "a" + $b "c").
        if (!(s.name == "print" && values.size() != 1))
            return call(s.name, values, false, nullptr, s.line, out);
    }
    Args args(s.words.base());
    std::vector<std::string> words;
    size_t literal = 0;
    for (size_t k = 0; k < values.size(); ++k) {
        if (!computed[k]) {
            args.appendWord(s.words, literal++);
            continue;
        }
        words.clear();
        argumentWords(values[k], words);
        for (const std::string& w : words)
            args.append(w, true);
    }
    return runWords(s.name, args, out);
}

namespace {

Value fromResult(const MCommandResult& r) {
    switch (r.resultType()) {
        case MCommandResult::kInt: {
            int i = 0;
            r.getResult(i);
            return Value::ofInt(i);
        }
        case MCommandResult::kIntArray: {
            MIntArray a;
            r.getResult(a);
            Value v = Value::empty(Value::IntArray);
            v.ia = a.hostVector();
            return v;
        }
        case MCommandResult::kDouble: {
            double d = 0.0;
            r.getResult(d);
            return Value::ofFloat(d);
        }
        case MCommandResult::kDoubleArray: {
            MDoubleArray a;
            r.getResult(a);
            Value v = Value::empty(Value::FloatArray);
            v.fa = a.hostVector();
            return v;
        }
        case MCommandResult::kString: {
            MString s;
            r.getResult(s);
            return Value::ofString(s.str());
        }
        case MCommandResult::kStringArray: {
            MStringArray a;
            r.getResult(a);
            Value v = Value::empty(Value::StringArray);
            for (unsigned k = 0; k < a.length(); ++k)
                v.sa.push_back(a[k].str());
            return v;
        }
        default:
            return Value::empty(Value::String);
    }
}

}  // namespace

bool Interpreter::runWords(std::string_view nameView, const Args& args, Value& out) {
    std::string name(nameView);
    BuiltinCommand builtin = findBuiltinCommand(name);
    const PluginCommand* plugin = builtin ? nullptr : findPluginCommand(name);
    if (!builtin && !plugin) {
        if (stubs_.count(name)) {
            out = Value::empty(Value::String);
            return true;
        }
        return fail("Cannot find procedure \"" + name + "\".");
    }
    MCommandResult result;
    MStatus status = builtin ? builtin(args, result) : runPluginCommand(*plugin, args, result);
    if (!status)
        return false;
    out = fromResult(result);
    return true;
}

bool Interpreter::call(std::string_view name, std::vector<Value>& args, bool functionSyntax, const Args*, int,
                       Value& out) {
    if (const Procedure* p = findProcedure(name)) {
        Procedure keep = *p;  // the call may redefine it
        return callProcedure(keep, args, out);
    }
    bool found = false;
    bool ok = callFunction(name, args, out, found);
    if (found)
        return ok;
    // A command in function syntax: every value becomes words; strings may be flags ("-type").
    Args words;
    std::vector<std::string> texts;
    for (const Value& v : args) {
        texts.clear();
        argumentWords(v, texts);
        for (const std::string& t : texts)
            words.append(t, !functionSyntax);
    }
    return runWords(name, words, out);
}

bool Interpreter::callFunction(std::string_view name, std::vector<Value>& args, Value& out, bool& found) {
    found = true;
    auto count = [&](size_t n) {
        if (args.size() == n)
            return true;
        return fail(std::string(name) + " takes " + std::to_string(n) + " argument" + (n == 1 ? "" : "s") + ", not " +
                    std::to_string(args.size()) + ".");
    };
    if (name == "size") {
        if (!count(1))
            return false;
        const Value& v = args[0];
        out = Value::ofInt(static_cast<int>(std::min<size_t>(v.type == Value::String ? v.s.size() : v.size(), INT_MAX)));
        if (!v.isArray() && v.type != Value::String)
            return fail("size takes an array or a string, not a " + std::string(typeName(v.type)) + ".");
        return true;
    }
    if (name == "print") {
        if (!count(1))
            return false;
        std::string text = printText(args[0]);
        std::cout << text;
        std::cout.flush();
        out = Value::empty(Value::String);
        return true;
    }
    if (name == "eval") {
        std::string text;
        for (const Value& v : args) {
            if (!text.empty())
                text += ' ';
            text += toString(v);
        }
        return evalText(text, out);
    }
    if (name == "source") {
        if (!count(1))
            return false;
        out = Value::empty(Value::String);
        return sourceFile(toString(args[0]));
    }
    static const std::map<std::string, double (*)(double), std::less<>> math = {
        {"abs", [](double x) { return std::fabs(x); }},   {"sqrt", [](double x) { return std::sqrt(x); }},
        {"floor", [](double x) { return std::floor(x); }}, {"ceil", [](double x) { return std::ceil(x); }},
        {"sin", [](double x) { return std::sin(x); }},     {"cos", [](double x) { return std::cos(x); }},
        {"tan", [](double x) { return std::tan(x); }},     {"exp", [](double x) { return std::exp(x); }},
        {"log", [](double x) { return std::log(x); }},
        {"deg_to_rad", [](double x) { return x * M_PI / 180.0; }},
        {"rad_to_deg", [](double x) { return x * 180.0 / M_PI; }},
    };
    auto m = math.find(name);
    if (m != math.end()) {
        if (!count(1))
            return false;
        if (name == "abs" && args[0].type == Value::Int) {
            out = Value::ofInt(args[0].i < 0 ? wrap(-static_cast<long long>(args[0].i)) : args[0].i);
            return true;
        }
        if (!numeric(args[0]) && args[0].type != Value::String)
            return fail(std::string(name) + " takes a number, not a " + typeName(args[0].type) + ".");
        out = Value::ofFloat(m->second(toFloat(args[0])));
        return true;
    }
    if (name == "pow" || name == "min" || name == "max") {
        if (!count(2))
            return false;
        if (name != "pow" && args[0].type == Value::Int && args[1].type == Value::Int) {
            out = Value::ofInt(name == "min" ? std::min(args[0].i, args[1].i) : std::max(args[0].i, args[1].i));
            return true;
        }
        double x = toFloat(args[0]), y = toFloat(args[1]);
        out = Value::ofFloat(name == "pow" ? std::pow(x, y) : name == "min" ? std::min(x, y) : std::max(x, y));
        return true;
    }
    if (name == "mag") {
        if (!count(1))
            return false;
        out = Value::ofFloat(toFloat(Value::ofVector(toVector(args[0]))));
        return true;
    }
    if (name == "exists") {
        if (!count(1))
            return false;
        std::string n = toString(args[0]);
        out = Value::ofInt(findProcedure(n) || findBuiltinCommand(n) || findPluginCommand(n) || stubs_.count(n) ||
                           n == "print" || n == "size" || n == "eval" || n == "source");
        return true;
    }
    found = false;
    return true;
}

bool Interpreter::callProcedure(const Procedure& p, std::vector<Value>& args, Value& out) {
    const ProcDef& def = *p.def;
    std::string name(def.name);
    if (args.size() != def.params.size())
        return fail("Wrong number of arguments on call to " + name + ".");
    if (calls_ >= limits.callDepth)
        return fail("Procedure calls are nested more than " + std::to_string(limits.callDepth) + " deep (in " + name +
                    ").");
    // Calls count as loop iterations: a procedure that calls itself twice runs 2^n times with no loop.
    if (++iterations_ > limits.loopIterations)
        return fail("The script stopped after " + std::to_string(limits.loopIterations) +
                    " loop iterations and procedure calls (the host's bound on one run of a script).");
    std::vector<Value> converted(args.size());
    for (size_t k = 0; k < args.size(); ++k) {
        if (!convert(args[k], def.params[k].type, converted[k]))
            return fail("Argument " + std::to_string(k + 1) + " of " + name + " must be a " +
                        typeName(def.params[k].type) + ", not a " + typeName(args[k].type) + ".");
    }
    std::shared_ptr<SourceFile> file = p.file ? p.file : frames_.back().file;
    frames_.emplace_back();
    frames_.back().file = std::move(file);
    frames_.back().scopes.emplace_back();
    ++calls_;
    bool ok = true;
    for (size_t k = 0; k < args.size() && ok; ++k) {
        Variable* v = declare(def.params[k].name, def.params[k].type, false);
        ok = v && account(*v, converted[k].bytes());
        if (ok)
            v->value = std::move(converted[k]);
    }
    Flow flow = ok ? exec(*def.body) : Flow::Fail;
    --calls_;
    while (!frames_.back().scopes.empty())
        popScope();
    frames_.pop_back();
    if (flow == Flow::Fail)
        return false;
    if (flow == Flow::Break || flow == Flow::Continue)
        return fail(std::string(flow == Flow::Break ? "break" : "continue") + " is not inside a loop (in " + name +
                    ").");
    if (!def.returns) {
        out = Value::empty(Value::String);
        return true;
    }
    if (flow != Flow::Return) {
        out = Value::empty(def.returnType);
        return true;
    }
    if (!convert(returnValue_, def.returnType, out))
        return fail(name + " must return a " + std::string(typeName(def.returnType)) + ", not a " +
                    typeName(returnValue_.type) + ".");
    return true;
}

bool Interpreter::evalText(const std::string& text, Value& out) {
    auto file = std::make_shared<SourceFile>();
    file->path = frames_.empty() ? std::string() : frames_.back().file->path;
    file->text = std::make_shared<const std::string>(text);
    MCommandResult result;
    if (!run(file, &result))
        return false;
    out = fromResult(result);
    return true;
}

bool Interpreter::sourceFile(const std::string& path) {
    std::string resolved = path;
    struct stat info {};
    if (::stat(resolved.c_str(), &info) != 0 && !frames_.empty() && !path.empty() && path[0] != '/') {
        // Relative to the sourcing script's directory when not found from the working directory.
        const std::string& here = frames_.back().file->path;
        size_t slash = here.rfind('/');
        if (slash != std::string::npos)
            resolved = here.substr(0, slash + 1) + path;
    }
    return runScript(resolved) == MStatus::kSuccess;
}

}  // namespace

}  // namespace host::mel

namespace host {

using mel::interpreter;
using mel::SourceFile;

MStatus runText(std::shared_ptr<const std::string> text, const std::string& path, MCommandResult* result) {
    auto file = std::make_shared<SourceFile>();
    file->path = path;
    file->text = std::move(text);
    return interpreter().run(file, result);
}

FailurePlace lastFailurePlace() { return interpreter().failure; }

void defineProcedure(const std::string& name) { interpreter().defineStub(name); }

void setScriptLimits(const ScriptLimits& limits) { interpreter().limits = limits; }

ScriptLimits scriptLimits() { return interpreter().limits; }

MStatus execute(const std::string& text, MCommandResult* result) {
    return runText(std::make_shared<const std::string>(text), std::string(), result);
}

}  // namespace host
