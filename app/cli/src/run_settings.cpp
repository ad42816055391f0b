#include "lorrin/cli/run_settings.h"

#include "lorrin/cli/report.h"

#include <array>
#include <climits>
#include <system_error>

namespace lorrin::cli {
namespace {

// The window's position has no meaning here: every position is on this screen.
class UnboundedScreen : public platform::Screen {
public:
    platform::ScreenSize size() const override { return {INT_MAX, INT_MAX}; }
};

// The list entry the desktop program would show; no selection means the first entry.
int shownEntry(int selection) { return selection < 0 ? 0 : selection; }

struct ModuleRange {
    std::int32_t low;
    std::int32_t high;

    bool holds(std::int32_t modules) const { return modules >= low && modules <= high; }
    std::string text() const {
        return low == high ? std::to_string(low)
                           : format(tr("%1 to %2"), {std::to_string(low), std::to_string(high)});
    }
};

// What scanners are built to read, in whole modules, for the symbologies whose encoders
// take the wide element and the intercharacter gap.  The wide:narrow ratio is 2.0 to 3.0
// for Code 39 (ISO/IEC 16388) and ITF (ISO/IEC 16390), 2.25 to 3.0 for NW-7
// (AIM USS-Codabar); the gap is at least one module and at most 5.3 (ISO/IEC 16388, for
// narrow elements under 0.287 mm).  Those ends hold at some printed sizes only (2.0 from
// 0.5 mm, 5.3 below 0.287 mm), and a picture file does not fix its printed size, so a
// value that some size allows is taken.
struct ElementLimits {
    int typeIndex;  // entry of the symbology list
    ModuleRange wide;
    std::optional<ModuleRange> gap;  // none: the symbology has no intercharacter gap
};
constexpr std::array<ElementLimits, 3> kElementLimits = {{
    {kNw7, {3, 3}, ModuleRange{1, 5}},
    {kCode39, {2, 3}, ModuleRange{1, 5}},
    {kItf, {2, 3}, std::nullopt},
}};

}  // namespace

std::optional<RunSettings> runSettings(const Options& options,
                                       const std::filesystem::path& programDir) {
    RunSettings run;
    if (options.settingsFile) {
        std::error_code ec;
        if (!std::filesystem::is_regular_file(*options.settingsFile, ec)) return std::nullopt;
        run.settings.iniPath = *options.settingsFile;
    } else {
        run.notices = BuildIniPath(run.settings, programDir);
    }
    ViewState lists;
    if (std::string refused = LoadSettings(run.settings, lists, UnboundedScreen{});
        !refused.empty())
        run.notices.push_back(std::move(refused));
    options.settings.applyTo(run.settings);
    run.typeIndex = options.typeIndex.value_or(shownEntry(lists.type));
    run.angleIndex = options.angleIndex.value_or(shownEntry(lists.angle));
    return run;
}

std::filesystem::path programDir(const char* argv0) {
    std::error_code ec;
    const auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (!ec) return self.parent_path();
    return std::filesystem::absolute(argv0, ec).parent_path();
}

std::string unreadableSetting(const Settings& settings, const SymbologySet& used) {
    const auto refusal = [&](SettingsField field, int type, ModuleRange range) {
        return format(tr("%1 gives no readable %2: it takes %3 modules"),
                      {named(field, settings), kSymbologyNames[static_cast<std::size_t>(type)],
                       range.text()});
    };
    for (const ElementLimits& l : kElementLimits)
        if (used[static_cast<std::size_t>(l.typeIndex)] && !l.wide.holds(settings.wideRatio))
            return refusal(&Settings::wideRatio, l.typeIndex, l.wide);
    for (const ElementLimits& l : kElementLimits)
        if (used[static_cast<std::size_t>(l.typeIndex)] && l.gap && !l.gap->holds(settings.charGap))
            return refusal(&Settings::charGap, l.typeIndex, *l.gap);
    return {};
}

}  // namespace lorrin::cli
