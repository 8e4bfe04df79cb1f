// The command language as scene scripts use it: variables, expressions, control flow, procedures, catch,
// print, source, and the bounds that keep a script from hanging or exhausting the host.
#include "command_fixture.h"

#include <cstdio>
#include <fstream>
#include <unistd.h>

using cmdtest::CommandTest;

namespace {

class LanguageTest : public CommandTest {
protected:
    // Runs text that must succeed and returns what it printed.
    std::string printed(const std::string& text) {
        MStatus status = run(text);
        EXPECT_TRUE(status) << text << " -> " << lastError;
        return out;
    }
    void TearDown() override {
        host::setScriptLimits(host::ScriptLimits());
        CommandTest::TearDown();
    }
};

class TempFile {
public:
    explicit TempFile(const std::string& text) {
        char name[] = "/tmp/language_test_XXXXXX";
        int fd = ::mkstemp(name);
        if (fd >= 0)
            ::close(fd);
        path_ = name;
        std::ofstream(path_) << text;
    }
    ~TempFile() { std::remove(path_.c_str()); }
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

}  // namespace

TEST_F(LanguageTest, DeclarationsConvertToTheirType) {
    EXPECT_EQ(printed("int $i = 7.9; float $f = 3; string $s = 2.5; vector $v = <<1, 2.5, -3>>; "
                      "print ($i + \" \" + $f + \" \" + $s + \" \" + $v);"),
              "7 3 2.5 1 2.5 -3");
    // Implicit typing from the first assignment, and an int stays an int.
    EXPECT_EQ(printed("$n = 5; $n = $n / 2; $x = 5.0; $x = $x / 2; print ($n + \",\" + $x);"), "2,2.5");
    EXPECT_EQ(printed("string $s = \"12abc\"; int $i = $s; float $f = \"x\"; print ($i + \" \" + $f);"), "12 0");
    EXPECT_EQ(printed("int $a[] = {1, 2, 3}; float $b[] = $a; string $c[3]; print (size($b) + size($c));"), "6");
    fails("int $i = 1; string $i = \"a\";", {"$i is already declared as int"});
    fails("int $a[] = 5;", {"Cannot assign a int to $a"});
    fails("print $nothing;", {"\"$nothing\" is an undeclared variable."});
}

TEST_F(LanguageTest, OperatorsFollowMelTypes) {
    EXPECT_EQ(printed("print (7 / 2 + 7 % 3 * 10 - -1);"), "14");
    EXPECT_EQ(printed("print (7 / 2.0);"), "3.5");
    EXPECT_EQ(printed("print (1.0 / 3);"), "0.3333333333");
    EXPECT_EQ(printed("print (\"a\" + 1 + 2);"), "a12");
    EXPECT_EQ(printed("print (1 + 2 + \"a\");"), "3a");
    EXPECT_EQ(printed("print (<<1, 0, 0>> ^ <<0, 1, 0>>);"), "0 0 1");
    EXPECT_EQ(printed("print (<<1, 2, 3>> * <<1, 1, 1>>);"), "6");
    EXPECT_EQ(printed("vector $v = <<1, 2, 3>> * 2; print ($v.y + $v.z);"), "10");
    EXPECT_EQ(printed("print ((2 < 3) + (3 <= 3) + (\"b\" > \"a\") + (1 == 1.0) + (\"1\" != \"1\"));"), "4");
    EXPECT_EQ(printed("print ((0 && $undeclared) + (1 || $undeclared));"), "1") << "&& and || stop early";
    EXPECT_EQ(printed("print (1 > 2 ? \"yes\" : \"no\");"), "no");
    EXPECT_EQ(printed("print (2147483647 + 1);"), "-2147483648") << "ints wrap as 32-bit";
    EXPECT_EQ(printed("$i = 1; $j = $i++; $k = ++$i; $i += 10; $i -= 1; $i *= 2; $i /= 4; "
                      "print ($i + \" \" + $j + \" \" + $k);"),
              "6 1 3");
    fails("print (1 / 0);", {"Division by zero."});
    fails("print (1 % 0);", {"Division by zero."});
    fails("print (\"a\" - 1);", {"Cannot use '-' with a string."});
    fails("int $a[]; print ($a + 1);", {"Cannot use an array"});
}

TEST_F(LanguageTest, PrintWritesValuesAsMelDoes) {
    EXPECT_EQ(printed("float $f[] = {1.5, 2, 0.1}; print $f;"), "1.5\n2\n0.1\n");
    EXPECT_EQ(printed("print <<0.5, -1, 1e20>>;"), "0.5 -1 1e+20");
    EXPECT_EQ(printed("string $s[]; print $s; print 3;"), "3");
    EXPECT_EQ(printed("print(\"fn\\n\");"), "fn\n");
}

TEST_F(LanguageTest, ArraysGrowAndReadPastTheirEnd) {
    EXPECT_EQ(printed("int $a[]; $a[3] = 7; print (size($a) + \" \" + $a[3] + \" \" + $a[0] + \" \" + $a[10]);"),
              "4 7 0 0");
    EXPECT_EQ(printed("$names[2] = \"c\"; print (size($names) + $names[2]);"), "3c")
        << "an element assigned to an undeclared variable makes an array";
    EXPECT_EQ(printed("string $s[] = {\"x\", \"y\"}; $s[size($s)] = \"z\"; for ($e in $s) print $e;"), "xyz");
    fails("int $a[]; $a[-1] = 1;", {"negative"});
    fails("int $a; print $a[0];", {"not an array"});
}

TEST_F(LanguageTest, ControlFlow) {
    EXPECT_EQ(printed("for ($i = 0; $i < 10; $i++) { if ($i == 2) continue; if ($i > 4) break; print $i; }"), "0134");
    EXPECT_EQ(printed("$i = 3; while ($i--) print $i;"), "210");
    EXPECT_EQ(printed("$i = 0; do { print $i; } while ($i > 0);"), "0");
    EXPECT_EQ(printed("int $x = 5; if ($x < 3) print \"a\"; else if ($x < 6) print \"b\"; else print \"c\";"), "b");
    EXPECT_EQ(printed("for ($i = 0, $j = 10; $i < $j; $i += 4, $j--) print ($i + \":\" + $j + \" \");"),
              "0:10 4:9 ");
    // A block's variables end with it.
    fails("{ int $inner = 1; } print $inner;", {"undeclared"});
    fails("break;", {"break is not inside a loop."});
}

TEST_F(LanguageTest, ProceduresTakeTypedArgumentsAndReturnValues) {
    EXPECT_EQ(printed("global proc float twice(float $a) { return $a * 2; }\n"
                      "proc string[] pair(string $a, int $n) { string $r[] = {$a, $n}; return $r; }\n"
                      "print (twice(1.25) + \" \"); print (pair(\"p\", 3)); print (`twice 4`);"),
              "2.5 p\n3\n8");
    // Recursion, and command syntax for a procedure.
    EXPECT_EQ(printed("proc int fact(int $n) { if ($n <= 1) return 1; return $n * fact($n - 1); }\n"
                      "proc show(string $s) { print (\"<\" + $s + \">\"); } show hello; show (fact(5));"),
              "<hello><120>");
    // A procedure sees its own variables and the globals it declares, not its caller's.
    EXPECT_EQ(printed("global int $counter = 10; proc bump() { global int $counter; $counter++; }\n"
                      "bump(); bump(); print $counter;"),
              "12");
    fails("proc peek() { print $outer; } int $outer = 1; peek();", {"\"$outer\" is an undeclared variable."});
    fails("proc two(int $a, int $b) {} two(1);", {"Wrong number of arguments on call to two."});
    fails("proc takes(int $a[]) {} takes(1);", {"Argument 1 of takes must be a int[]"});
    // A procedure is known from when its definition runs.
    fails("later(); proc later() {}", {"Cannot find procedure \"later\"."});
}

TEST_F(LanguageTest, CatchLetsTheScriptGoOn) {
    ok("createNode cmdTestNode -n a");
    EXPECT_EQ(printed("int $bad = catch(`setAttr a.num nonsense`); int $good = catch(`setAttr a.num 2`);\n"
                      "print ($bad + \" \" + $good + \" \" + `getAttr a.num`);"),
              "1 0 2");
    EXPECT_NE(err.find("// Error: setAttr:"), std::string::npos) << "the caught error is still shown";
    EXPECT_EQ(printed("proc boom() { setAttr a.missing 1; print \"not reached\"; }\n"
                      "if (catch(boom())) print \"caught\";"),
              "caught");
    EXPECT_EQ(printed("print (catchQuiet(`setAttr a.num nonsense`));"), "1");
    EXPECT_EQ(err, "") << "catchQuiet shows no error";
    // Uncaught, the failure stops the text.
    fails("setAttr a.num 3; setAttr a.missing 1; setAttr a.num 4;", {"missing"});
    EXPECT_EQ(getDouble("a.num"), 3.0);
}

TEST_F(LanguageTest, CommandsInEveryCallSyntax) {
    ok("createNode cmdTestNode -n a; setAttr a.vec 1 2 3");
    EXPECT_EQ(printed("float $v[] = `getAttr a.vec`; print (size($v) + \" \" + $v[2]);"), "3 3");
    EXPECT_EQ(printed("print (getAttr(\"a.vec\"));"), "1\n2\n3\n");
    // Flags in function syntax, values of variables and expressions in command syntax.
    ok("string $n = \"b\"; createNode(\"cmdTestNode\", \"-n\", $n); setAttr ($n + \".num\") (2 * 3.5);");
    EXPECT_EQ(getDouble("b.num"), 7.0);
    ok("float $p[] = {4, 5, 6}; setAttr a.vec $p;");
    EXPECT_EQ(getDoubles("a.vec"), (std::vector<double>{4, 5, 6}));
    ok("vector $v = <<0.1, 1e-7, 123456.789>>; setAttr a.vec $v;");
    EXPECT_EQ(getDoubles("a.vec"), (std::vector<double>{0.1, 1e-7, 123456.789})) << "numbers reach commands exactly";
    // The last statement's value is the text's result.
    ok("$x = 2; $x * 21");
    int answer = 0;
    EXPECT_TRUE(result.getResult(answer));
    EXPECT_EQ(answer, 42);
    EXPECT_EQ(printed("print (eval(\"getAttr b.num\") + 1);"), "8");
}

TEST_F(LanguageTest, ScriptErrorsNameTheFileAndLineOfTheFailingStatement) {
    TempFile library("global proc fails() {\n  int $x = 1;\n  setAttr nowhere.num 1;\n}\n");
    TempFile main("int $i = 0;\nsource \"" + library.path() + "\";\nfor ($i = 0; $i < 2; $i++) {\n  fails();\n}\n");
    host::OutputCapture capture;
    EXPECT_EQ(host::runScript(main.path()), MStatus::kFailure);
    EXPECT_NE(capture.err().find(library.path() + ":3: setAttr:"), std::string::npos) << capture.err();
    // Sourced procedures stay defined; a sourced local procedure does not leave its file.
    TempFile local("proc hidden() {}\nglobal proc shown() { hidden(); }\n");
    ok("source \"" + local.path() + "\"; shown();");
    fails("hidden();", {"Cannot find procedure \"hidden\"."});
}

TEST_F(LanguageTest, BoundsStopRunawayScripts) {
    host::ScriptLimits limits;
    limits.loopIterations = 10000;
    limits.callDepth = 50;
    limits.variableBytes = 1 << 20;
    host::setScriptLimits(limits);
    fails("while (1) { }", {"stopped after 10000 loop iterations"});
    fails("for (;;) ;", {"stopped after 10000 loop iterations"});
    fails("proc deep(int $n) { deep($n + 1); } deep(0);", {"nested more than 50 deep"});
    // Recursion that branches is bounded like a loop: it would make 2^40 calls.
    fails("proc twice(int $n) { if ($n > 0) { twice($n - 1); twice($n - 1); } } twice(40);",
          {"stopped after 10000 loop iterations and procedure calls"});
    fails("int $a[]; $a[100000000] = 1;", {"more than 1 MB"});
    fails("string $s = \"xxxxxxxxxxxxxxxx\"; while (1) $s = $s + $s;", {"than 1 MB"});
    fails("string $parts[]; string $s = \"xxxxxxxxxxxxxxxxxxxxxxxxxxxxxx\"; "
          "for ($i = 0; $i < 9000; $i++) $parts[$i] = $s + $s + $s + $s;",
          {"more than 1 MB"});
    // Without a call bound, the stack bound still stops deep recursion.
    limits.callDepth = 1000000;
    limits.loopIterations = 100000000;
    host::setScriptLimits(limits);
    fails("proc deeper(int $n) { deeper($n + 1); } deeper(0);", {"nested too deeply"});
    // A script that sources itself, and evaluation within evaluation, stop at a depth.
    TempFile self("");
    std::ofstream(self.path()) << "source \"" << self.path() << "\";\n";
    fails("source \"" + self.path() + "\";", {"more than 64 deep"});
    fails("global proc again() { eval(\"again()\"); } again();", {"more than 64 deep"});
    // The host is fine afterwards.
    EXPECT_EQ(printed("print \"still here\";"), "still here");
}

TEST_F(LanguageTest, ScopesAcrossRunsAndNames) {
    // Globals outlive a run; a run's own variables do not.
    ok("global string $shared = \"kept\"; int $mine = 1;");
    EXPECT_EQ(printed("global string $shared; print $shared;"), "kept");
    fails("print $mine;", {"undeclared"});
    fails("global int $shared;", {"The global $shared is already declared as string."});
    // Declaring again with the same type starts the variable afresh.
    EXPECT_EQ(printed("int $a[] = {1, 2}; int $a[]; print (size($a));"), "0");
    // A file's own procedure hides a global one of the same name there only.
    EXPECT_EQ(printed("global proc string who() { return \"global\"; } proc string who() { return \"local\"; }\n"
                      "print (who());"),
              "local");
    EXPECT_EQ(printed("print (who());"), "global");
    EXPECT_EQ(printed("print (exists(\"who\") + exists(\"setAttr\") + exists(\"size\") + exists(\"nothingAtAll\"));"),
              "3");
}

TEST_F(LanguageTest, LoopsNestAndProceduresConvertWhatTheyTakeAndGive) {
    // break leaves the inner loop only.
    EXPECT_EQ(printed("for ($i = 0; $i < 3; $i++) for ($j = 0; $j < 3; $j++) { if ($j > $i) break; "
                      "print ($i + \"\" + $j + \" \"); }"),
              "00 10 11 20 21 22 ");
    // Words in command syntax become the parameters' types; a returned array can be walked.
    EXPECT_EQ(printed("proc float[] steps(int $n, float $size) { float $r[]; for ($k = 0; $k < $n; $k++) "
                      "$r[$k] = $k * $size; return $r; }\n"
                      "for ($s in steps(3, 0.5)) print ($s + \";\"); steps 2 3;"),
              "0;0.5;1;");
    EXPECT_EQ(printed("proc int half() { return \"12\"; } print (half() + 1);"), "13") << "a string returned as int";
    fails("proc int[] list() { return 3; } list();", {"list must return a int[], not a int."});
    // Commands' arrays walked directly, the loop variable declared by the loop.
    ok("createNode cmdTestNode -n a; setAttr a.vec 1 2 3");
    EXPECT_EQ(printed("for ($c in `getAttr a.vec`) print ($c * 2);"), "246");
    // Vectors: components, operators and what they refuse.
    EXPECT_EQ(printed("vector $v = <<1, 2, 3>>; vector $w = $v - <<1, 1, 1>>; print ($w.x + $w.y + $w.z + mag(<<3, 4, 0>>));"),
              "8");
    fails("print (<<1, 0, 0>> ^ 2);", {"'^' (cross product) needs two vectors."});
    fails("print (<<1, 0, 0>> < <<0, 1, 0>>);", {"Cannot compare vectors"});
    fails("float $f = 1; print $f.x;", {"Only a vector has .x"});
}
