// Text typeset into PDF pages, checked with poppler's own tools: page sizes,
// where every word lies, what text comes back, which font was used.
#include "text/text_pdf.h"

#include <gtest/gtest.h>

#include <regex>
#include <set>

#include "pdf/pdf_document.h"
#include "tests/support/test_support.h"
#include "tests/support/text_fixtures.h"

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

// 40 lines of 12-point text fit in the 684 points between the margins.
TEST(TextPDF, PagesAreLetterSizedAndWordsStayInsideTheMargins) {
  for (const auto& [lines, fewest, most] : {std::tuple{40, 1u, 1u}, std::tuple{200, 4u, 5u}}) {
    std::string text;
    for (int i = 1; i <= lines; ++i) text += "Line " + std::to_string(i) + " of the document\n";
    const Typeset result = typeset(text);
    EXPECT_GE(result.pageSizes.size(), fewest);
    EXPECT_LE(result.pageSizes.size(), most);
    for (const auto& size : result.pageSizes) EXPECT_EQ(size, std::pair(612.0, 792.0));
    std::vector<std::string> numbers;  // every line arrives, in order, and only once
    for (size_t i = 0; i < result.words.size(); ++i) {
      const Word& word = result.words[i];
      EXPECT_TRUE(word.xMin > 53.99 && word.xMax < 558.01 && word.yMin > 53.99 &&
                  word.yMax < 738.01)
          << word.text;
      if (word.text == "Line") numbers.push_back(result.words.at(i + 1).text);
    }
    ASSERT_EQ(numbers.size(), static_cast<size_t>(lines));
    for (int i = 0; i < lines; ++i)
      EXPECT_EQ(numbers[static_cast<size_t>(i)], std::to_string(i + 1));
  }
}

// Every line break is one line, a Windows CR LF included; blank lines, and
// breaks before any text, keep their space; an empty text is one blank page.
TEST(TextPDF, LineBreaksBlankLinesAndEmptyTexts) {
  const Typeset plain = typeset("First\nSecond");
  const Typeset windows = typeset("First\r\nSecond\r\n");
  const Typeset spaced = typeset("First\n\n\nSecond");
  const Typeset lowered = typeset("\n\n\nFirst");
  const Typeset empty = typeset("");
  ASSERT_EQ(plain.words.size(), 2u);
  ASSERT_EQ(windows.words.size(), 2u);
  ASSERT_EQ(spaced.words.size(), 2u);
  ASSERT_EQ(lowered.words.size(), 1u);
  EXPECT_EQ(empty.pageSizes.size(), 1u);
  EXPECT_TRUE(empty.words.empty());
  const double lineHeight = plain.words[1].yMin - plain.words[0].yMin;
  EXPECT_GE(lineHeight, 11.9);  // the face's ascent and descent: 12 points in Nimbus Sans
  EXPECT_LT(lineHeight, 16.0);
  EXPECT_DOUBLE_EQ(windows.words[1].yMin, plain.words[1].yMin);
  EXPECT_NEAR(spaced.words[1].yMin - spaced.words[0].yMin, 3 * lineHeight, 0.5);
  EXPECT_NEAR(lowered.words[0].yMin - plain.words[0].yMin, 3 * lineHeight, 0.5);
  // The first line's text starts at the top margin.
  EXPECT_NEAR(plain.words[0].yMin, 54.0, 4.0);
  EXPECT_NEAR(plain.words[0].xMin, 54.0, 2.0);
}

TEST(TextPDF, LongLinesWrapAndParagraphsContinueOnTheNextPage) {
  std::string paragraph;
  for (int i = 1; i <= 1500; ++i) paragraph += "w" + std::to_string(i) + " ";
  const Typeset result = typeset(paragraph);
  ASSERT_GE(result.pageSizes.size(), 2u);
  ASSERT_EQ(result.words.size(), 1500u);
  for (size_t i = 0; i < result.words.size(); ++i) {
    EXPECT_EQ(result.words[i].text,
              "w" + std::to_string(i + 1));  // nothing lost, nothing reordered
  }
  // The second page starts at its top margin with the word after the first page's last.
  const auto second = std::find_if(result.words.begin(), result.words.end(),
                                   [](const Word& w) { return w.page == 2; });
  ASSERT_NE(second, result.words.end());
  EXPECT_NEAR(second->yMin, 54.0, 4.0);
  EXPECT_NEAR(second->xMin, 54.0, 2.0);
  // Lines break exactly where one layout of the whole paragraph breaks them,
  // however the typesetter divides its work.
  std::set<std::pair<int, double>> lines;
  for (const Word& word : result.words) lines.emplace(word.page, word.yMin);
  EXPECT_EQ(static_cast<int>(lines.size()),
            TestSupport::pangoLineCount(paragraph, "Helvetica", 12, 504));
  // A word wider than the frame is broken inside it rather than spilling into the margin.
  const Typeset wide = typeset(std::string(300, 'W'));
  EXPECT_GE(wide.words.size(), 2u);
}

TEST(TextPDF, TypesetsInHelveticaFallingBackForOtherScripts) {
  ScratchFolder folder;
  const fs::path file = folder / "fonts.pdf";
  TestSupport::writeFile(
      file, textPDF("Helvetica text \u0395\u03bb\u03bb\u03b7\u03bd\u03b9\u03ba\u03ac \u2192 \u263a "
                    "office \u05e9\u05dc\u05d5\u05dd \u0645\u0631\u062d\u0628\u0627 \U0010fffd end")
                .text());
  const std::string fonts = TestSupport::shell("pdffonts " + TestSupport::quoted(file.string()));
  EXPECT_NE(fonts.find("NimbusSans-Regular"), std::string::npos) << fonts;
  const std::string back =
      TestSupport::shell("pdftotext " + TestSupport::quoted(file.string()) + " -");
  // Ligatures and right-to-left runs keep their text; a character no face
  // has is drawn as a box showing its code.
  for (const char* part : {"Helvetica text \u0395\u03bb\u03bb\u03b7\u03bd\u03b9\u03ba\u03ac",
                           "office", "\u05e9\u05dc\u05d5\u05dd", "FFD end"})
    EXPECT_NE(back.find(part), std::string::npos) << part << " in " << back;
  const std::string info = TestSupport::shell("pdfinfo " + TestSupport::quoted(file.string()));
  EXPECT_EQ(info.find("CreationDate"), std::string::npos) << info;
  EXPECT_EQ(info.find("Title"), std::string::npos) << info;
}

}  // namespace
}  // namespace MediaEngine
