// Plain text, DOCX and the rules that merge a PDF page's text layer with what
// recognition reads on it. Recognition itself is covered in
// text_recognition_test.cc.
#include "text/text_extraction.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include "tests/support/test_support.h"
#include "tests/support/text_fixtures.h"
#include "whirlpane/failure.h"
#include "whirlpane/formats.h"

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

// A main document part with a document type declaration holding `subset`.
std::string withDeclarations(std::string_view subset, std::string_view body) {
  const std::string document = wordDocument(body);
  return "<?xml version=\"1.0\"?><!DOCTYPE w:document [" + std::string(subset) + "]>" +
         document.substr(document.find("<w:document"));
}

// --- plain text -----------------------------------------------------------

TEST(PlainText, DecodesEveryEncodingItRecognisesExactly) {
  ScratchFolder folder;
  struct Case {
    const char* what;
    std::string bytes;
    std::string text;
  };
  const std::string cafe = "caf\u00e9 \u20ac5 \U0001F600\r\n\tend  ";
  const std::vector<Case> cases{
      {"UTF-8", cafe, cafe},
      {"UTF-8 with a mark", "\xEF\xBB\xBF" + cafe, cafe},
      {"UTF-16 little-endian",
       std::string("\xFF\xFE"
                   "c\0a\0f\0\xE9\0 \0\xAC\x20"
                   "5\0 \0\x3D\xD8\x00\xDE\r\0\n\0",
                   26),
       "caf\u00e9 \u20ac5 \U0001F600\r\n"},
      {"UTF-16 big-endian", std::string("\xFE\xFF\0h\0i\x20\xAC", 8), "hi\u20ac"},
      {"UTF-32 little-endian", std::string("\xFF\xFE\0\0h\0\0\0\x00\xF6\x01\0", 12), "h\U0001F600"},
      {"UTF-32 big-endian", std::string("\0\0\xFE\xFF\0\0\0h\0\0\0i", 12), "hi"},
      {"Windows-1252",
       "caf\xE9 \x80"
       "5 \x93quoted\x94 \x9F",
       "caf\u00e9 \u20ac5 \u201cquoted\u201d \u0178"},
      {"nothing at all", "", ""},
      {"white space only", " \n\n ", " \n\n "},
  };
  for (const Case& c : cases) {
    const fs::path file = folder / "notes.txt";
    TestSupport::writeFile(file, c.bytes);
    EXPECT_EQ(extractText(file), c.text) << c.what;
  }
}

TEST(PlainText, RefusesBinaryDataWithAReadErrorNamingTheFile) {
  ScratchFolder folder;
  const fs::path file = folder / "Report.TXT";  // the extension is compared in lower case
  const std::vector<std::pair<const char*, std::string>> cases{
      {"a NUL byte", std::string("plain\0text", 10)},
      {"a byte Windows-1252 leaves undefined", "na\x81ve"},
      {"a lone UTF-16 surrogate", std::string("\xFF\xFE\x00\xD8h\0", 6)},
      {"an odd number of UTF-16 bytes", std::string("\xFE\xFF\0h\0", 5)},
      {"malformed UTF-8 after a UTF-8 mark",
       "\xEF\xBB\xBF"
       "caf\xE9"},
      {"a PNG named .txt", std::string("\x89PNG\r\n\x1A\n\0\0\0\x0DIHDR", 16)},
  };
  for (const auto& [what, bytes] : cases) {
    TestSupport::writeFile(file, bytes);
    EXPECT_EQ(failureText([&] { extractText(file); }),
              "Could not read \"" + file.string() +
                  "\": the file does not hold text in an encoding Whirlpane knows")
        << what;
  }
  EXPECT_EQ(
      failureText([&] { extractText(folder / "missing.txt"); }),
      "Could not read \"" + (folder / "missing.txt").string() + "\": No such file or directory");
}

// --- DOCX -----------------------------------------------------------------

