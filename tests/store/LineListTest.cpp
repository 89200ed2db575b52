#include <gtest/gtest.h>

#include "store/LineList.h"

namespace vaultrix {
namespace {

using Lines = std::vector<std::string>;

TEST(LineListParse, EmulatesTheTextModeLineLoop) {
    EXPECT_EQ(LineList::parse("").lines(), Lines{});
    EXPECT_EQ(LineList::parse("A\r\nB").lines(), (Lines{"A", "B", ""}));
    EXPECT_EQ(LineList::parse("A\r\nB\r\n").lines(), (Lines{"A", "B", ""}));
    EXPECT_EQ(LineList::parse("A\nB\n").lines(), (Lines{"A", "B", ""}));
    EXPECT_EQ(LineList::parse("\r\nA").lines(), (Lines{"A", ""}));
    EXPECT_EQ(LineList::parse("\r\n\r\nA").lines(), (Lines{"", "A", ""}));
    EXPECT_EQ(LineList::parse("\r\n").lines(), (Lines{""}));
    EXPECT_EQ(LineList::parse("A\rB\r\r\n").lines(), (Lines{"A\rB\r", ""}));
}

TEST(LineListParse, KeepsLongLinesWhole) {
    const std::string longLine = "von_0=" + std::string(1000, 'x');
    EXPECT_EQ(LineList::parse(longLine + "\r\nB").lines(), (Lines{longLine, "B", ""}));
}

TEST(LineListJoined, UsesCrLfWithoutFinalLineEnd) {
    EXPECT_EQ(LineList().joined(), "");
    EXPECT_EQ(LineList(Lines{"A", "B"}).joined(), "A\r\nB");
    EXPECT_EQ(LineList(Lines{"A", "B", ""}).joined(), "A\r\nB\r\n");
}

TEST(LineList, KeyPrefixAndValue) {
    EXPECT_EQ(keyPrefix("x=a=b"), "x=");
    EXPECT_EQ(keyPrefix("[A]"), "[A]");
    EXPECT_EQ(keyPrefix(""), "");
    const LineList list(Lines{"a=b=c", "plain"});
    EXPECT_EQ(list.valueAt(1), "b=c");
    EXPECT_EQ(list.valueAt(2), "");
    EXPECT_EQ(list.valueAt(3), "");
}

TEST(LineList, FindKeyStaysInsideItsSection) {
    const LineList list(Lines{"[A]", "name_10=x", "Name=y", "", "[B]", "name_1=z"});
    EXPECT_EQ(list.findKey("name_1=", 2), 0);
    EXPECT_EQ(list.findKey("name=", 2), 0);
    EXPECT_EQ(list.findKey("Name=", 2), 3);
    EXPECT_EQ(list.findKey("", 2), 4);
    EXPECT_EQ(list.findKey("name_1=", 6), 6);
}

TEST(LineList, PositionsOutsideTheListChangeNothing) {
    LineList list(Lines{"a", "b"});
    list.setLine(0, "x");
    list.setLine(3, "x");
    list.removeAt(5);
    EXPECT_EQ(list.lineAt(0), "");
    EXPECT_EQ(list.lineAt(3), "");
    list.insertAfter(0, "first");
    list.insertAfter(3, "last");
    EXPECT_EQ(list.lines(), (Lines{"first", "a", "b", "last"}));
    EXPECT_EQ(list.findLine("b"), 3);
    EXPECT_EQ(list.findLine("c"), 0);
}

}  // namespace
}  // namespace vaultrix
