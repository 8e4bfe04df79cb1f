#include "script/ScriptParser.h"

#include <gtest/gtest.h>

using host::mel::Expr;
using host::mel::ScriptParser;
using host::mel::Stmt;

namespace {

struct Parsed {
    std::vector<std::unique_ptr<Stmt>> statements;
    int errorLine = 0;
    std::string error;
};

Parsed parse(const std::string& text, int firstLine = 1) {
    Parsed out;
    ScriptParser parser(text, 0, text.size(), firstLine);
    std::unique_ptr<Stmt> s;
    while (parser.next(s))
        out.statements.push_back(std::move(s));
    out.errorLine = parser.errorLine();
    out.error = parser.errorMessage();
    return out;
}

std::vector<std::string> words(const Stmt& s) {
    std::vector<std::string> out{std::string(s.name)};
    for (size_t i = 0; i < s.words.size(); ++i)
        out.push_back(std::string(s.words.view(i)));
    return out;
}

Parsed parseBad(const std::string& text) {
    Parsed p = parse(text);
    EXPECT_NE(p.errorLine, 0) << text;
    return p;
}

}  // namespace

// The texts below keep their std::string alive for the whole test: statements view into them.

TEST(CommandParser, SplitsStatementsAndDropsEmptyOnes) {
    std::string text = "createNode particle -n p ;; setAttr p.x 1\t2\n;  ;";
    Parsed s = parse(text);
    ASSERT_EQ(s.statements.size(), 2u) << s.error;
    EXPECT_EQ(words(*s.statements[0]), (std::vector<std::string>{"createNode", "particle", "-n", "p"}));
    EXPECT_EQ(words(*s.statements[1]), (std::vector<std::string>{"setAttr", "p.x", "1", "2"}));
    EXPECT_EQ(s.statements[0]->text, "createNode particle -n p");
    EXPECT_EQ(s.statements[1]->text, "setAttr p.x 1\t2");
    std::string empty = "  \n ; // only a comment\n/* and\n another */";
    EXPECT_TRUE(parse(empty).statements.empty());
}

TEST(CommandParser, QuotedStringsKeepSeparatorsAndDecodeEscapes) {
    std::string text = "print \"a; b // c /* d */\" \"q\\\"uote\" \"back\\\\slash\" \"line\\nend\\t!\" \"\"";
    Parsed s = parse(text);
    ASSERT_EQ(s.statements.size(), 1u) << s.error;
    const Stmt& st = *s.statements[0];
    ASSERT_EQ(st.words.size(), 5u);
    EXPECT_EQ(st.words.view(0), "a; b // c /* d */");
    EXPECT_EQ(st.words.view(1), "q\"uote");
    EXPECT_EQ(st.words.view(2), "back\\slash");
    EXPECT_EQ(st.words.view(3), "line\nend\t!");
    EXPECT_EQ(st.words.view(4), "");
    EXPECT_TRUE(st.words.quoted(0));
    EXPECT_FALSE(parse("a b").statements.empty());
}

TEST(CommandParser, CommentsEndWordsAndCountLines) {
    std::string text = "a 1// tail; not a statement\n;/* block\n\n */ b 2/*x*/c;\nd";
    Parsed s = parse(text);
    ASSERT_EQ(s.statements.size(), 3u) << s.error;
    EXPECT_EQ(words(*s.statements[0]), (std::vector<std::string>{"a", "1"}));
    EXPECT_EQ(words(*s.statements[1]), (std::vector<std::string>{"b", "2", "c"}));
    EXPECT_EQ(s.statements[0]->text, "a 1");
    EXPECT_EQ(s.statements[0]->line, 1);
    EXPECT_EQ(s.statements[1]->line, 4);
    EXPECT_EQ(s.statements[2]->line, 5);
}

TEST(CommandParser, StatementLineIsThatOfItsFirstWord) {
    std::string text = "\n\n  first\n  arg;\nx \"multi\nline\"; last";
    Parsed s = parse(text, 10);
    ASSERT_EQ(s.statements.size(), 3u) << s.error;
    EXPECT_EQ(s.statements[0]->line, 12);
    EXPECT_EQ(s.statements[1]->line, 14);
    EXPECT_EQ(s.statements[2]->line, 15);
}

TEST(CommandParser, ArgumentsMixWordsAndExpressions) {
    std::string text = "print `getAttr \"a.b\"` x; setAttr ($n + \".a\") ($x + 1) -p -1.5 $v[2];";
    Parsed s = parse(text);
    ASSERT_EQ(s.statements.size(), 2u) << s.error;
    const Stmt& print = *s.statements[0];
    ASSERT_EQ(print.computed.size(), 1u);
    EXPECT_EQ(print.computed[0].first, 0u);
    EXPECT_EQ(print.computed[0].second->kind, Expr::Backquote);
    ASSERT_EQ(print.computed[0].second->body.size(), 1u);
    EXPECT_EQ(print.computed[0].second->body[0]->name, "getAttr");
    EXPECT_EQ(words(print), (std::vector<std::string>{"print", "x"}));
    // Words keep their places among the expressions.
    const Stmt& set = *s.statements[1];
    EXPECT_EQ(words(set), (std::vector<std::string>{"setAttr", "-p", "-1.5"}));
    ASSERT_EQ(set.computed.size(), 3u);
    EXPECT_EQ(set.computed[1].first, 0u);
    EXPECT_EQ(set.computed[2].first, 2u);
}

