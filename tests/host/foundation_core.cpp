#include <maya/MDGContext.h>
#include <maya/MStatus.h>
#include <maya/MString.h>
#include <maya/MTypeId.h>

#include <gtest/gtest.h>

#include <iostream>
#include <sstream>

namespace {

// Captures what is written to std::cerr while alive.
class CerrCapture {
public:
    CerrCapture() : old_(std::cerr.rdbuf(buffer_.rdbuf())) {}
    ~CerrCapture() { std::cerr.rdbuf(old_); }
    std::string text() const { return buffer_.str(); }

private:
    std::ostringstream buffer_;
    std::streambuf* old_;
};

TEST(FoundationStatus, CodesHaveTheirTexts) {
    const std::pair<MStatus::MStatusCode, const char*> expected[] = {
        {MS::kSuccess, "Success"},
        {MS::kFailure, "Failure"},
        {MS::kInsufficientMemory, "Insufficient memory"},
        {MS::kInvalidParameter, "Invalid parameter"},
        {MS::kLicenseFailure, "License failure"},
        {MS::kUnknownParameter, "Unknown parameter"},
        {MS::kNotImplemented, "Not implemented"},
        {MS::kNotFound, "Not found"},
        {MS::kEndOfFile, "End of file"},
    };
    for (const auto& [code, text] : expected) {
        const MStatus status(code);
        EXPECT_EQ(status.errorString(), text);
        std::ostringstream os;
        os << status;
        EXPECT_EQ(os.str(), text);
    }
    EXPECT_EQ(MStatus(static_cast<MStatus::MStatusCode>(9)).errorString(), "Unknown status");
}

TEST(FoundationStatus, FixedValuesAndTruth) {
    EXPECT_EQ(MS::kSuccess, 0);
    EXPECT_EQ(MS::kFailure, 1);
    EXPECT_EQ(MS::kInvalidParameter, 3);
    EXPECT_EQ(MS::kUnknownParameter, 5);
    EXPECT_TRUE(static_cast<bool>(MStatus()));
    EXPECT_FALSE(static_cast<bool>(MStatus(MS::kNotFound)));
    EXPECT_TRUE(MStatus(MS::kFailure) == MS::kFailure);
    EXPECT_TRUE(MStatus(MS::kFailure) != MS::kUnknownParameter);
}

TEST(FoundationStatus, PerrorWritesOneLineWithTextAndErrorString) {
    CerrCapture capture;
    MStatus(MS::kInvalidParameter).perror("registerNode");
    MStatus(MS::kFailure).perror(MString("deregisterNode"));
    MStatus(MS::kNotFound).perror(static_cast<const char*>(nullptr));
    EXPECT_EQ(capture.text(), "registerNode: Invalid parameter\nderegisterNode: Failure\n: Not found\n");
}

TEST(FoundationString, NumbersUseShortestText) {
    EXPECT_EQ(MString("i=") + 1.5, "i=1.5");
    EXPECT_EQ(MString("") + 2.0, "2");
    EXPECT_EQ(MString("") + 0.1, "0.1");
    EXPECT_EQ(MString("") + -0.25, "-0.25");
    EXPECT_EQ(MString("") + 1e20, "1e+20");
    EXPECT_EQ(MString("") + -7, "-7");
    EXPECT_EQ(MString("") + 4000000000u, "4000000000");
    MString s("x");
    s += 3.0;
    s += 4;
    s += 5u;
    EXPECT_EQ(s, "x345");
    // The text reads back as the same double.
    const double third = 1.0 / 3.0;
    EXPECT_EQ((MString("") + third).asDouble(), third);
}

TEST(FoundationString, ParsesWholeStringWithBlanksAround) {
    EXPECT_TRUE(MString(" 12 ").isInt());
    EXPECT_EQ(MString("\t-12\n").asInt(), -12);
    EXPECT_EQ(MString("+5").asInt(), 5);
    EXPECT_TRUE(MString(" 2.5e1 ").isDouble());
    EXPECT_EQ(MString(" 2.5e1 ").asDouble(), 25.0);
    EXPECT_EQ(MString(".5").asDouble(), 0.5);

    for (const char* text : {"", "   ", "12abc", "1 2", "abc", "nan", "inf", "0x10", "1e999", "-"}) {
        EXPECT_FALSE(MString(text).isDouble()) << text;
        EXPECT_FALSE(MString(text).isInt()) << text;
        EXPECT_EQ(MString(text).asDouble(), 0.0) << text;
        EXPECT_EQ(MString(text).asInt(), 0) << text;
    }
    EXPECT_TRUE(MString("3.7").isDouble());
    EXPECT_FALSE(MString("3.7").isInt());
    EXPECT_EQ(MString("3.7").asInt(), 0);
    EXPECT_FALSE(MString("2147483648").isInt());
    EXPECT_TRUE(MString("2147483647").isInt());
}

TEST(FoundationString, ComparisonsAreExactAndCaseSensitive) {
    EXPECT_TRUE(MString("-p") == "-p");
    EXPECT_TRUE(MString("-P") != "-p");
    EXPECT_FALSE(MString("4.5 ") == "4.5");
    EXPECT_TRUE(MString("") == static_cast<const char*>(nullptr));
    EXPECT_EQ("node." + MString("outColor"), MString("node.outColor"));
    EXPECT_EQ(MString("ab", 1), "a");
    std::ostringstream os;
    os << MString("text");
    EXPECT_EQ(os.str(), "text");
}

TEST(FoundationTypeId, PrintsLowerCaseHexAndLeavesStreamAlone) {
    std::ostringstream os;
    os << MTypeId(0x1059C1) << ' ' << 10;
    EXPECT_EQ(os.str(), "0x1059c1 10");
    EXPECT_TRUE(MDGContext::fsNormal.isNormal());
}

}  // namespace
