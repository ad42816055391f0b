#include "lorrin/dialogs.h"

#include "lorrin/test/fakes.h"

#include <gtest/gtest.h>

#include <array>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace lorrin {
namespace {

TEST(WholeNumber, TakesSignedDecimalsInThirtyTwoBits) {
    struct Row {
        std::string_view text;
        std::optional<std::int32_t> value;
    };
    const std::array<Row, 12> rows = {{
        /* 0 */ {"50", 50},
        /* 1 */ {"-3", -3},
        /* 2 */ {"+7", 7},
        /* 3 */ {"0", 0},
        /* 4 */ {"2147483647", 2147483647},
        /* 5 */ {"-2147483648", -2147483647 - 1},
        /* 6 */ {"2147483648", std::nullopt},
        /* 7 */ {"", std::nullopt},
        /* 8 */ {"12a", std::nullopt},
        /* 9 */ {"+-1", std::nullopt},
        /* 10 */ {"1.5", std::nullopt},
        /* 11 */ {"-", std::nullopt},
    }};
    for (std::size_t i = 0; i < rows.size(); ++i)
        EXPECT_EQ(wholeNumber(rows[i].text), rows[i].value) << "row " << i;
}

class FakeSizeView : public SizeDialogView {
public:
    std::map<SizeEdit, std::string> texts;
    std::map<SizeCheck, bool> checks;
    std::vector<std::string> errors;
    bool closed = false;

    std::string text(SizeEdit edit) const override { return texts.at(edit); }
    void setText(SizeEdit edit, std::string_view t) override { texts[edit] = std::string(t); }
    bool checked(SizeCheck box) const override { return checks.at(box); }
    void setChecked(SizeCheck box, bool on) override { checks[box] = on; }
    void showError(std::string_view message) override {
        test::collect(errors, message, test::kCallLimit, "errors shown");
    }
    void closeDialog() override { closed = true; }
};

TEST(SizeDialog, FillsTheBoxesFromTheSettings) {
    Settings settings;
    settings.barHeight = 40;
    settings.guardExtra = -2;
    settings.addSum = 7;
    settings.wpcOnly = 0;
    FakeSizeView view;
    SizeDialog(view, settings).FormCreate();
    EXPECT_EQ(view.texts[SizeEdit::edtHeight], "40");
    EXPECT_EQ(view.texts[SizeEdit::edtHeight2], "-2");
    EXPECT_EQ(view.texts[SizeEdit::edtNarrow], "1");
    EXPECT_EQ(view.texts[SizeEdit::edtNWratio], "3");
    EXPECT_EQ(view.texts[SizeEdit::edtGap], "2");
    EXPECT_TRUE(view.checks[SizeCheck::chkSum]);
    EXPECT_TRUE(view.checks[SizeCheck::chkOCR]);
    EXPECT_TRUE(view.checks[SizeCheck::chkAddSum]);
    EXPECT_FALSE(view.checks[SizeCheck::chkWPConly]);
}

TEST(SizeDialog, OkTakesEverythingOverAndStoresSwitchesAsOneOrZero) {
    Settings settings;
    settings.addSum = 7;
    FakeSizeView view;
    SizeDialog dialog(view, settings);
    dialog.FormCreate();
    view.texts[SizeEdit::edtNWratio] = "0";
    view.texts[SizeEdit::edtGap] = "-4";
    view.checks[SizeCheck::chkSum] = false;
    dialog.btnOKClick();
    EXPECT_TRUE(view.closed);
    EXPECT_TRUE(view.errors.empty());
    EXPECT_EQ(settings.barHeight, 50);
    EXPECT_EQ(settings.wideRatio, 0);
    EXPECT_EQ(settings.charGap, -4);
    EXPECT_EQ(settings.checkSum, 0);
    EXPECT_EQ(settings.addSum, 1);
    EXPECT_EQ(settings.wpcOnly, 1);
}

class FakeMatrixView : public MatrixDialogView {
public:
    std::map<MatrixList, int> entries;
    std::map<MatrixCheck, bool> checks;
    bool closed = false;