TEST(CommandParser, LanguageStatementsAndPrecedence) {
    std::string text =
        "int $i = 1 + 2 * 3, $j[];\n"
        "global proc float twice(float $a) { return $a * 2; }\n"
        "for ($k in $list) print $k;\n"
        "for ($i = 0; $i < 3; $i++) { if ($i == 1) continue; else break; }\n"
        "do $i--; while ($i > 0);\n"
        "$v = <<1, 2, 3>> ^ <<0, 0, 1>>;\n"
        "$b = !$a || $c && $d ? 1 : 2;";
    Parsed s = parse(text);
    ASSERT_EQ(s.statements.size(), 7u) << s.error << " line " << s.errorLine;
    const Stmt& decl = *s.statements[0];
    EXPECT_EQ(decl.kind, Stmt::Decl);
    ASSERT_EQ(decl.declared.size(), 2u);
    EXPECT_TRUE(decl.declared[1].array);
    const Expr& sum = *decl.declared[0].init;
    EXPECT_EQ(sum.op, '+');
    EXPECT_EQ(sum.kids[1]->op, '*');
    const Stmt& proc = *s.statements[1];
    ASSERT_EQ(proc.kind, Stmt::Proc);
    EXPECT_TRUE(proc.proc->global);
    EXPECT_TRUE(proc.proc->returns);
    EXPECT_EQ(proc.proc->name, "twice");
    EXPECT_EQ(s.statements[2]->kind, Stmt::ForIn);
    EXPECT_EQ(s.statements[3]->kind, Stmt::For);
    EXPECT_EQ(s.statements[4]->kind, Stmt::DoWhile);
    EXPECT_EQ(s.statements[5]->expr->kids[1]->op, '^');
    const Expr& ternary = *s.statements[6]->expr->kids[1];
    EXPECT_EQ(ternary.kind, Expr::Ternary);
    EXPECT_EQ(ternary.kids[0]->op, Expr::Or);
    EXPECT_EQ(ternary.kids[0]->kids[1]->op, Expr::And);
}

TEST(CommandParser, BadInputNamesTheLine) {
    EXPECT_EQ(parseBad("ok;\nprint \"never closed\n\n").errorLine, 2);
    EXPECT_EQ(parseBad("a;\n\n/* open\n comment").errorLine, 3);
    Parsed escape = parseBad("print \"bad \\q escape\"");
    EXPECT_EQ(escape.errorLine, 1);
    EXPECT_NE(escape.error.find("\\q"), std::string::npos);
    EXPECT_NE(parseBad("print ab\"cd\"").error.find("unexpected"), std::string::npos);
    EXPECT_NE(parseBad("print \"ab\"cd").error.find("after a closing quote"), std::string::npos);
    EXPECT_EQ(parseBad("x;\nprint `getAttr a.b").errorLine, 2);
    parseBad("print \"ends in a backslash\\");
    EXPECT_EQ(parseBad("if ($a) {\n print 1;\n").errorLine, 1);
    EXPECT_EQ(parseBad("int $a = ;").errorLine, 1);
    EXPECT_EQ(parseBad("\n$a = (1 + 2;").errorLine, 2);
    parseBad("proc f( { }");
    parseBad("for ($i = 0; $i < 3) print 1;");
    parseBad("$a = <<1, 2>>;");
    parseBad("3 = $a;");
    parseBad("else print 1;");
    parseBad("$a = 12abc;");
    // A variable followed by text is a mistake for ($n + ".a"), not two words.
    EXPECT_NE(parseBad("setAttr $n.tx 1;").error.find("($n + \".tx\")"), std::string::npos);
}

// Nesting beyond the parser's bound is an error, never a stack overflow.
TEST(CommandParser, DeepNestingIsAnError) {
    for (const char* open : {"(", "{", "-", "!", "if (1) ", "$a = "}) {
        std::string text;
        for (int i = 0; i < 100000; ++i)
            text += open;
        Parsed p = parseBad(text + "1");
        EXPECT_NE(p.error.find("nested too deeply"), std::string::npos) << open << ": " << p.error;
    }
    std::string fine;
    for (int i = 0; i < 50; ++i)
        fine += "(";
    fine += "1";
    for (int i = 0; i < 50; ++i)
        fine += ")";
    EXPECT_EQ(parse(fine + ";").errorLine, 0);
}
