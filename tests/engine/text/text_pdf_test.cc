// SPDX-License-Identifier: GPL-3.0-or-later
// Text typeset into PDF pages, checked with poppler's own tools: page sizes,
// where every word lies, what text comes back, which font was used.
#include "text/text_pdf.h"

#include <gtest/gtest.h>

#include <regex>

#include "tests/support/test_support.h"

namespace MediaEngine {
namespace {

using TestSupport::ScratchFolder;
namespace fs = std::filesystem;

struct Word {
  int page;
  double xMin, yMin, xMax, yMax;
  std::string text;
};

struct Typeset {
  std::vector<std::pair<double, double>> pageSizes;
  std::vector<Word> words;
};

// The pages and words of `text` typeset, as pdftotext -bbox reports them.
Typeset typeset(std::string_view text) {
  ScratchFolder folder;
  const fs::path file = folder / "text.pdf";
  TestSupport::writeFile(file, textPDF(text).text());
  const std::string html =
      TestSupport::shell("pdftotext -bbox " + TestSupport::quoted(file.string()) + " - 2>&1");
  Typeset result;
  static const std::regex item(
      R"re(<page width="([\d.]+)" height="([\d.]+)">|<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re");
  for (auto it = std::sregex_iterator(html.begin(), html.end(), item); it != std::sregex_iterator();
       ++it) {
    const std::smatch& m = *it;
    if (m[1].matched) {
      result.pageSizes.emplace_back(std::stod(m[1]), std::stod(m[2]));
    } else {
      result.words.push_back({static_cast<int>(result.pageSizes.size()), std::stod(m[3]),
                              std::stod(m[4]), std::stod(m[5]), std::stod(m[6]), m[7]});
    }
  }
  return result;
}

// Lines, and one long paragraph, come back whole and in order on letter pages
// within one-inch margins, each page's text from its top margin. 40 lines of
// 12-point text fit in the 684 points between the margins.
TEST(TextPDF, EveryWordArrivesInOrderInsideTheMarginsOfLetterPages) {
  std::string forty, paragraph;
  for (int i = 1; i <= 1500; ++i) {
    if (i <= 40) forty += "w" + std::to_string(i) + "\n";
    paragraph += "w" + std::to_string(i) + " ";
  }
  for (const auto& [text, words, pages] : {std::tuple{forty, 40u, 1u}, {paragraph, 1500u, 2u}}) {
    const Typeset result = typeset(text);
    EXPECT_EQ(result.pageSizes.size(), pages);
    for (const auto& size : result.pageSizes) EXPECT_EQ(size, std::pair(612.0, 792.0));
    ASSERT_EQ(result.words.size(), words);
    for (size_t i = 0; i < words; ++i) {
      const Word& word = result.words[i];
      EXPECT_EQ(word.text, "w" + std::to_string(i + 1));
      EXPECT_TRUE(word.xMin > 53.99 && word.xMax < 558.01 && word.yMin > 53.99 &&
                  word.yMax < 738.01)
          << word.text;
      if (i == 0 || word.page != result.words[i - 1].page) {
        EXPECT_NEAR(word.yMin, 54.0, 4.0) << word.text;
        EXPECT_NEAR(word.xMin, 54.0, 2.0) << word.text;
      }
    }
  }
}

// Every line break is one line, a Windows CR LF included; blank lines, and
// breaks before any text, keep their space; an empty text is one blank page.
TEST(TextPDF, LineBreaksBlankLinesAndEmptyTexts) {
  const Typeset plain = typeset("First\nSecond");
  ASSERT_EQ(plain.words.size(), 2u);
  const double top = plain.words[0].yMin, line = plain.words[1].yMin - top;
  EXPECT_GE(line, 11.9);  // the face's ascent and descent: 12 points in Nimbus Sans
  EXPECT_LT(line, 16.0);
  const std::pair<const char*, std::vector<int>> cases[] = {
      // text, the line each word is on
      {"First\r\nSecond\r\n", {0, 1}},
      {"First\n\n\nSecond", {0, 3}},
      {"\n\n\nFirst", {3}},
      {"", {}},
  };
  for (const auto& [text, lines] : cases) {
    const Typeset result = typeset(text);
    EXPECT_EQ(result.pageSizes.size(), 1u);
    ASSERT_EQ(result.words.size(), lines.size()) << text;
    for (size_t i = 0; i < lines.size(); ++i)
      EXPECT_NEAR(result.words[i].yMin - top, lines[i] * line, 0.5) << text;
  }
}

// Helvetica's metric twin first; other scripts fall back to faces that have
// them, and a character no face has is drawn as a box showing its code.
TEST(TextPDF, TypesetsInHelveticaFallingBackForOtherScripts) {
  ScratchFolder folder;
  const std::string file = TestSupport::quoted((folder / "fonts.pdf").string());
  TestSupport::writeFile(
      folder / "fonts.pdf",
      textPDF("Helvetica \u0395\u03bb\u03bb\u03b7\u03bd\u03b9\u03ba\u03ac \U0010fffd").text());
  EXPECT_NE(TestSupport::shell("pdffonts " + file).find("NimbusSans-Regular"), std::string::npos);
  const std::string back = TestSupport::shell("pdftotext " + file + " -");
  EXPECT_TRUE(
      back.starts_with("Helvetica \u0395\u03bb\u03bb\u03b7\u03bd\u03b9\u03ba\u03ac 10F\nFFD"))
      << back;
}

}  // namespace
}  // namespace MediaEngine