TEST(DocxText, FollowsTheReadingRulesOfWordprocessingML) {
  struct Case {
    const char* what;
    std::string body;
    std::string text;
  };
  const std::vector<Case> cases{
      {"runs, a tab and paragraphs",
       paragraph(run("Hello") + "<w:r><w:tab/></w:r>" + run("World")) + paragraph(run("Next")),
       "Hello\tWorld\nNext"},
      {"breaks inside a run",
       paragraph("<w:r><w:t>one</w:t><w:br/><w:t>two</w:t><w:cr/><w:t>three</w:t></w:r>"),
       "one\ntwo\nthree"},
      {"table cells",
       paragraph(run("before")) + "<w:tbl><w:tr><w:tc>" + paragraph(run("a")) + "</w:tc><w:tc>" +
           paragraph(run("b")) + "</w:tc></w:tr></w:tbl>" + paragraph(run("after")),
       "before\na\n\tb\n\tafter"},
      {"the first branch of an alternative",
       paragraph("<w:r><mc:AlternateContent><mc:Choice Requires=\"wps\">" + run("A") +
                 "</mc:Choice><mc:Fallback>" + run("B") +
                 "</mc:Fallback></mc:AlternateContent></w:r>"),
       "A"},
      {"nested alternatives",
       paragraph(
           "<mc:AlternateContent><mc:Choice>" + run("outer") + "<mc:AlternateContent><mc:Choice>" +
           run("-inner") + "</mc:Choice><mc:Fallback>" + run("-lost") +
           "</mc:Fallback></mc:AlternateContent>" + run("-tail") + "</mc:Choice><mc:Fallback>" +
           run("fallback") + "<mc:AlternateContent><mc:Choice>" + run("deep") +
           "</mc:Choice></mc:AlternateContent></mc:Fallback></mc:AlternateContent>" + run(" end")),
       "outer-inner-tail end"},
      {"a fallback taken when it comes first",
       paragraph("<mc:AlternateContent><mc:Fallback>" + run("F") + "</mc:Fallback><mc:Choice>" +
                 run("C") + "</mc:Choice></mc:AlternateContent>"),
       "F"},
      {"a branch outside any alternative",
       paragraph("<mc:Choice>" + run("kept") + "</mc:Choice>" + run("!")), "kept!"},
      {"field codes and properties",
       paragraph("<w:r><w:fldChar w:fldCharType=\"begin\"/></w:r><w:r><w:instrText> HYPERLINK "
                 "\"https://x\" "
                 "</w:instrText></w:r><w:r><w:fldChar w:fldCharType=\"separate\"/></w:r>" +
                 run("Link") + "<w:r><w:fldChar w:fldCharType=\"end\"/></w:r>") +
           "<w:sectPr><w:pgSz w:w=\"12240\"/>stray</w:sectPr>",
       "Link"},
      {"tab stops count like tabs",
       paragraph(run("A")) +
           paragraph("<w:pPr><w:tabs><w:tab w:val=\"left\" w:pos=\"720\"/></w:tabs></w:pPr>" +
                     run("X")),
       "A\n\tX"},
      {"names with other prefixes or none", "<x:p><t>plain</t><x:r><x:t>prefixed</x:t></x:r></x:p>",
       "plainprefixed"},
      {"escaped characters and kept spaces",
       paragraph("<w:r><w:t xml:space=\"preserve\">a &amp; b &lt;c&gt; </w:t></w:r>" + run("d")),
       "a & b <c> d"},
  };
  for (const Case& c : cases) {
    std::string body = c.body;
    if (body.find("<x:") != std::string::npos) {
      body = "<x:wrap xmlns:x=\"urn:x\">" + body + "</x:wrap>";
    }
    EXPECT_EQ(detail::documentText(wordDocument(body), "a.docx"), c.text) << c.what;
  }
}

TEST(DocxText, RefusesDocumentsWithoutTextOrNotWellFormed) {
  EXPECT_EQ(failureKind([] {
              detail::documentText(wordDocument(paragraph("") + paragraph(run(" \t"))), "a.docx");
            }),
            Failure::Kind::noText);
  EXPECT_EQ(
      failureKind([] { detail::documentText(wordDocument("<w:p><w:r><w:t>open"), "a.docx"); }),
      Failure::Kind::unreadable);
  EXPECT_EQ(failureText([] { detail::documentText("not xml at all", "Report.docx"); }),
            "Could not read Report.docx. The file may be damaged or unsupported.");
}

