// The language rule, and the core's texts in each language as the catalogues the build
// makes give them: Japanese as the code has them, English with nothing Japanese left.
#include "lorrin/language.h"

#include "lorrin/choices.h"
#include "lorrin/dialogs.h"
#include "lorrin/main_form.h"
#include "lorrin/status.h"
#include "test_support/temp_folder.h"

#include <gtest/gtest.h>

#include <array>
#include <clocale>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

namespace lorrin {
namespace {

TEST(LocaleLanguage, TheFirstVariableSetNamesIt) {
    struct Row {
        const char* lcAll;
        const char* lcMessages;
        const char* lang;
        const char* language;
    };
    constexpr std::array<Row, 11> kRows = {{
        /* 0 */ {nullptr, nullptr, "ja_JP.UTF-8", "ja"},
        /* 1 */ {nullptr, nullptr, "ja", "ja"},
        /* 2 */ {"C", nullptr, "ja_JP.UTF-8", ""},
        /* 3 */ {"", "ja_JP.eucJP", "en_US.UTF-8", "ja"},
        /* 4 */ {nullptr, "en_GB.UTF-8", "ja_JP.UTF-8", "en"},
        /* 5 */ {"de_DE@euro", "ja_JP.UTF-8", nullptr, "de"},
        /* 6 */ {nullptr, nullptr, "C.UTF-8", ""},
        /* 7 */ {nullptr, nullptr, "POSIX", ""},
        /* 8 */ {nullptr, "", "", ""},
        /* 9 */ {nullptr, nullptr, nullptr, ""},
        /* 10 */ {nullptr, nullptr, "jam_JM", "jam"},
    }};
    for (std::size_t i = 0; i < kRows.size(); ++i) {
        const Row& r = kRows[i];
        EXPECT_EQ(localeLanguage(r.lcAll, r.lcMessages, r.lang), r.language) << "row " << i;
    }
}

TEST(Format, FillsNumberedPlaceholders) {
    EXPECT_EQ(format("%2 (%1) %1", {"a", "b"}), "b (a) a");
    EXPECT_EQ(format("%3 100% %", {"a"}), "%3 100% %");
    EXPECT_EQ(format("%1", {"%2"}), "%2");  // an argument is not read again
}

// Japanese characters: kana, kanji, full-width and half-width forms.
bool hasJapanese(std::string_view text) {
    for (std::size_t i = 0; i + 2 < text.size(); ++i) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const auto second = static_cast<unsigned char>(text[i + 1]);
        if (lead == 0xE3 || (lead >= 0xE4 && lead <= 0xE9) ||
            (lead == 0xEF && second >= 0xBC && second <= 0xBF))
            return true;
    }
    return false;
}

// Each test starts from the process as it was (no language chosen) and leaves it so.
class Language : public test_support::TempFolderTest {
protected:
    void SetUp() override {
        if (const char* language = std::getenv("LANGUAGE")) saved_ = language;
    }
    void TearDown() override {
        if (saved_)
            setenv("LANGUAGE", saved_->c_str(), 1);
        else
            unsetenv("LANGUAGE");
        std::setlocale(LC_MESSAGES, "C");
    }
    static CatalogueFolders built() { return {{LORRIN_GETTEXT_CATALOGUES}, {}}; }

    std::optional<std::string> saved_;
};

TEST_F(Language, JapaneseWhereTheLocaleAsksForItEnglishEverywhereElse) {
    struct Row {
        const char* wanted;
        bool catalogues;
        const char* chosen;
    };
    constexpr std::array<Row, 7> kRows = {{
        /* 0 */ {"ja", true, "ja"},
        /* 1 */ {"en", true, "en"},
        /* 2 */ {"", true, "en"},
        /* 3 */ {"de", true, "en"},
        /* 4 */ {"jam", true, "en"},
        /* 5 */ {"ja", false, "ja"},  // the windows' own language needs no catalogue
        /* 6 */ {"de", false, "en"},
    }};
    for (std::size_t i = 0; i < kRows.size(); ++i) {
        const Row& r = kRows[i];
        const CatalogueFolders folders = r.catalogues ? built() : CatalogueFolders{{dir_}, {}};
        EXPECT_EQ(useLanguage(r.wanted, folders), r.chosen) << "row " << i;
    }
}

// Whatever locale the process runs under, also one the system lacks and "C", the texts
// come in the language chosen.
TEST_F(Language, TheCatalogueIsReadUnderEveryLocale) {
    const std::string_view japanese = "UPC系 ｴﾝｺｰﾄﾞｴﾗｰ";
    for (const char* locale : {"C", "POSIX", "C.UTF-8", "ja_JP.UTF-8", "en_US.UTF-8"}) {
        setenv("LC_ALL", locale, 1);
        std::setlocale(LC_ALL, "");
        EXPECT_EQ(useLanguage("en", built()), "en") << locale;
        EXPECT_EQ(statusText(KELDA_E_JAN_CHAR), "UPC encoding error") << locale;
        EXPECT_EQ(useLanguage("ja", built()), "ja") << locale;
        EXPECT_EQ(statusText(KELDA_E_JAN_CHAR), japanese) << locale;
    }
    unsetenv("LC_ALL");
    std::setlocale(LC_ALL, "C");
}

// Every text of the core that reaches a window, as Japanese shows it.
std::vector<std::string> coreTexts() {
    std::vector<std::string> texts;
    for (int result = -200; result <= 100; ++result) texts.emplace_back(statusText(result));
    for (std::size_t i = 0; i < kSymbologyHints.size(); ++i) texts.emplace_back(symbologyHint(i));
    for (std::size_t i = 0; i < kAngleNames.size(); ++i) texts.emplace_back(angleName(i));
    for (MatrixList list : kMatrixLists)
        for (const std::string& entry : matrixListEntries(list)) texts.push_back(entry);
    texts.emplace_back(translate("status", kSettingsNotReadText));
    texts.push_back(conversionMessage("x"));
    texts.push_back(pathTooLongMessage("x"));
    matrix::Encoded tooLong;
    tooLong.refusal = matrix::Refusal::kTooLong;
    tooLong.length = 3000;
    tooLong.limit = 2331;
    texts.push_back(matrixRefusalText(tooLong, kQr, 0));
    tooLong.refusal = matrix::Refusal::kVersionSmall;
    tooLong.neededVersion = 2;
    texts.push_back(matrixRefusalText(tooLong, kQr, 1));
    return texts;
}

TEST_F(Language, EveryCoreTextIsTranslatedAndJapaneseStaysAsItIs) {
    const std::vector<std::string> untranslated = coreTexts();
    useLanguage("ja", built());
    EXPECT_EQ(coreTexts(), untranslated);
    useLanguage("en", built());
    const std::vector<std::string> english = coreTexts();
    ASSERT_EQ(english.size(), untranslated.size());
    for (std::size_t i = 0; i < english.size(); ++i)
        EXPECT_FALSE(hasJapanese(english[i])) << untranslated[i] << " -> " << english[i];
    EXPECT_EQ(english[english.size() - 2], "QR data too long (3000 characters, at most 2331)");
    EXPECT_EQ(english.back(),
              "QR version 1 too small (3000 characters, at most 2331, version 2 or up)");
    EXPECT_EQ(helpDocument(), "lorrin.en.html");
}

}  // namespace
}  // namespace lorrin
