// Joining and resolving paths, the wildcard rules and the name comparisons of the lists.
#include <gtest/gtest.h>

#include "browser/path_routines.h"
#include "browser/wildcard.h"
#include "temp_tree.h"

namespace kv::test {
namespace {

TEST(PathRoutines, JoinPathAddsOneDelimiter) {
    EXPECT_EQ(JoinPath("/", "a.jpg"), "/a.jpg");
    EXPECT_EQ(JoinPath("/home/pics", "a.jpg"), "/home/pics/a.jpg");
    EXPECT_EQ(JoinPath("/home/pics/", "a.jpg"), "/home/pics/a.jpg");
}

TEST(PathRoutines, ResolvePathSplitsFoldersFilesAndPatterns) {
    TempTree tree;
    tree.Folder("pics");
    tree.File("pics/a.jpg");

    ResolvedPath file = ResolvePath(tree.Path("pics/a.jpg"), "/");
    EXPECT_EQ(file.folder, tree.Path("pics"));
    EXPECT_EQ(file.finalPart, "a.jpg");

    ResolvedPath folder = ResolvePath("pics", tree.Root());
    EXPECT_EQ(folder.folder, tree.Path("pics"));
    EXPECT_EQ(folder.finalPart, "");

    ResolvedPath pattern = ResolvePath("pics/*.gif", tree.Root());
    EXPECT_EQ(pattern.folder, tree.Path("pics"));
    EXPECT_EQ(pattern.finalPart, "*.gif");

    ResolvedPath bracketed = ResolvePath("[pics]", tree.Root());
    EXPECT_EQ(bracketed.folder, tree.Path("pics"));

    ResolvedPath trailing = ResolvePath(tree.Path("pics") + "/", "/");
    EXPECT_EQ(trailing.folder, tree.Path("pics"));
    EXPECT_EQ(trailing.finalPart, "");

    // Wildcard characters are legal in names: an existing folder so named is no pattern.
    tree.Folder("pics*?");
    ResolvedPath starred = ResolvePath(tree.Path("pics*?"), "/");
    EXPECT_EQ(starred.folder, tree.Path("pics*?"));
    EXPECT_EQ(starred.finalPart, "");

    EXPECT_EQ(ResolvePath("/", "/x").folder, "/");
    EXPECT_EQ(ResolvePath("/*.jpg", "/x").folder, "/");
}

TEST(PathRoutines, ProgramFolderHoldsThisTest) {
    const std::string folder = platform::ProgramFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), '/');
    EXPECT_TRUE(platform::FileExists(folder + "test_browser"));
}

TEST(Wildcards, StarsQuestionMarksAndCase) {
    EXPECT_TRUE(MatchesWildcard("*.jpg", "SUNSET.JPG"));
    EXPECT_TRUE(MatchesWildcard("*.jpg", "a.b.jpg"));
    EXPECT_FALSE(MatchesWildcard("*.jpg", "a.jpg.txt"));
    EXPECT_FALSE(MatchesWildcard("*.jpg", "a.jpeg"));
    EXPECT_TRUE(MatchesWildcard("?.gif", "x.gif"));
    EXPECT_FALSE(MatchesWildcard("?.gif", "xy.gif"));
    EXPECT_TRUE(MatchesWildcard("*.*", "README"));
    EXPECT_TRUE(MatchesWildcard("*", "любой.файл"));
    EXPECT_TRUE(MatchesWildcard("*a*b*c", "xxaxxbxxbxc"));
    EXPECT_FALSE(MatchesWildcard("", "a"));
    // Many stars against a long name stay fast (one backtrack point).
    EXPECT_FALSE(MatchesWildcard("*a*a*a*a*a*a*b", std::string(5000, 'a')));
}

TEST(Wildcards, SplitMaskDropsEmptyParts) {
    EXPECT_EQ(SplitMask("*.jpg;*.bmp;*.gif"), (std::vector<std::string>{"*.jpg", "*.bmp", "*.gif"}));
    EXPECT_EQ(SplitMask("*.jpg;"), (std::vector<std::string>{"*.jpg"}));
    EXPECT_EQ(SplitMask(";;"), (std::vector<std::string>{}));
}

TEST(NameComparison, CaseRules) {
    EXPECT_LT(CompareNamesIgnoringCase("A.JPG", "b.gif"), 0);
    EXPECT_EQ(CompareNamesIgnoringCase("Art", "art"), 0);
    EXPECT_TRUE(SameName("/Pics", "/pics", false));
    EXPECT_FALSE(SameName("/Pics", "/pics", true));
}

}  // namespace
}  // namespace kv::test
