// The help documents' table of the characters each symbology takes, and their table of what
// the largest two-dimensional symbols hold, read from each document itself, against what
// the library and the matrix module accept: they cannot drift apart.  The English document
// has the Japanese one's sections and tables.
#include "kelda.h"
#include "lorrin/choices.h"
#include "lorrin/draw.h"
#include "lorrin/settings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <bitset>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

namespace lorrin {
namespace {

using Bytes = std::bitset<256>;

constexpr std::string_view kRange = "～";  // U+FF5E between the ends of a range
// The blank, as each document names it.
constexpr std::array<std::string_view, 2> kSpaces = {"空白", "blank"};

// The Japanese document, then the English one.
constexpr std::array<const char*, 2> kDocuments = {LORRIN_HELP_DOCUMENT,
                                                   LORRIN_ENGLISH_HELP_DOCUMENT};

std::string document(const char* path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string unescaped(std::string_view html) {
    std::string out;
    for (std::size_t i = 0; i < html.size(); ++i) {
        bool replaced = false;
        for (const auto& [entity, c] :
             {std::pair{"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}}) {
            if (html.substr(i).starts_with(entity)) {
                out += c;
                i += std::string_view(entity).size() - 1;
                replaced = true;
                break;
            }
        }
        if (!replaced) out += html[i];
    }
    return out;
}

// One character of a list: the blank's name or a single byte.
bool character(std::string_view token, unsigned char& c) {
    if (std::ranges::find(kSpaces, token) != kSpaces.end()) return c = ' ', true;
    if (token.size() != 1) return false;
    c = static_cast<unsigned char>(token[0]);
    return true;
}

// The characters a list names: tokens split by blanks, each a character or a range "X～Y".
Bytes documented(std::string_view list, std::string& error) {
    Bytes bytes;
    std::size_t at = 0;
    while (at < list.size()) {
        const std::size_t end = std::min(list.find(' ', at), list.size());
        const std::string_view token = list.substr(at, end - at);
        at = end + 1;
        if (token.empty()) continue;
        unsigned char first = 0;
        unsigned char last = 0;
        const std::size_t range = token.find(kRange);
        const bool ok = range == std::string_view::npos
                            ? character(token, first) && character(token, last)
                            : character(token.substr(0, range), first) &&
                                  character(token.substr(range + kRange.size()), last);
        if (!ok || first > last) {
            error = "cannot read \"" + std::string(token) + "\"";
            return {};
        }
        for (unsigned c = first; c <= last; ++c) bytes.set(c);
    }
    return bytes;
}

// A probe that is valid but for the byte under test, so that only that byte can fail
// with the request's character error.
struct Request {
    int request;
    KeldaResult characterError;
    std::string_view before;
    std::string_view after;
};
constexpr std::array<Request, 7> kRequests = {{
    {0, KELDA_E_JAN_CHAR, "", ""},
    {1, KELDA_E_NW7_CHAR, "", ""},
    {2, KELDA_E_CODE39_CHAR, "", ""},
    {3, KELDA_E_ITF_CHAR, "", ""},
    {4, KELDA_E_CODE128_CHAR, "", ""},
    {5, KELDA_E_CODE128_VALUES, "A", "0"},  // a start letter and a whole pair
    {6, KELDA_E_CODE93_CHAR, "", ""},
}};

Bytes accepted(const Request& r) {
    Bytes bytes;
    for (unsigned c = 1; c < 256; ++c) {
        const std::string input =
            std::string(r.before) + static_cast<char>(c) + std::string(r.after);
        std::array<char, 16> readable{};
        std::int32_t count = 0;
        if (CheckBarcode(r.request, 0, input.c_str(), readable.data(), &count) != r.characterError)
            bytes.set(c);
    }
    return bytes;
}

class HelpDocument : public ::testing::TestWithParam<const char*> {};
INSTANTIATE_TEST_SUITE_P(Both, HelpDocument, ::testing::ValuesIn(kDocuments));

TEST_P(HelpDocument, EachSymbologysCharactersAreWhatTheLibraryTakes) {
    const std::string html = document(GetParam());
    ASSERT_FALSE(html.empty()) << GetParam();
    for (const Request& r : kRequests) {
        const std::string marker =
            "class=\"chars\" data-request=\"" + std::to_string(r.request) + "\">";
        const std::size_t start = html.find(marker);
        ASSERT_NE(start, std::string::npos) << "no character list for request " << r.request;
        const std::size_t from = start + marker.size();
        const std::string list =
            unescaped(std::string_view(html).substr(from, html.find("</td>", from) - from));
        std::string error;
        const Bytes listed = documented(list, error);
        ASSERT_TRUE(error.empty()) << "request " << r.request << ": " << error;
        const Bytes taken = accepted(r);
        for (unsigned c = 1; c < 256; ++c) {
            EXPECT_EQ(listed[c], taken[c])
                << "request " << r.request << ", byte 0x" << std::hex << c << " ('"
                << static_cast<char>(c) << "'): the document "
                << (listed[c] ? "lists it" : "leaves it out");
        }
    }
}

// The value of attribute `name` in `tag` ("<td ... name=\"value\" ...>"), empty when absent.
std::string attribute(std::string_view tag, std::string_view name) {
    const std::string key = " " + std::string(name) + "=\"";
    const std::size_t at = tag.find(key);
    if (at == std::string_view::npos) return {};
    const std::size_t from = at + key.size();
    return std::string(tag.substr(from, tag.find('"', from) - from));
}

// Each cell of the capacity table names the list entry, its error correction setting (the
// value of qrecc or pdfecc) and the one character its text repeats; it holds the most
// characters of that text the largest symbol takes.
TEST_P(HelpDocument, CapacitiesAreWhatTheLargestSymbolsHold) {
    const std::string html = document(GetParam());
    constexpr std::string_view kCell = "<td class=\"capacity\"";
    matrix::Encoder encoder;
    int cells = 0;
    for (std::size_t at = html.find(kCell); at != std::string::npos;
         at = html.find(kCell, at + 1), ++cells) {
        const std::size_t close = html.find('>', at);
        const std::string_view tag = std::string_view(html).substr(at, close - at);
        const std::string documented = html.substr(close + 1, html.find('<', close) - close - 1);
        SCOPED_TRACE(std::string(tag) + "> " + documented);
        const std::string unit = attribute(tag, "data-unit");
        const std::string ecc = attribute(tag, "data-ecc");
        const int type = std::atoi(attribute(tag, "data-type").c_str());
        ASSERT_TRUE(isMatrix(type) && !unit.empty());
        Settings settings;
        if (type == kQr && !ecc.empty()) settings.qrLevel = std::atoi(ecc.c_str());
        if (type == kPdf417 && !ecc.empty()) settings.pdfLevel = std::atoi(ecc.c_str());
        std::string text;
        for (int i = 0; i < 8000; ++i) text += unit;  // more than any symbol holds
        const matrix::Encoded e =
            encoder.encode(matrixSymbology(type), text, matrixOptions(settings));
        ASSERT_EQ(e.refusal, matrix::Refusal::kTooLong);
        EXPECT_EQ(std::to_string(e.limit), documented);
    }
    EXPECT_GT(cells, 0) << "no capacity table";
}

// The ids and data attributes in document order: the sections, links and tables.
std::vector<std::string> skeleton(std::string_view html) {
    std::vector<std::string> marks;
    for (std::size_t at = 0; (at = html.find('=', at)) != std::string_view::npos; ++at) {
        const std::size_t name = html.rfind(' ', at) + 1;
        const std::string_view key = html.substr(name, at - name);
        if (key != "id" && key != "href" && !key.starts_with("data-")) continue;
        marks.emplace_back(html.substr(name, html.find('"', at + 2) + 1 - name));
    }
    return marks;
}

TEST(HelpDocuments, TheEnglishOneHasTheJapaneseOnesSectionsAndTables) {
    const std::string japanese = document(kDocuments[0]);
    const std::string english = document(kDocuments[1]);
    ASSERT_FALSE(english.empty()) << kDocuments[1];
    EXPECT_EQ(skeleton(english), skeleton(japanese));
    EXPECT_NE(english.find("<html lang=\"en\">"), std::string::npos);
}

}  // namespace
}  // namespace lorrin
