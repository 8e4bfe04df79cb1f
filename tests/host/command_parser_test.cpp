#include "command/Parser.h"

#include <gtest/gtest.h>

using host::ParseError;
using host::Statement;
using host::Token;

namespace {

std::vector<Statement> parseOk(const std::string& text) {
    ParseError error;
    std::vector<Statement> out = host::parseCommands(text, error);
    EXPECT_EQ(error.line, 0) << error.message;
    return out;
}

ParseError parseBad(const std::string& text) {
    ParseError error;
    std::vector<Statement> out = host::parseCommands(text, error);
    EXPECT_NE(error.line, 0) << text;
    EXPECT_TRUE(out.empty());
    return error;
}

std::vector<std::string> words(const Statement& s) {
    std::vector<std::string> out;
    for (const Token& t : s.tokens)
        out.push_back(t.text);
    return out;
}

}  // namespace

TEST(CommandParser, SplitsStatementsAndDropsEmptyOnes) {
    auto s = parseOk("createNode particle -n p ;; setAttr p.x 1\t2\n;  ;");
    ASSERT_EQ(s.size(), 2u);
    EXPECT_EQ(words(s[0]), (std::vector<std::string>{"createNode", "particle", "-n", "p"}));
    EXPECT_EQ(words(s[1]), (std::vector<std::string>{"setAttr", "p.x", "1", "2"}));
    EXPECT_EQ(s[0].text, "createNode particle -n p");
    EXPECT_EQ(s[1].text, "setAttr p.x 1\t2");
    EXPECT_TRUE(parseOk("  \n ; // only a comment\n/* and\n another */").empty());
}

TEST(CommandParser, QuotedStringsKeepSeparatorsAndDecodeEscapes) {
    auto s = parseOk("print \"a; b // c /* d */\" \"q\\\"uote\" \"back\\\\slash\" \"line\\nend\\t!\" \"\"");
    ASSERT_EQ(s.size(), 1u);
    ASSERT_EQ(s[0].tokens.size(), 6u);
    EXPECT_EQ(s[0].tokens[1].text, "a; b // c /* d */");
    EXPECT_EQ(s[0].tokens[2].text, "q\"uote");
    EXPECT_EQ(s[0].tokens[3].text, "back\\slash");
    EXPECT_EQ(s[0].tokens[4].text, "line\nend\t!");
    EXPECT_EQ(s[0].tokens[5].text, "");
    EXPECT_EQ(s[0].tokens[1].kind, Token::Quoted);
    EXPECT_EQ(s[0].tokens[0].kind, Token::Word);
}

TEST(CommandParser, CommentsEndWordsAndCountLines) {
    auto s = parseOk("a 1// tail; not a statement\n;/* block\n\n */ b 2/*x*/c;\nd");
    ASSERT_EQ(s.size(), 3u);
    EXPECT_EQ(words(s[0]), (std::vector<std::string>{"a", "1"}));
    EXPECT_EQ(words(s[1]), (std::vector<std::string>{"b", "2", "c"}));
    EXPECT_EQ(s[0].line, 1);
    EXPECT_EQ(s[1].line, 4);
    EXPECT_EQ(s[2].line, 5);
}

TEST(CommandParser, StatementLineIsThatOfItsFirstWord) {
    ParseError error;
    auto s = host::parseCommands("\n\n  first\n  arg;\n\"multi\nline\" x; last", error, 10);
    ASSERT_EQ(s.size(), 3u);
    EXPECT_EQ(s[0].line, 12);
    EXPECT_EQ(s[1].line, 14);
    EXPECT_EQ(s[2].line, 15);
    EXPECT_EQ(s[0].tokens[1].line, 13);
}

TEST(CommandParser, BackQuotedCommandIsOneNestedWord) {
    auto s = parseOk("print `getAttr \"a.b\"` x");
    ASSERT_EQ(s.size(), 1u);
    ASSERT_EQ(s[0].tokens.size(), 3u);
    EXPECT_EQ(s[0].tokens[1].kind, Token::Nested);
    EXPECT_EQ(s[0].tokens[1].text, "getAttr \"a.b\"");
}

TEST(CommandParser, BadInputNamesTheLine) {
    EXPECT_EQ(parseBad("ok;\nprint \"never closed\n\n").line, 2);
    EXPECT_EQ(parseBad("a;\n\n/* open\n comment").line, 3);
    ParseError escape = parseBad("print \"bad \\q escape\"");
    EXPECT_EQ(escape.line, 1);
    EXPECT_NE(escape.message.find("\\q"), std::string::npos);
    EXPECT_NE(parseBad("print ab\"cd\"").message.find("unexpected"), std::string::npos);
    EXPECT_NE(parseBad("print \"ab\"cd").message.find("after a closing quote"), std::string::npos);
    EXPECT_EQ(parseBad("x;\nprint `getAttr a.b").line, 2);
    parseBad("print \"ends in a backslash\\");
}
