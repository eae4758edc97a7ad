// Type-ahead of the browser's lists, with a clock the test moves by hand.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "browser/type_ahead.h"

namespace kv {
namespace {

class TypeAheadTest : public ::testing::Test {
protected:
    int Type(const std::string& character, int current) {
        return typeAhead.Type(character, static_cast<int>(rows.size()), RowText(), current);
    }
    int Backspace(int current) { return typeAhead.Backspace(static_cast<int>(rows.size()), RowText(), current); }
    TTypeAhead::RowText RowText() const {
        return [this](int row) { return rows.at(static_cast<size_t>(row)); };
    }

    std::vector<std::string> rows{"a1.bmp", "A2.gif", "ab.jpg", "b.bmp", "\xd0\xb6.gif", "\xd0\xb6z.gif"};
    uint32_t now = 0xFFFFFF00u;  // close to the wrap of the tick count
    TTypeAhead typeAhead{[this] { return now; }};
};

TEST_F(TypeAheadTest, TheSearchStartsAtTheCurrentRowIgnoresCaseAndGoesRoundTheEnd) {
    EXPECT_EQ(Type("a", 0), 0);  // a1 selected: typing "a" keeps it
    now += 600;
    EXPECT_EQ(Type("a", 1), 1);  // "A2" matches "a"
    now += 600;
    EXPECT_EQ(Type("A", 3), 0);  // from b.bmp on, round the end back to a1
    now += 600;
    EXPECT_EQ(Type("q", 2), -1);  // nothing matches: the selection stays
    EXPECT_EQ(typeAhead.Prefix(), "q");
}

TEST_F(TypeAheadTest, APauseOf500MsStartsANewPrefixAndBackspaceDropsTheLastCharacter) {
    EXPECT_EQ(Type("a", -1), 0);
    now += 499;  // the tick count wraps here; still one prefix
    EXPECT_EQ(Type("b", 0), 2);
    EXPECT_EQ(typeAhead.Prefix(), "ab");
    now += 100;
    EXPECT_EQ(Backspace(2), 2);  // "a" from ab.jpg on: ab.jpg stays
    EXPECT_EQ(typeAhead.Prefix(), "a");
    now += 100;
    EXPECT_EQ(Backspace(2), 0);  // the emptied prefix selects the first row
    EXPECT_EQ(typeAhead.Prefix(), "");

    EXPECT_EQ(Type("\xd0\xb6", 0), 4);  // a two-byte character
    now += 100;
    EXPECT_EQ(Type("z", 4), 5);
    now += 100;
    EXPECT_EQ(Backspace(5), 5);
    EXPECT_EQ(typeAhead.Prefix(), "\xd0\xb6");
    now += 100;
    EXPECT_EQ(Backspace(5), 0);  // the whole character goes, not one byte of it

    EXPECT_EQ(Type("a", 0), 0);
    now += 500;  // exactly 500 ms is a pause
    EXPECT_EQ(Type("b", 0), 3);
    EXPECT_EQ(typeAhead.Prefix(), "b");
    now += 500;
    EXPECT_EQ(Backspace(3), 0);  // after a pause there is nothing left to drop
    EXPECT_EQ(typeAhead.Backspace(0, RowText(), -1), -1);  // an empty list selects nothing
}

}  // namespace
}  // namespace kv
