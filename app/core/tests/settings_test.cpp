#include "lorrin/settings.h"
#include "lorrin/ansi_text.h"
#include "lorrin/test/fakes.h"
#include "platform/profile.h"
#include "test_support/temp_folder.h"

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace lorrin {
namespace {

namespace fs = std::filesystem;

// A face name of 30 double-byte characters, 60 bytes in CP932.
constexpr std::string_view kJapaneseName =
    "あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほ";
// A Windows path whose CP932 form has '\\' as the second byte of "ソ" and "表".
constexpr std::string_view kJapanesePath = "C:\\ソフト\\表示.wav";

// lorrin.ini as the program leaves it on a Japanese Windows system: CR LF, Shift-JIS texts.
std::string windowsFile() {
    return "[barcode]\r\nh=50\r\ngh=5\r\nwn=3\r\nnarrow=1\r\ngap=2\r\ncheck=1\r\nocrdisp=1\r\n"
           "addsum=0\r\nbeep=1\r\nclipmode=0\r\nwpconly=1\r\ntype=0\r\nangle=0\r\n[font]\r\nname=" +
           toCp932(kJapaneseName) + "\r\nsize=9\r\n[sound]\r\nok=" + toCp932(kJapanesePath) +
           "\r\nng=\r\n[loc]\r\nx=50\r\ny=50\r\n";
}

class SettingsFile : public test_support::TempFolderTest {
protected:
    void SetUp() override {
        fresh();
        settings.iniPath = dir_ / "program" / "lorrin.ini";
        settings.iniFallbackPath = dir_ / "config" / "lorrin" / "lorrin.ini";
    }
    void fresh() {
        folder_.clear();
        fs::create_directories(dir_ / "program");
    }
    void write(const fs::path& path, std::string_view text) {
        fs::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << text;
    }
    static std::string read(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    // What lies at `path`, to tell whether a save left it alone.
    static std::string snapshot(const fs::path& path) {
        const fs::file_status status = fs::symlink_status(path);
        if (fs::is_symlink(status)) return "link to " + fs::read_symlink(path).string();
        if (fs::is_directory(status)) return "folder";
        if (!fs::exists(status)) return "nothing";
        // A large file by its size and a digest, so a failure does not print it whole.
        std::string contents = read(path);
        if (contents.size() > 4096)
            contents = std::to_string(contents.size()) + " bytes, digest " +
                       std::to_string(std::hash<std::string>{}(contents));
        return std::to_string(static_cast<unsigned>(status.permissions())) + " " + contents;
    }
    // The bar height a fresh start reads.
    std::int32_t barHeightAtStart() {
        Settings next = settings;
        LoadSettings(next, view, screen);
        return next.barHeight;
    }

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
    write(settings.iniPath, "[barcode]\ntype=10\nangle=-3\nclipmode=1\n");
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
    // The long values stay whole in the file while the fields hold them cut.
    const std::array<std::string, 5> kKept = {"; mine\n", "style=bold\n", "[extra]\nkeep=1\n",
                                              "name=" + font + "\n", "ok=" + sound + "\n"};
    for (const std::string& kept : kKept) EXPECT_NE(saved.find(kept), std::string::npos) << kept;
}

struct UnusableRow {
    std::string_view what;
    void (*make)(const fs::path& ini);
    std::int32_t barHeight;  // as the first start reads it
};

// The program's own file cannot be used: a start reads what it can (the defaults when
// nothing), every save goes to the user's folder and leaves the program's file as it was,
// and the next start reads the saved copy.
const std::array<UnusableRow, 5> kUnusable = {{
    /* 0 */ {"a folder named lorrin.ini", [](const fs::path& ini) { fs::create_directory(ini); },
             50},
    /* 1 */
    {"a file that fails to read",
     [](const fs::path& ini) { fs::create_symlink("/proc/self/mem", ini); }, 50},
    /* 2 */
    {"a read-only file",
     [](const fs::path& ini) {
         std::ofstream(ini) << "[barcode]\nh=33\n";
         fs::permissions(ini,
                         fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
     },
     33},
    /* 3 */ {"no program folder", [](const fs::path& ini) { fs::remove(ini.parent_path()); }, 50},
    // Readable, but over the size limit: the writer could replace it, the guard must not.
    /* 4 */
    {"a file over the size limit",
     [](const fs::path& ini) {
         std::ofstream(ini) << "[barcode]\nh=33\n"
                            << std::string(platform::ProfileFile::kMaxFileSize, ';') << "\n";
     },
     50},
}};

TEST_F(SettingsFile, AnUnusableProgramFileGivesWayToTheUserFolder) {
    for (std::size_t i = 0; i < kUnusable.size(); ++i) {
        const UnusableRow& row = kUnusable[i];
        if (i == 1 && !fs::exists("/proc/self/mem")) continue;
        fresh();
        row.make(settings.iniPath);
        const std::string before = snapshot(settings.iniPath);
        settings.barHeight = 1;
        LoadSettings(settings, view, screen);
        EXPECT_EQ(settings.barHeight, row.barHeight) << row.what;
        for (const std::int32_t height : {77, 78}) {
            settings.barHeight = height;
            ASSERT_TRUE(SaveSettings(settings, view)) << row.what;
            EXPECT_EQ(snapshot(settings.iniPath), before) << row.what;
            EXPECT_EQ(barHeightAtStart(), height) << row.what;
        }
    }
}

// A settings file is read up to the size limit, well above any a person writes; one over it
// is named, with the reason, and kept as it is.
TEST_F(SettingsFile, LargeFilesAreReadAndOnesOverTheLimitNamed) {
    const std::string padding(1'200'000, ';');
    write(settings.iniPath, "[barcode]\n" + padding + "\nh=33\n");
    EXPECT_EQ(LoadSettings(settings, view, screen), "");
    EXPECT_EQ(settings.barHeight, 33);

    write(settings.iniPath, "[barcode]\nh=33\n" + std::string(20'000'000, ';') + "\n");
    EXPECT_EQ(LoadSettings(settings, view, screen),
              settings.iniPath.string() +
                  " is not read (larger than 16 MiB): the defaults are used, and the file is kept "
                  "as it is");
    EXPECT_EQ(settings.barHeight, 50);
}

// `ln -s /dev/null lorrin.ini` stops nothing and breaks nothing: the node is never replaced,
// and the saves go to the user's folder, where the next start reads them.
TEST_F(SettingsFile, ALinkToADeviceIsNeverReplaced) {
    if (::geteuid() != 0) GTEST_SKIP() << "a device node needs the superuser to make";
    const fs::path node = dir_ / "null";
    ASSERT_EQ(::mknod(node.c_str(), S_IFCHR | 0666, makedev(1, 3)), 0);
    fs::create_symlink(node, settings.iniPath);
    for (const std::int32_t height : {77, 78}) {
        LoadSettings(settings, view, screen);
        settings.barHeight = height;
        ASSERT_TRUE(SaveSettings(settings, view));
        EXPECT_TRUE(fs::is_character_file(fs::symlink_status(node)));
        EXPECT_TRUE(fs::is_symlink(settings.iniPath));
        EXPECT_EQ(barHeightAtStart(), height);
    }
}

struct LinkRow {
    std::string_view what;
    void (*make)(const fs::path& ini);
    std::int32_t barHeight;  // as the first start reads it
};

// lorrin.ini is a link into a shared folder holding h=33; an older copy with h=99 lies in
// the user's folder.  Saves go through the link and leave it a link.
const std::array<LinkRow, 4> kLinks = {{
    /* 0 */ {"absolute",
             [](const fs::path& ini) {
                 fs::create_symlink(ini.parent_path().parent_path() / "shared" / "real.ini", ini);
             },
             33},
    /* 1 */
    {"relative", [](const fs::path& ini) { fs::create_symlink("../shared/real.ini", ini); }, 33},
    /* 2 */
    {"a chain",
     [](const fs::path& ini) {
         fs::create_symlink("../shared/real.ini", ini.parent_path() / "next.ini");
         fs::create_symlink("next.ini", ini);
     },
     33},
    // Nothing at the link's end yet: the user's copy is read, the save makes the target.
    /* 3 */
    {"dangling",
     [](const fs::path& ini) {
         fs::remove(ini.parent_path().parent_path() / "shared" / "real.ini");
         fs::create_symlink("../shared/real.ini", ini);
     },
     99},
}};

TEST_F(SettingsFile, ALinkedFileIsReadAndWrittenThroughTheLink) {
    for (const LinkRow& row : kLinks) {
        fresh();
        const fs::path real = dir_ / "shared" / "real.ini";
        write(real, "[barcode]\nh=33\n; shared\n");
        write(settings.iniFallbackPath, "[barcode]\nh=99\n");
        fs::last_write_time(settings.iniFallbackPath,
                            fs::file_time_type::clock::now() - std::chrono::hours(1));
        row.make(settings.iniPath);
        const std::string link = snapshot(settings.iniPath);

        LoadSettings(settings, view, screen);
        EXPECT_EQ(settings.barHeight, row.barHeight) << row.what;
        settings.barHeight = 44;
        ASSERT_TRUE(SaveSettings(settings, view)) << row.what;
        EXPECT_EQ(snapshot(settings.iniPath), link) << row.what;
        EXPECT_NE(read(real).find("h=44\n"), std::string::npos) << row.what;
        EXPECT_EQ(read(settings.iniFallbackPath), "[barcode]\nh=99\n") << row.what;
        EXPECT_EQ(barHeightAtStart(), 44) << row.what;
    }
}

TEST_F(SettingsFile, AJapaneseWindowsFileKeepsItsTexts) {
    const std::string original = windowsFile();
    write(settings.iniPath, original);
    LoadSettings(settings, view, screen);
    // 19 characters of the 30 fit the 39 bytes of the field.
    EXPECT_EQ(settings.fontName, kJapaneseName.substr(0, 19 * 3));
    EXPECT_EQ(settings.soundOk, kJapanesePath);

    // Unchanged texts keep their Shift-JIS bytes, whole.
    ASSERT_TRUE(SaveSettings(settings, view));
    EXPECT_EQ(read(settings.iniPath), original);
    settings.fontSize = 12;
    ASSERT_TRUE(SaveSettings(settings, view));
    std::string expected = original;
    expected.replace(expected.find("size=9"), 6, "size=12");
    EXPECT_EQ(read(settings.iniPath), expected);

    // A text the user changed is written as the program holds it.
    settings.fontName = "IPAゴシック";
    ASSERT_TRUE(SaveSettings(settings, view));
    EXPECT_NE(read(settings.iniPath).find("\r\nname=IPAゴシック\r\n"), std::string::npos);
}

TEST_F(SettingsFile, LoadThenSaveKeepsEveryByte) {
    // Every key present, as each file spells it.
    const std::array<std::string, 3> kFiles = {
        windowsFile(),
        // The two-dimensional codes' keys, at their defaults and not, stay as they are.
        "[barcode]\nh=50\ngh=5\nwn=3\nnarrow=1\ngap=2\ncheck=1\nocrdisp=1\naddsum=0\n"
        "beep=1\nclipmode=0\nwpconly=1\ntype=9\nangle=0\n[font]\nname=Arial\nsize=9\n"
        "[sound]\nok=\nng=\n[loc]\nx=50\ny=50\n[matrix]\nqrecc=1\nqrversion=7\ndmshape=1\n",
        "\xEF\xBB\xBF; mine\r\r\n[Barcode]\nH=50\r\r\ngh = 5\nwn=3\nnarrow=01\ngap=2\ncheck=1\n"
        "ocrdisp=1\naddsum=0\nbeep=1\nclipmode=0\nwpconly=1\ntype=0\nangle=0\n\n[font]\n"
        "name=\"Liberation Sans\"\r\r\nsize=9\n[sound]\nok=\nng=\n[loc]\nx=50\ny=50",
    };
    for (std::size_t i = 0; i < kFiles.size(); ++i) {
        write(settings.iniPath, kFiles[i]);
        for (int save = 0; save < 2; ++save) {
            LoadSettings(settings, view, screen);
            ASSERT_TRUE(SaveSettings(settings, view));
            EXPECT_EQ(read(settings.iniPath), kFiles[i]) << "row " << i << " save " << save;
        }
    }
}

// The two-dimensional codes' settings come back as saved; a file without them (an older
// program's) gives their defaults and saves without them while they stay at the defaults.
TEST_F(SettingsFile, TwoDimensionalSettingsRoundTripAndStayOutOfOlderFiles) {
    struct Field {
        std::int32_t Settings::*field;
        std::string_view key;
        std::int32_t defaultValue;
        std::int32_t other;
    };
    const std::array<Field, 7> fields = {{
        {&Settings::qrLevel, "qrecc", 1, 3},
        {&Settings::qrVersion, "qrversion", 0, 40},
        {&Settings::qrUtf8, "qrutf8", 0, 1},
        {&Settings::dmShape, "dmshape", 0, 1},
        {&Settings::pdfLevel, "pdfecc", 0, 8},
        {&Settings::pdfColumns, "pdfcolumns", 0, 30},
        {&Settings::matrixText, "text", 0, 1},
    }};
    write(settings.iniPath, "[barcode]\nh=60\n");
    LoadSettings(settings, view, screen);
    for (const Field& f : fields) EXPECT_EQ(settings.*f.field, f.defaultValue) << f.key;
    ASSERT_TRUE(SaveSettings(settings, view));
    EXPECT_EQ(read(settings.iniPath).find("[matrix]"), std::string::npos);

    for (const Field& f : fields) {
        settings.*f.field = f.other;
        ASSERT_TRUE(SaveSettings(settings, view));
        Settings loaded = settings;
        loaded.*f.field = f.defaultValue;
        LoadSettings(loaded, view, screen);
        EXPECT_EQ(loaded.*f.field, f.other) << f.key;
        EXPECT_NE(read(settings.iniPath).find(std::string(f.key) + "=" + std::to_string(f.other)),
                  std::string::npos);
    }
}

TEST_F(SettingsFile, BothFilesPresentTheNewerWins) {
    write(settings.iniPath, "[barcode]\nh=11\n");
    write(settings.iniFallbackPath, "[barcode]\nh=22\n");
    const auto now = fs::file_time_type::clock::now();
    fs::last_write_time(settings.iniFallbackPath, now - std::chrono::hours(1));
    fs::last_write_time(settings.iniPath, now);
    EXPECT_EQ(settingsFileToRead(settings), settings.iniPath);
    // The user's copy is written only after the program's file refused: a tie is its.
    fs::last_write_time(settings.iniFallbackPath, now);
    EXPECT_EQ(settingsFileToRead(settings), settings.iniFallbackPath);
}

// An installed program's settings: the user's file over the system-wide defaults, the
// first of those folders over the later ones; nothing but the user's file is written.
TEST_F(SettingsFile, SystemDefaultsLieUnderTheUsersFile) {
    const fs::path first = dir_ / "etc1" / "lorrin" / "lorrin.ini";
    const fs::path second = dir_ / "etc2" / "lorrin" / "lorrin.ini";
    const fs::path unreadable = dir_ / "etc0" / "lorrin" / "lorrin.ini";
    fs::create_directories(unreadable);
    const std::string firstText = "[barcode]\nh=60\ngap=3\n[matrix]\nqrecc=3\n";
    const std::string secondText = "[barcode]\nh=70\nwn=2\n[font]\nname=Mincho\n[loc]\nx=7\n";
    write(first, firstText);
    write(second, secondText);
    settings.iniPath.clear();
    settings.defaultsPaths = {unreadable, first, second};
    write(settings.iniFallbackPath, "[barcode]\ngap=4\n");

    LoadSettings(settings, view, screen);
    struct Row {
        std::int32_t value;
        std::int32_t expected;
        std::string_view what;
    };
    const std::array<Row, 6> kRows = {{
        /* 0 */ {settings.barHeight, 60, "the first defaults over the second"},
        /* 1 */ {settings.wideRatio, 2, "the second defaults where the first lack the key"},
        /* 2 */ {settings.charGap, 4, "the user's file over the defaults"},
        /* 3 */ {settings.narrowWidth, 1, "built in where none has the key"},
        /* 4 */ {settings.qrLevel, 3, "a two-dimensional key"},
        /* 5 */ {view.where.x, 7, "the window's place"},
    }};
    for (const Row& row : kRows) EXPECT_EQ(row.value, row.expected) << row.what;
    EXPECT_EQ(settings.fontName, "Mincho");

    // Keys the user never changed stay out of the user's file, so the defaults' later
    // changes still reach the user; a changed one goes in.
    settings.wideRatio = 3;
    ASSERT_TRUE(SaveSettings(settings, view));
    const std::string saved = read(settings.iniFallbackPath);
    for (const std::string_view absent : {"h=", "qrecc=", "name=", "x="})
        EXPECT_EQ(saved.find("\n" + std::string(absent)), std::string::npos) << absent << saved;
    for (const std::string_view present : {"gap=4\n", "wn=3\n", "narrow=1\n", "y=50\n"})
        EXPECT_NE(saved.find(present), std::string::npos) << present << saved;
    EXPECT_EQ(read(first), firstText);
    EXPECT_EQ(read(second), secondText);
    write(second, "[barcode]\nh=70\n[font]\nname=Gothic\n");
    Settings next = settings;
    LoadSettings(next, view, screen);
    EXPECT_EQ(next.fontName, "Gothic");
    EXPECT_EQ(next.wideRatio, 3);
}

TEST(SettingsPlace, SystemPrefixesAreWholeFolderNames) {
    struct Row {
        std::string_view folder;
        bool system;
    };
    constexpr std::array<Row, 12> kRows = {{
        /* 0 */ {"/usr/bin", true},
        /* 1 */ {"/usr/local/bin", true},
        /* 2 */ {"/opt/lorrin/bin/", true},
        /* 3 */ {"/nix/store/abc-lorrin/bin", true},
        /* 4 */ {"/snap/lorrin/12/bin", true},
        /* 5 */ {"/usr", true},
        /* 6 */ {"/usrx/bin", false},
        /* 7 */ {"/home/u/opt/bin", false},
        /* 8 */ {"/nix/var/bin", false},
        /* 9 */ {"/usr/../home/u/build", false},
        /* 10 */ {"usr/bin", false},
        /* 11 */ {"/home/u/../../opt/x", true},
    }};
    for (std::size_t i = 0; i < kRows.size(); ++i)
        EXPECT_EQ(underSystemPrefix(kRows[i].folder), kRows[i].system) << "row " << i;
}

TEST(SettingsPlace, TheProgramFolderAndItsFilesDecide) {
    using enum FileOwner;
    using enum SettingsUse;
    struct Row {
        SettingsScene scene;  // system folder, user's folder, beside, writable, config
        SettingsPlan plan;    // beside, config, system defaults
    };
    constexpr std::array<Row, 14> kRows = {{
        // Installed: the configuration folder over the defaults; a file beside is named.
        /* 0 */ {{true, false, kNothing, false, kNothing}, {kUnused, kUsed, true}},
        /* 1 */ {{true, true, kUser, true, kUser}, {kPassedOver, kUsed, true}},
        /* 2 */ {{true, false, kOther, false, kNothing}, {kPassedOver, kUsed, true}},
        // The user's own folder: beside the program, the configuration folder behind it.
        /* 3 */ {{false, true, kNothing, false, kNothing}, {kUsed, kUsed, false}},
        /* 4 */ {{false, true, kUser, false, kUser}, {kUsed, kUsed, false}},
        // ... unless another user's file lies there.
        /* 5 */ {{false, true, kOther, false, kUser}, {kPassedOver, kUsed, true}},
        // Another user's folder: beside it only with the user's own writable file.
        /* 6 */ {{false, false, kNothing, false, kNothing}, {kUnused, kUsed, true}},
        /* 7 */ {{false, false, kUser, true, kNothing}, {kUsed, kUsed, false}},
        /* 8 */ {{false, false, kUser, false, kNothing}, {kPassedOver, kUsed, true}},
        /* 9 */ {{false, false, kOther, false, kUser}, {kUnused, kUsed, true}},
        // Another user's file in the configuration folder is neither read nor written.
        /* 10 */ {{true, false, kNothing, false, kOther}, {kUnused, kPassedOver, true}},
        /* 11 */ {{false, true, kUser, true, kOther}, {kUsed, kPassedOver, false}},
        // A system folder never keeps the settings, whoever owns it and its file.
        /* 12 */ {{true, true, kNothing, false, kNothing}, {kUnused, kUsed, true}},
        /* 13 */ {{true, false, kUser, true, kNothing}, {kPassedOver, kUsed, true}},
    }};
    for (std::size_t i = 0; i < kRows.size(); ++i) {
        const SettingsPlan plan = planSettings(kRows[i].scene);
        EXPECT_EQ(plan.beside, kRows[i].plan.beside) << "row " << i;
        EXPECT_EQ(plan.config, kRows[i].plan.config) << "row " << i;
        EXPECT_EQ(plan.systemDefaults, kRows[i].plan.systemDefaults) << "row " << i;
    }
}

TEST(BuildIniPath, AnInstalledProgramReadsTheSystemDefaults) {
    Settings settings;
    ::setenv("XDG_CONFIG_HOME", "/xdg", 1);
    struct Row {
        const char* dirs;  // nullptr: unset
        std::vector<fs::path> defaults;
    };
    const std::array<Row, 4> kRows = {{
        /* 0 */ {nullptr, {"/etc/xdg/lorrin/lorrin.ini"}},
        /* 1 */ {"", {"/etc/xdg/lorrin/lorrin.ini"}},
        /* 2 */ {"/a:relative::/b/", {"/a/lorrin/lorrin.ini", "/b/lorrin/lorrin.ini"}},
        /* 3 */ {"relative", {}},
    }};
    for (std::size_t i = 0; i < kRows.size(); ++i) {
        if (kRows[i].dirs != nullptr)
            ::setenv("XDG_CONFIG_DIRS", kRows[i].dirs, 1);
        else
            ::unsetenv("XDG_CONFIG_DIRS");
        BuildIniPath(settings, "/usr/bin");
        EXPECT_EQ(settings.iniPath, "") << "row " << i;
        EXPECT_EQ(settings.iniFallbackPath, "/xdg/lorrin/lorrin.ini") << "row " << i;
        EXPECT_EQ(settings.defaultsPaths, kRows[i].defaults) << "row " << i;
    }
    ::unsetenv("XDG_CONFIG_HOME");
    ::unsetenv("XDG_CONFIG_DIRS");
}

}  // namespace
}  // namespace lorrin
