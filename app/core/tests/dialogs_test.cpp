#include "lorrin/dialogs.h"

#include "lorrin/test/fakes.h"

#include <gtest/gtest.h>

#include <array>
#include <map>
#include <optional>
#include <string>

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
    void showError(std::string_view message) override { errors.emplace_back(message); }
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
    void showError(std::string_view message) override { errors.emplace_back(message); }
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
