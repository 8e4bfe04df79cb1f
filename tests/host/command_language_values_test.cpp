// The language's values and the compact argument list commands read: conversions as MEL makes them,
// number texts, and words kept as views of the script or as copies.
#include "command/Args.h"
#include "script/Value.h"

#include "command_fixture.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <unistd.h>

using host::Arg;
using host::Args;
using host::mel::Value;
using host::mel::Vec3;

TEST(LanguageValues, ScalarConversions) {
    EXPECT_EQ(host::mel::toInt(Value::ofFloat(-2.9)), -2) << "toward zero";
    EXPECT_EQ(host::mel::toInt(Value::ofFloat(1e30)), 2147483647) << "clamped, never undefined";
    EXPECT_EQ(host::mel::toInt(Value::ofString("  42abc")), 42);
    EXPECT_EQ(host::mel::toInt(Value::ofString("inf")), 0) << "only decimal text reads as a number";
    EXPECT_EQ(host::mel::toFloat(Value::ofString("-.5e1x")), -5.0);
    EXPECT_EQ(host::mel::toFloat(Value::ofVector(Vec3{3, 4, 0})), 5.0) << "a vector reads as its length";
    Vec3 v = host::mel::toVector(Value::ofString("1 2.5 -3 junk"));
    EXPECT_EQ(v.x, 1.0);
    EXPECT_EQ(v.y, 2.5);
    EXPECT_EQ(v.z, -3.0);
    EXPECT_EQ(host::mel::toVector(Value::ofInt(2)).z, 2.0);
    EXPECT_EQ(host::mel::toString(Value::ofFloat(0.1 + 0.2)), "0.3");
    EXPECT_EQ(host::mel::toString(Value::ofFloat(1.0 / 3.0)), "0.3333333333");
    EXPECT_EQ(host::mel::toString(Value::ofFloat(-0.0)), "-0");
    EXPECT_FALSE(host::mel::truth(Value::ofString("")));
    EXPECT_TRUE(host::mel::truth(Value::ofString("0"))) << "a non-empty string is true";
    EXPECT_FALSE(host::mel::truth(Value::ofVector(Vec3{})));
}

TEST(LanguageValues, ArraysConvertElementByElementButNotToScalars) {
    Value ints = Value::empty(Value::IntArray);
    ints.ia = {1, -2, 3};
    Value out;
    ASSERT_TRUE(host::mel::convert(ints, Value::StringArray, out));
    EXPECT_EQ(out.sa, (std::vector<std::string>{"1", "-2", "3"}));
    ASSERT_TRUE(host::mel::convert(ints, Value::VectorArray, out));
    EXPECT_EQ(out.va[1].y, -2.0);
    EXPECT_FALSE(host::mel::convert(ints, Value::Int, out));
    EXPECT_FALSE(host::mel::convert(Value::ofInt(1), Value::FloatArray, out));
    EXPECT_EQ(host::mel::printText(ints), "1\n-2\n3\n");
    // Copying a value after it held another type keeps nothing of the old one.
    Value reused = Value::ofString(std::string(1000, 'x'));
    reused = Value::ofInt(7);
    EXPECT_TRUE(reused.s.empty());
    EXPECT_EQ(reused.bytes(), 0u);
}

TEST(LanguageValues, CommandWordsOfNumbersReadBackExactly) {
    for (double d : {0.1, 1.0 / 3.0, -1e-300, 123456789.123456789, 2.0, 1e21}) {
        std::vector<std::string> words;
        host::mel::argumentWords(Value::ofFloat(d), words);
        ASSERT_EQ(words.size(), 1u);
        double back = 0.0;
        ASSERT_TRUE(host::parseDouble(words[0], back)) << words[0];
        EXPECT_EQ(back, d) << words[0];
    }
    std::vector<std::string> words;
    host::mel::argumentWords(Value::ofVector(Vec3{1, 0.5, -2}), words);
    EXPECT_EQ(words, (std::vector<std::string>{"1", "0.5", "-2"}));
}