    int selected(MatrixList list) const override { return entries.at(list); }
    // As a list box does: an entry beyond the list selects none.
    void select(MatrixList list, int entry) override {
        entries[list] = entry < static_cast<int>(matrixListEntries(list).size()) ? entry : -1;
    }
    bool checked(MatrixCheck box) const override { return checks.at(box); }
    void setChecked(MatrixCheck box, bool on) override { checks[box] = on; }
    void closeDialog() override { closed = true; }
};

// The dialog's settings: those of kMatrixLists in order, then those of kMatrixChecks.
constexpr std::array<std::int32_t Settings::*, 7> kMatrixFields = {
    &Settings::qrLevel,    &Settings::qrVersion, &Settings::dmShape,    &Settings::pdfLevel,
    &Settings::pdfColumns, &Settings::qrUtf8,    &Settings::matrixText,
};
using MatrixValues = std::array<std::int32_t, 7>;
MatrixValues matrixValues(const Settings& s) {
    MatrixValues v{};
    for (std::size_t i = 0; i < v.size(); ++i) v[i] = s.*kMatrixFields[i];
    return v;
}

// A setting shows as its entry, or as none outside its list; OK keeps a setting that
// shows as none, stores the switches as 1 or 0, and Cancel takes nothing.
TEST(MatrixDialog, ShowsEachSettingAsItsEntryAndOnlyOkTakesThemBack) {
    struct Row {
        MatrixValues settings;
        std::array<int, 5> entries;
        MatrixValues afterOk;  // with every list and box left as it opened
    };
    const std::array<Row, 4> rows = {{
        /* 0 */ {{1, 0, 0, 0, 0, 0, 0}, {1, 0, 0, 0, 0}, {1, 0, 0, 0, 0, 0, 0}},
        /* 1 */ {{3, 40, 1, 8, 30, 1, 5}, {3, 40, 1, 7, 30}, {3, 40, 1, 8, 30, 1, 1}},
        /* 2 */ {{0, 1, 0, 2, 1, 0, -1}, {0, 1, 0, 1, 1}, {0, 1, 0, 2, 1, 0, 1}},
        /* 3 */ {{4, 41, -1, 1, 31, 0, 0}, {-1, -1, -1, -1, -1}, {4, 41, -1, 1, 31, 0, 0}},
    }};
    for (std::size_t i = 0; i < rows.size(); ++i) {
        for (const bool ok : {false, true}) {
            Settings settings;
            for (std::size_t f = 0; f < kMatrixFields.size(); ++f)
                settings.*kMatrixFields[f] = rows[i].settings[f];
            FakeMatrixView view;
            MatrixDialog dialog(view, settings);
            dialog.FormCreate();
            for (std::size_t l = 0; l < kMatrixLists.size(); ++l)
                EXPECT_EQ(view.entries[kMatrixLists[l]], rows[i].entries[l]) << "row " << i;
            if (ok) {
                dialog.btnOKClick();
            } else {
                for (MatrixList list : kMatrixLists) view.entries[list] = 1;
                for (MatrixCheck box : kMatrixChecks) view.checks[box] = true;
                dialog.btnCancelClick();
            }
            EXPECT_TRUE(view.closed);
            EXPECT_EQ(matrixValues(settings), ok ? rows[i].afterOk : rows[i].settings)
                << "row " << i << (ok ? " OK" : " Cancel");
        }
    }
}

// Every entry OK takes over is the entry the dialog shows for the setting next time; a
// number stands for itself, "自動" for 0, a name (L to H, the shapes) for its place.
TEST(MatrixDialog, OkStoresTheValueEachEntryShows) {
    for (std::size_t l = 0; l < kMatrixLists.size(); ++l) {
        const std::vector<std::string> entries = matrixListEntries(kMatrixLists[l]);
        for (std::size_t e = 0; e < entries.size(); ++e) {
            Settings settings;
            FakeMatrixView view;
            MatrixDialog dialog(view, settings);
            dialog.FormCreate();
            view.entries[kMatrixLists[l]] = static_cast<int>(e);
            dialog.btnOKClick();
            const auto number = wholeNumber(entries[e]);
            const int expected = number ? *number : entries[e] == "自動" ? 0 : static_cast<int>(e);
            EXPECT_EQ(settings.*kMatrixFields[l], expected) << "list " << l << " entry " << e;
            dialog.FormCreate();
            EXPECT_EQ(view.entries[kMatrixLists[l]], static_cast<int>(e)) << "list " << l;
        }
    }
}

class FakeSoundView : public SoundDialogView {
public:
    std::map<SoundEdit, std::string> texts;
    bool sound = false;
    std::optional<std::string> picked;
    std::vector<std::string> errors;
    bool closed = false;

