#pragma once
// The about box's own words: the credit, the terms line, the link and the address it opens, and
// the project's identity as the desktop sees it. Kept together so that a public home page, when
// the project has one, is changed in one place (the installed desktop files repeat the address).
namespace kv {

// A reserved example domain stands in until the project has a public page.
inline constexpr const char* kProjectAddress = "https://kvadriko.example.org/";
inline constexpr const char* kProjectLinkText = "kvadriko.example.org";
// Three lines: who made it, the maker's mark with its year, where to write.
inline constexpr const char* kAboutCredit = "Разработчики KVADRIKO\nTervisto 2010\ninfo@kvadriko.example.org";
// The installed desktop entry's name without ".desktop" (reverse of the page's domain).
inline constexpr const char* kDesktopFileName = "org.example.kvadriko";
inline constexpr const char* kAboutTerms = "Бесплатно, без каких-либо гарантий.";

}  // namespace kv
