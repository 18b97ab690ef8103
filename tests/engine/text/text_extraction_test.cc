// Plain text, DOCX and the rules that merge a PDF page's text layer with what
// recognition reads on it. Recognition itself is covered in
// text_recognition_test.cc.
#include "text/text_extraction.h"

#include <gtest/gtest.h>

#include "tests/support/test_support.h"
#include "tests/support/text_fixtures.h"
#include "whirlpane/failure.h"

namespace MediaEngine {
namespace {

using TestSupport::failureKind;
using TestSupport::failureText;
using TestSupport::ScratchFolder;
using TestSupport::wordDocument;
namespace fs = std::filesystem;

std::string run(std::string_view t) { return "<w:r><w:t>" + std::string(t) + "</w:t></w:r>"; }
std::string paragraph(std::string_view content) {
  return "<w:p>" + std::string(content) + "</w:p>";
}

// The text `action` returns, or the message its failure shows.
std::string textOrFailure(const std::function<std::string()>& action) {
  std::string text;
  const std::string failure = failureText([&] { text = action(); });
  return failure == "no failure" ? text : failure;
}

TEST(PlainText, DecodesEveryEncodingItRecognisesAndRefusesBinaryData) {
  ScratchFolder folder;
  const fs::path file = folder / "Report.TXT";  // the extension is compared in lower case
  const std::string binary = "Could not read \"" + file.string() +
                             "\": the file does not hold text in an encoding Whirlpane knows";
  const std::string cafe = "caf\u00e9 \u20ac5 \U0001F600\r\n\tend  ";
  const std::pair<std::string, std::string> cases[] = {
      {cafe, cafe},
      {"\xEF\xBB\xBF" + cafe, cafe},
      {std::string("\xFF\xFE"
                   "c\0a\0f\0\xE9\0 \0\xAC\x20"
                   "5\0 \0\x3D\xD8\x00\xDE\r\0\n\0",
                   26),
       "caf\u00e9 \u20ac5 \U0001F600\r\n"},
      {std::string("\xFE\xFF\0h\0i\x20\xAC", 8), "hi\u20ac"},
      {std::string("\xFF\xFE\0\0h\0\0\0\x00\xF6\x01\0", 12), "h\U0001F600"},
      {std::string("\0\0\xFE\xFF\0\0\0h\0\0\0i", 12), "hi"},
      {"caf\xE9 \x80"
       "5 \x93quoted\x94 \x9F",
       "caf\u00e9 \u20ac5 \u201cquoted\u201d \u0178"},  // Windows-1252
      {"", ""},
      {" \n\n ", " \n\n "},
      {std::string("plain\0text", 10), binary},
      {"na\x81ve", binary},                             // undefined in Windows-1252
      {std::string("\xFF\xFE\x00\xD8h\0", 6), binary},  // a lone UTF-16 surrogate
      {std::string("\xFE\xFF\0h\0", 5), binary},        // an odd number of UTF-16 bytes
      {"\xEF\xBB\xBF"
       "caf\xE9",
       binary},
      {std::string("\x89PNG\r\n\x1A\n\0\0\0\x0DIHDR", 16), binary},
  };
  for (const auto& [bytes, text] : cases) {
    TestSupport::writeFile(file, bytes);
    EXPECT_EQ(textOrFailure([&] { return extractText(file); }), text) << bytes;
  }
  EXPECT_EQ(
      failureText([&] { extractText(folder / "missing.txt"); }),
      "Could not read \"" + (folder / "missing.txt").string() + "\": No such file or directory");
}

TEST(DocxText, FollowsTheReadingRulesOfWordprocessingML) {
  ScratchFolder folder;
  TestSupport::writeFile(folder / "secret.txt", "TOPSECRET");
  const std::string unreadable = "Could not read a.docx. The file may be damaged or unsupported.";
  std::string references;  // one large entity referenced many times: a quadratic blow-up
  for (int i = 0; i < 20'000; ++i) references += "&big;";
  struct Case {
    std::string declarations;  // a document type declaration's internal subset
    std::string body;
    std::string text;
  };
  const std::vector<Case> cases{
      {"", paragraph(run("Hello") + "<w:r><w:tab/></w:r>" + run("World")) + paragraph(run("Next")),
       "Hello\tWorld\nNext"},
      {"", paragraph("<w:r><w:t>one</w:t><w:br/><w:t>two</w:t><w:cr/><w:t>three</w:t></w:r>"),
       "one\ntwo\nthree"},
      {"",
       paragraph(run("before")) + "<w:tbl><w:tr><w:tc>" + paragraph(run("a")) + "</w:tc><w:tc>" +
           paragraph(run("b")) + "</w:tc></w:tr></w:tbl>" + paragraph(run("after")),
       "before\na\n\tb\n\tafter"},
      // Of an alternative, the first branch, however deeply nested.
      {"",
       paragraph("<w:r><mc:AlternateContent><mc:Choice Requires=\"wps\">" + run("A") +
                 "</mc:Choice><mc:Fallback>" + run("B") +
                 "</mc:Fallback></mc:AlternateContent></w:r>"),
       "A"},
      {"",
       paragraph(
           "<mc:AlternateContent><mc:Choice>" + run("outer") + "<mc:AlternateContent><mc:Choice>" +
           run("-inner") + "</mc:Choice><mc:Fallback>" + run("-lost") +
           "</mc:Fallback></mc:AlternateContent>" + run("-tail") + "</mc:Choice><mc:Fallback>" +
           run("fallback") + "<mc:AlternateContent><mc:Choice>" + run("deep") +
           "</mc:Choice></mc:AlternateContent></mc:Fallback></mc:AlternateContent>" + run(" end")),
       "outer-inner-tail end"},
      {"",
       paragraph("<mc:AlternateContent><mc:Fallback>" + run("F") + "</mc:Fallback><mc:Choice>" +
                 run("C") + "</mc:Choice></mc:AlternateContent>"),
       "F"},
      {"", paragraph("<mc:Choice>" + run("kept") + "</mc:Choice>" + run("!")), "kept!"},
      // Field codes and section properties are not text.
      {"",
       paragraph("<w:r><w:fldChar w:fldCharType=\"begin\"/></w:r><w:r><w:instrText> HYPERLINK "
                 "\"https://x\" "
                 "</w:instrText></w:r><w:r><w:fldChar w:fldCharType=\"separate\"/></w:r>" +
                 run("Link") + "<w:r><w:fldChar w:fldCharType=\"end\"/></w:r>") +
           "<w:sectPr><w:pgSz w:w=\"12240\"/>stray</w:sectPr>",
       "Link"},
      {"",
       paragraph(run("A")) +
           paragraph("<w:pPr><w:tabs><w:tab w:val=\"left\" w:pos=\"720\"/></w:tabs></w:pPr>" +
                     run("X")),
       "A\n\tX"},
      {"",
       "<x:wrap xmlns:x=\"urn:x\"><x:p><t>plain</t><x:r><x:t>prefixed</x:t></x:r></x:p></x:wrap>",
       "plainprefixed"},
      {"",
       paragraph("<w:r><w:t xml:space=\"preserve\">a &amp; b &lt;c&gt; </w:t></w:r>" + run("d")),
       "a & b <c> d"},
      {"", paragraph("") + paragraph(run(" \t")), "No readable text was found in this file."},
      {"", "<w:p><w:r><w:t>open", unreadable},
      // An internal entity expands; an external one is never read; expansion is bounded.
      {"<!ENTITY co \"Contoso Ltd\">", paragraph(run("&co; and &co;")),
       "Contoso Ltd and Contoso Ltd"},
      {"<!ENTITY x SYSTEM \"file://" + (folder / "secret.txt").string() + "\">",
       paragraph(run("before &x; after")), "before  after"},
      {"<!ENTITY big \"" + std::string(100'000, 'a') + "\">", paragraph(run(references)),
       unreadable},
  };
  for (const Case& c : cases) {
    std::string document = wordDocument(c.body);
    if (!c.declarations.empty()) {
      document = "<?xml version=\"1.0\"?><!DOCTYPE w:document [" + c.declarations + "]>" +
                 document.substr(document.find("<w:document"));
    }
    EXPECT_EQ(textOrFailure([&] { return detail::documentText(document, "a.docx"); }), c.text)
        << c.body.substr(0, 200);
  }
  EXPECT_EQ(failureText([] { detail::documentText("not xml at all", "Report.docx"); }),
            "Could not read Report.docx. The file may be damaged or unsupported.");
}

TEST(DocxText, ReadsTheMainPartAndReportsPackagesItCannotUnpackAsUnzipDoes) {
  ScratchFolder folder;
  const fs::path docx = folder / "Letter.DOCX";
  TestSupport::writeDocx(docx,
                         wordDocument(paragraph(run("Dear reader,")) + paragraph(run("Bye"))));
  EXPECT_EQ(extractText(docx), "Dear reader,\nBye");
  const std::string whole = TestSupport::readFile(docx);
  std::string damaged = whole;  // inside the compressed member
  const size_t member = damaged.find("word/document.xml");
  for (size_t i = member + 30; i < member + 60; ++i) damaged[i] = static_cast<char>(~damaged[i]);
  const std::string unzip = "Could not create the output: unzip: ", prefix = unzip + "Letter.DOCX";
  const std::pair<std::string, std::string> cases[] = {
      {"This is plain text, not a package.", prefix + " is not a ZIP package"},
      {"", prefix + " is not a ZIP package"},
      {whole.substr(0, whole.size() / 2), unzip},  // its directory lost
      {damaged, unzip},
  };
  for (const auto& [bytes, message] : cases) {
    TestSupport::writeFile(docx, bytes);
    const std::string failure = failureText([&] { extractText(docx); });
    EXPECT_TRUE(failure.starts_with(message)) << failure;
  }
  TestSupport::writeZip(docx, {{"word/Document.xml", wordDocument(paragraph(run("wrong case")))}});
  EXPECT_EQ(failureText([&] { extractText(docx); }), prefix + " has no member word/document.xml");
}

// Inflating stops at the cap, also when the sizes in the member's own header
// and in the central directory both claim it holds 100 bytes.
TEST(DocxText, StopsInflatingAtTheCapWhateverThePackageClaims) {
  ScratchFolder folder;
  std::string body;
  const std::string filler = paragraph(run(std::string(1000, 'x')));
  while (body.size() < 40'000'000) body += filler;
  const fs::path docx = folder / "big.docx";
  TestSupport::writeDocx(docx, wordDocument(body));
  EXPECT_EQ(failureKind([&] { extractText(docx); }), Failure::Kind::tooLarge);
  std::string package = TestSupport::readFile(docx);
  const std::string claim("\x64\0\0\0", 4);
  int patched = 0;
  for (size_t at = 0; (at = package.find("word/document.xml", at)) != std::string::npos; ++at) {
    for (const auto& [signature, name, size] :
         {std::tuple{"PK\x03\x04", 30ul, 22ul}, std::tuple{"PK\x01\x02", 46ul, 24ul}}) {
      if (at >= name && package.compare(at - name, 4, signature) == 0) {
        package.replace(at - name + size, 4, claim);
        ++patched;
      }
    }
  }
  ASSERT_EQ(patched, 2);
  TestSupport::writeFile(docx, package);
  const Failure::Kind kind = failureKind([&] { extractText(docx); });
  EXPECT_TRUE(kind == Failure::Kind::tooLarge || kind == Failure::Kind::encoding)
      << static_cast<int>(kind);
}

TEST(PageText, AddsOnlyTheRecognisedLinesTheTextLayerLacks) {
  const std::tuple<std::string, std::string, std::string> cases[] = {
      // text layer, recognised, merged
      {"Invoice 42", "INVOICE 42\nThank you", "Invoice 42\nThank you"},
      {"", "Scanned line one\n  indented line two  ", "Scanned line one\n  indented line two  "},
      {"Layer only", "", "Layer only"},
      {"Words", "---\n\n  \n...\nWords", "Words"},  // punctuation and blank lines
      {"Total: 1,250 EUR due today", "1 250 eur DUE", "Total: 1,250 EUR due today"},
      {"Total: 1,250 EUR due today", "total today", "Total: 1,250 EUR due today\ntotal today"},
      // Misread copies of lines the layer has.
      {"Load all the <MIME>/text/html.xml files.\nAny file named Override.xml takes precedence",
       "Load all the <MIME>/text/htm1.xm1 files.\nAny file named Override. xmi takes precedence",
       "Load all the <MIME>/text/html.xml files.\nAny file named Override.xml takes precedence"},
      // A line a third unlike any stretch of the layer.
      {"Checked by the quality team", "Checked by the safety board",
       "Checked by the quality team\nChecked by the safety board"},
      {"", "a\r\nb\u2028c\u0085d", "a\nb\nc\nd"},
      {"", "", ""},
  };
  for (const auto& [embedded, recognized, text] : cases)
    EXPECT_EQ(detail::pageText(embedded, recognized), text) << recognized;
}

}  // namespace
}  // namespace MediaEngine
