#include "app/core/settings.h"
#include "app/tests/test_support.h"

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <fstream>
#include <iterator>

namespace lorrin {
namespace {

class SettingsFile : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("lorrin_settings_" +
                std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_ / "program");
        settings.iniPath = dir_ / "program" / "lorrin.ini";
        settings.iniFallbackPath = dir_ / "config" / "lorrin" / "lorrin.ini";
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    void write(const std::filesystem::path& path, std::string_view text) {
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << text;
    }
    static std::string read(const std::filesystem::path& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    std::filesystem::path dir_;
    Settings settings;
    ViewState view;
    test::FakeScreen screen;
};

TEST_F(SettingsFile, NoFileGivesTheDefaultsAndClosingWritesEveryKey) {
    view.type = 3;
    view.angle = 2;
    view.where = {1, 2};
    LoadSettings(settings, view, screen);
    const Settings defaults;
    EXPECT_EQ(settings.barHeight, 50);
    EXPECT_EQ(settings.guardExtra, 5);
    EXPECT_EQ(settings.wideRatio, 3);
    EXPECT_EQ(settings.narrowWidth, 1);
    EXPECT_EQ(settings.charGap, 2);
    EXPECT_EQ(settings.checkSum, 1);
    EXPECT_EQ(settings.ocrDisp, 1);
    EXPECT_EQ(settings.addSum, 0);
    EXPECT_EQ(settings.soundOn, 1);
    EXPECT_EQ(settings.clipMode, 0);
    EXPECT_EQ(settings.wpcOnly, 1);
    EXPECT_EQ(settings.fontName, "Arial");
    EXPECT_EQ(settings.fontSize, 9);
    EXPECT_EQ(settings.soundOk, "");
    EXPECT_EQ(settings.soundNg, "");
    EXPECT_EQ(view.where, (WindowPosition{50, 50}));
    EXPECT_EQ(view.type, 0);
    EXPECT_EQ(view.angle, 0);

    ASSERT_TRUE(SaveSettings(settings, view));
    EXPECT_EQ(read(settings.iniPath),
              "[barcode]\nh=50\ngh=5\nwn=3\nnarrow=1\ngap=2\ncheck=1\nocrdisp=1\naddsum=0\n"
              "beep=1\nclipmode=0\nwpconly=1\ntype=0\nangle=0\n"
              "[font]\nname=Arial\nsize=9\n[sound]\nok=\nng=\n[loc]\nx=50\ny=50\n");
}

TEST_F(SettingsFile, WindowCornersBeyondTheScreenComeBack) {
    struct Row {
        int x, y;
        WindowPosition expected;
    };
    // Screen 1024 x 768; only a corner greater than the size moves, and no lower bound.
    constexpr std::array<Row, 5> kRows = {{
        /* 0 */ {1025, 100, {10, 100}},
        /* 1 */ {1024, 768, {1024, 768}},
        /* 2 */ {100, 769, {100, 10}},
        /* 3 */ {-500, -20, {-500, -20}},
        /* 4 */ {5000, 5000, {10, 10}},
    }};
    for (std::size_t i = 0; i < kRows.size(); ++i) {
        write(settings.iniPath, "[loc]\nx=" + std::to_string(kRows[i].x) +
                                    "\ny=" + std::to_string(kRows[i].y) + "\n");
        LoadSettings(settings, view, screen);
        EXPECT_EQ(view.where, kRows[i].expected) << "row " << i;
    }
}

TEST_F(SettingsFile, ListIndexesOutsideTheListsSelectNothingAndAreWrittenAsMinusOne) {
    write(settings.iniPath, "[barcode]\ntype=9\nangle=-3\nclipmode=1\n");
    LoadSettings(settings, view, screen);
    EXPECT_EQ(view.type, -1);
    EXPECT_EQ(view.angle, -1);
    EXPECT_EQ(settings.clipMode, 1);
    ASSERT_TRUE(SaveSettings(settings, view));
    const std::string saved = read(settings.iniPath);
    EXPECT_NE(saved.find("type=-1\n"), std::string::npos);
    EXPECT_NE(saved.find("angle=-1\n"), std::string::npos);
    EXPECT_NE(saved.find("clipmode=1\n"), std::string::npos);
}

TEST_F(SettingsFile, LongTextsArriveCutAndForeignLinesSurvive) {
    const std::string font(45, 'F');
    const std::string sound(200, 's');
    write(settings.iniPath, "; mine\n[font]\nname=" + font + "\nstyle=bold\n[sound]\nok=" + sound +
                                "\n[extra]\nkeep=1\n");
    LoadSettings(settings, view, screen);
    EXPECT_EQ(settings.fontName, font.substr(0, 39));
    EXPECT_EQ(settings.soundOk, sound.substr(0, 127));
    ASSERT_TRUE(SaveSettings(settings, view));
    const std::string saved = read(settings.iniPath);
    for (const std::string_view kept : {"; mine\n", "style=bold\n", "[extra]\nkeep=1\n"})
        EXPECT_NE(saved.find(kept), std::string::npos) << kept;
}

TEST_F(SettingsFile, AnUnwritableProgramFolderSavesToTheUserFolderAndReadsItBack) {
    settings.iniPath = dir_ / "missing-folder" / "lorrin.ini";
    LoadSettings(settings, view, screen);
    settings.barHeight = 77;
    ASSERT_TRUE(SaveSettings(settings, view));
    EXPECT_FALSE(std::filesystem::exists(settings.iniPath));
    ASSERT_TRUE(std::filesystem::exists(settings.iniFallbackPath));
    Settings next = settings;
    next.barHeight = 0;
    LoadSettings(next, view, screen);
    EXPECT_EQ(next.barHeight, 77);
}

TEST_F(SettingsFile, BothFilesPresentTheNewerWins) {
    write(settings.iniPath, "[barcode]\nh=11\n");
    write(settings.iniFallbackPath, "[barcode]\nh=22\n");
    const auto now = std::filesystem::file_time_type::clock::now();
    std::filesystem::last_write_time(settings.iniPath, now - std::chrono::hours(1));
    std::filesystem::last_write_time(settings.iniFallbackPath, now);
    EXPECT_EQ(settingsFileToRead(settings), settings.iniFallbackPath);
    std::filesystem::last_write_time(settings.iniPath, now);
    EXPECT_EQ(settingsFileToRead(settings), settings.iniPath);  // a tie goes to the program's
}

TEST(BuildIniPath, UsesTheProgramFolderAndTheXdgConfigFolder) {
    Settings s;
    ::setenv("XDG_CONFIG_HOME", "/xdg", 1);
    BuildIniPath(s, "/opt/lorrin");
    EXPECT_EQ(s.iniPath, "/opt/lorrin/lorrin.ini");
    EXPECT_EQ(s.iniFallbackPath, "/xdg/lorrin/lorrin.ini");
    ::setenv("XDG_CONFIG_HOME", "relative", 1);
    ::setenv("HOME", "/home/u", 1);
    BuildIniPath(s, "/opt/lorrin");
    EXPECT_EQ(s.iniFallbackPath, "/home/u/.config/lorrin/lorrin.ini");
}

}  // namespace
}  // namespace lorrin