TEST(CommandArgs, WordsAreViewsOrCopiesAndReadTheSame) {
    std::string script = "setAttr a.b -type \"string\" x";
    Args args(script);
    args.appendView(8, 3, false);   // a.b
    args.appendView(12, 5, false);  // -type
    ASSERT_TRUE(args.append("decoded \"text\"", true));
    ASSERT_EQ(args.size(), 3u);
    EXPECT_EQ(args[0].text, "a.b");
    EXPECT_EQ(args.view(0).data(), script.data() + 8) << "a literal word is not copied";
    EXPECT_TRUE(host::isFlag(args[1]));
    EXPECT_EQ(args[2].text, "decoded \"text\"");
    EXPECT_TRUE(args[2].quoted);
    // A range of words keeps the views; words of another base are copied.
    Args tail(args.begin() + 1, args.end());
    ASSERT_EQ(tail.size(), 2u);
    EXPECT_EQ(tail.view(0).data(), script.data() + 12);
    EXPECT_EQ(tail[1].text, "decoded \"text\"");
    Args other;
    other.appendWord(args, 0);
    EXPECT_NE(other.view(0).data(), script.data() + 8);
    EXPECT_EQ(other[0].text, "a.b");
    std::vector<std::string> texts;
    for (const Arg& a : args)
        texts.push_back(a.text);
    EXPECT_EQ(texts, (std::vector<std::string>{"a.b", "-type", "decoded \"text\""}));
}

TEST(CommandArgs, FlagsAndNegativeNumbers) {
    auto word = [](const char* text) { return Arg{text, false}; };
    for (const char* number : {"-1", "-0.5", "-.5", "-2.", "-1e3", "-1E-3"})
        EXPECT_FALSE(host::isFlag(word(number))) << number;
    for (const char* flag : {"-p", "-e5", "-1x", "-1.2.3", "-.", "--", "-1e999", "-inf"})
        EXPECT_TRUE(host::isFlag(word(flag))) << flag;
    EXPECT_FALSE(host::isFlag(Arg{"-p", true})) << "a quoted word is never a flag";
    double value = 0.0;
    EXPECT_TRUE(host::parseDouble("+2.5", value));
    EXPECT_EQ(value, 2.5);
    for (const char* bad : {"", " 1", "1 ", "0x10", "nan", "1e", "+-1", "1e400"})
        EXPECT_FALSE(host::parseDouble(bad, value)) << bad;
}

namespace {

using cmdtest::CommandTest;

}  // namespace

TEST_F(CommandTest, LanguageStatementsAreJournaledOncePerTopLevelStatement) {
    host::OutputCapture capture;
    ASSERT_TRUE(host::execute("for ($i = 0; $i < 3; $i++) createNode cmdTestNode;\nprint \"x\";"));
    EXPECT_EQ(host::journalCommands(),
              (std::vector<std::string>{"for ($i = 0; $i < 3; $i++) createNode cmdTestNode", "print \"x\""}));
    // A very long statement is journaled by its start.
    std::string longCommand = "print \"" + std::string(10000, 'y') + "\"";
    host::clearJournal();
    ASSERT_TRUE(host::execute(longCommand));
    ASSERT_EQ(host::journalCommands().size(), 1u);
    EXPECT_LT(host::journalCommands()[0].size(), 4100u);
}

TEST_F(CommandTest, ScriptStopsAtReturnAndReportsErrorsInsideStatementsAtTheirLine) {
    char name[] = "/tmp/language_lines_XXXXXX";
    int fd = ::mkstemp(name);
    ASSERT_GE(fd, 0);
    ::close(fd);
    std::ofstream(name) << "int $n = 2;\n"
                           "if ($n > 1) {\n"
                           "    print \"in\";\n"
                           "    createNode noSuchType;\n"
                           "}\n";
    {
        host::OutputCapture capture;
        EXPECT_EQ(host::runScript(name), MStatus::kFailure);
        EXPECT_NE(capture.err().find(std::string(name) + ":4: createNode: Unknown node type"), std::string::npos)
            << capture.err();
    }
    std::ofstream(name) << "print \"a\";\nreturn;\nprint \"b\";\n";
    {
        host::OutputCapture capture;
        EXPECT_TRUE(host::runScript(name));
        EXPECT_EQ(capture.out(), "a");
    }
    std::remove(name);
}