    std::string text(SoundEdit edit) const override { return texts.at(edit); }
    void setText(SoundEdit edit, std::string_view t) override { texts[edit] = std::string(t); }
    bool soundChecked() const override { return sound; }
    void setSoundChecked(bool on) override { sound = on; }
    std::optional<std::string> pickWavFile() override { return picked; }
    void showError(std::string_view message) override {
        test::collect(errors, message, test::kCallLimit, "errors shown");
    }
    void closeDialog() override { closed = true; }
};

struct SoundDialogTest : ::testing::Test {
    Settings settings;
    FakeSoundView view;
    test::FakeSound sound;
    SoundDialog dialog{view, settings, sound};
};

TEST_F(SoundDialogTest, OkCopiesThePathsAndTheSwitch) {
    settings.soundOk = "/a/ok.wav";
    dialog.FormCreate();
    EXPECT_EQ(view.texts[SoundEdit::edtSoundOK], "/a/ok.wav");
    EXPECT_EQ(view.texts[SoundEdit::edtSoundNG], "");
    EXPECT_TRUE(view.sound);
    view.texts[SoundEdit::edtSoundNG] = "/a/ng.wav";
    view.sound = false;
    dialog.btnOKClick();
    EXPECT_TRUE(view.closed);
    EXPECT_EQ(settings.soundOk, "/a/ok.wav");
    EXPECT_EQ(settings.soundNg, "/a/ng.wav");
    EXPECT_EQ(settings.soundOn, 0);
}

TEST_F(SoundDialogTest, PathsLongerThanTheFieldAreRefusedNotCut) {
    dialog.FormCreate();
    const std::string fits(kSoundPathSize - 1, 'a');
    const std::string tooLong(kSoundPathSize, 'a');
    view.texts[SoundEdit::edtSoundOK] = fits;
    view.texts[SoundEdit::edtSoundNG] = tooLong;
    view.sound = false;
    dialog.btnOKClick();
    EXPECT_FALSE(view.closed);
    ASSERT_EQ(view.errors.size(), 1u);
    EXPECT_EQ(view.errors[0], pathTooLongMessage(tooLong));
    EXPECT_EQ(settings.soundOk, "");
    EXPECT_EQ(settings.soundOn, 1);

    view.picked = tooLong;
    dialog.btnRefGDClick();
    EXPECT_EQ(view.texts[SoundEdit::edtSoundOK], fits);
    EXPECT_TRUE(sound.played.empty());
    EXPECT_EQ(view.errors.size(), 2u);
}

TEST_F(SoundDialogTest, PathsAreMeasuredInCp932Bytes) {
    struct Row {
        std::string path;
        bool taken;
    };
    // "音" is 3 bytes in UTF-8 and 2 in CP932: 63 of them and one letter fill 127 bytes.
    std::string sounds;
    for (int i = 0; i < 63; ++i) sounds += "音";
    const std::array<Row, 3> kRows = {{
        /* 0 */ {sounds + "a", true},
        /* 1 */ {sounds + "ab", false},
        /* 2 */ {sounds + "音", false},
    }};
    for (std::size_t i = 0; i < kRows.size(); ++i) {
        view = FakeSoundView{};
        dialog.FormCreate();
        view.texts[SoundEdit::edtSoundOK] = kRows[i].path;
        dialog.btnOKClick();
        EXPECT_EQ(view.closed, kRows[i].taken) << "row " << i;
        view.picked = kRows[i].path;
        dialog.btnRefBDClick();
        const bool picked = view.texts[SoundEdit::edtSoundNG] == kRows[i].path;
        EXPECT_EQ(picked, kRows[i].taken) << "row " << i;
    }
}

TEST_F(SoundDialogTest, PickingFillsTheBoxAndPlaysCancelDoesNothing) {
    dialog.FormCreate();
    view.picked = "/s/fail.wav";
    dialog.btnRefBDClick();
    EXPECT_EQ(view.texts[SoundEdit::edtSoundNG], "/s/fail.wav");
    EXPECT_EQ(sound.played, std::vector<std::string>{"/s/fail.wav"});
    view.picked.reset();
    dialog.btnRefGDClick();
    EXPECT_EQ(view.texts[SoundEdit::edtSoundOK], "");
    EXPECT_EQ(sound.played.size(), 1u);
}

TEST_F(SoundDialogTest, CancelTakesNothingOver) {
    dialog.FormCreate();
    view.texts[SoundEdit::edtSoundOK] = "/x.wav";
    view.sound = false;
    dialog.btnCancelClick();
    EXPECT_TRUE(view.closed);
    EXPECT_EQ(settings.soundOk, "");
    EXPECT_EQ(settings.soundOn, 1);
}

}  // namespace
}  // namespace lorrin