TEST(DocxText, ReadsNoExternalEntityAndBoundsEntityExpansion) {
  ScratchFolder folder;
  TestSupport::writeFile(folder / "secret.txt", "TOPSECRET");
  const std::string external =
      withDeclarations("<!ENTITY x SYSTEM \"file://" + (folder / "secret.txt").string() + "\">",
                       paragraph(run("before &x; after")));
  try {
    EXPECT_EQ(detail::documentText(external, "a.docx").find("TOPSECRET"), std::string::npos);
  } catch (const Failure& failure) {
    EXPECT_EQ(failure.kind(), Failure::Kind::unreadable);
  }

  // An internal entity is an ordinary part of XML and expands.
  const std::string named =
      withDeclarations("<!ENTITY co \"Contoso Ltd\">", paragraph(run("&co; and &co;")));
  EXPECT_EQ(detail::documentText(named, "a.docx"), "Contoso Ltd and Contoso Ltd");

  // A billion laughs: ten levels of ten references.
  std::string entities = "<!ENTITY l0 \"lol\">";
  for (int level = 1; level <= 10; ++level) {
    entities += "<!ENTITY l" + std::to_string(level) + " \"";
    for (int i = 0; i < 10; ++i) entities += "&l" + std::to_string(level - 1) + ";";
    entities += "\">";
  }
  const std::string laughs = withDeclarations(entities, paragraph(run("&l10;")));
  // One large entity referenced many times: no nesting, the same blow-up.
  std::string references;
  for (int i = 0; i < 20'000; ++i) references += "&big;";
  const std::string quadratic = withDeclarations(
      "<!ENTITY big \"" + std::string(100'000, 'a') + "\">", paragraph(run(references)));

  rusage before{};
  ::getrusage(RUSAGE_SELF, &before);
  for (const std::string* document : {&laughs, &quadratic}) {
    EXPECT_EQ(failureKind([&] { detail::documentText(*document, "a.docx"); }),
              Failure::Kind::unreadable);
  }
  rusage after{};
  ::getrusage(RUSAGE_SELF, &after);
  EXPECT_LT(after.ru_maxrss - before.ru_maxrss, 200 * 1024)
      << "KiB of peak memory added by the expansion";
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
    EXPECT_TRUE(failureText([&] { extractText(docx); }).starts_with(message))
        << failureText([&] { extractText(docx); });
  }
  TestSupport::writeZip(docx, {{"word/Document.xml", wordDocument(paragraph(run("wrong case")))}});
  EXPECT_EQ(failureText([&] { extractText(docx); }), prefix + " has no member word/document.xml");
}

TEST(DocxText, StopsInflatingAtTheCapWhateverThePackageClaims) {
  ScratchFolder folder;
  std::string body;
  const std::string filler = paragraph(run(std::string(1000, 'x')));
  while (body.size() < 40'000'000) body += filler;
  const std::string xml = wordDocument(body);
  ASSERT_GT(xml.size(), documentPartLimit);

  const fs::path docx = folder / "big.docx";
  TestSupport::writeDocx(docx, xml);
  EXPECT_EQ(failureKind([&] { extractText(docx); }), Failure::Kind::tooLarge);

  // The same package claiming the member holds 100 bytes: the stored sizes
  // in the member's own header and in the central directory both lie.
  std::string package = TestSupport::readFile(docx);
  const auto setSize = [&](size_t header, size_t offset) {
    for (int i = 0; i < 4; ++i) package[header + offset + i] = static_cast<char>(i == 0 ? 100 : 0);
  };
  size_t at = 0;
  int patched = 0;
  while ((at = package.find("PK", at)) != std::string::npos) {
    const std::string_view tail(package.data() + at, std::min<size_t>(package.size() - at, 64));
    if (tail.starts_with("PK\x03\x04") && tail.substr(30).starts_with("word/document.xml")) {
      setSize(at, 22);
      ++patched;
    } else if (tail.starts_with("PK\x01\x02") && tail.substr(46).starts_with("word/document.xml")) {
      setSize(at, 24);
      ++patched;
    }
    at += 2;
  }
  ASSERT_EQ(patched, 2);
  TestSupport::writeFile(docx, package);
  const Failure::Kind kind = failureKind([&] { extractText(docx); });
  EXPECT_TRUE(kind == Failure::Kind::tooLarge || kind == Failure::Kind::encoding)
      << static_cast<int>(kind);
}

// --- merging a page's text layer with recognised lines ----------------------

TEST(PageText, AddsOnlyTheRecognisedLinesTheTextLayerLacks) {
  struct Case {
    const char* what;
    std::string embedded, recognized, text;
  };
  const std::vector<Case> cases{
      {"a repeated line and a new one", "Invoice 42", "INVOICE 42\nThank you",
       "Invoice 42\nThank you"},
      {"no text layer", "", "Scanned line one\n  indented line two  ",
       "Scanned line one\n  indented line two  "},
      {"nothing recognised", "Layer only", "", "Layer only"},
      {"lines of punctuation and blank lines", "Words", "---\n\n  \n...\nWords", "Words"},
      {"words found consecutively in the layer", "Total: 1,250 EUR due today", "1 250 eur DUE",
       "Total: 1,250 EUR due today"},
      {"words not consecutive in the layer", "Total: 1,250 EUR due today", "total today",
       "Total: 1,250 EUR due today\ntotal today"},
      {"misread copies of lines the layer has",
       "Load all the <MIME>/text/html.xml files.\nAny file named Override.xml takes precedence",
       "Load all the <MIME>/text/htm1.xm1 files.\nAny file named Override. xmi takes precedence",
       "Load all the <MIME>/text/html.xml files.\nAny file named Override.xml takes precedence"},
      {"a line a third unlike any stretch of the layer", "Checked by the quality team",
       "Checked by the safety board", "Checked by the quality team\nChecked by the safety board"},
      {"every line break the platform knows", "", "a\r\nb\u2028c\u0085d", "a\nb\nc\nd"},
      {"neither", "", "", ""},
  };
  for (const Case& c : cases)
    EXPECT_EQ(detail::pageText(c.embedded, c.recognized), c.text) << c.what;
}

}  // namespace
}  // namespace MediaEngine
