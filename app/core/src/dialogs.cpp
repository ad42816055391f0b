#include "lorrin/dialogs.h"

#include "lorrin/ansi_text.h"
#include "lorrin/language.h"
#include "matrix/matrix.h"

#include <algorithm>
#include <charconv>
#include <span>

namespace lorrin {
namespace {

// Each edit box's settings field.
constexpr std::array<std::int32_t Settings::*, 5> kSizeFields = {
    &Settings::barHeight, &Settings::guardExtra, &Settings::narrowWidth,
    &Settings::wideRatio, &Settings::charGap,
};
static_assert(kSizeFields.size() == kSizeEdits.size(), "one field per edit box");

// Each check box's settings field.
constexpr std::array<std::int32_t Settings::*, 4> kSizeSwitches = {
    &Settings::checkSum,
    &Settings::ocrDisp,
    &Settings::addSum,
    &Settings::wpcOnly,
};
static_assert(kSizeSwitches.size() == kSizeChecks.size(), "one field per check box");

// QR Code's levels with the share of the symbol each can restore.
constexpr std::array<std::string_view, 4> kQrLevelNames = {
    "L (7%)",
    "M (15%)",
    "Q (25%)",
    "H (30%)",
};
constexpr std::array<std::string_view, 2> kDmShapeNames = {"正方形", "長方形"};
constexpr std::string_view kAutomatic = "自動";

// A list's settings field: its entries stand for `low` to `high` in order, after an
// entry "自動" for 0 where the field has one.  Named values show by name, others as
// numbers.
struct MatrixListField {
    std::int32_t Settings::*field;
    bool automatic;
    std::int32_t low;
    std::int32_t high;
    std::span<const std::string_view> names;

    constexpr std::size_t values() const { return static_cast<std::size_t>(high - low + 1); }
    int firstValueEntry() const { return automatic ? 1 : 0; }
    int entries() const { return firstValueEntry() + static_cast<int>(values()); }

    int entryOf(std::int32_t value) const {
        if (automatic && value == 0) return 0;
        if (value < low || value > high) return -1;
        return firstValueEntry() + (value - low);
    }
    std::optional<std::int32_t> valueOf(int entry) const {
        if (entry < 0 || entry >= entries()) return std::nullopt;
        if (entry < firstValueEntry()) return 0;
        return low + (entry - firstValueEntry());
    }
};

// In the order of MatrixList.
constexpr std::array<MatrixListField, 5> kMatrixListFields = {{
    {&Settings::qrLevel, false, 0, 3, kQrLevelNames},
    {&Settings::qrVersion, true, 1, matrix::kQrVersionMax, {}},
    {&Settings::dmShape, false, 0, 1, kDmShapeNames},
    {&Settings::pdfLevel, true, matrix::kPdf417LevelMin, matrix::kPdf417LevelMax, {}},
    {&Settings::pdfColumns, true, 1, matrix::kPdf417ColumnsMax, {}},
}};
static_assert(kMatrixListFields.size() == kMatrixLists.size(), "one field per list");
static_assert(std::ranges::all_of(kMatrixListFields,
                                  [](const MatrixListField& f) {
                                      return f.names.empty() || f.names.size() == f.values();
                                  }),
              "a name for every value of a named list");

const MatrixListField& matrixListField(MatrixList list) {
    return kMatrixListFields[static_cast<std::size_t>(list)];
}

// In the order of kMatrixChecks.
constexpr std::array<std::int32_t Settings::*, 2> kMatrixSwitches = {
    &Settings::qrUtf8,
    &Settings::matrixText,
};
static_assert(kMatrixSwitches.size() == kMatrixChecks.size(), "one field per check box");

// A path is measured as its settings field holds it: in CP932 bytes.
bool fitsSoundField(std::string_view path) { return cp932Length(path) < kSoundPathSize; }

constexpr std::string_view kSystemName =
#if defined(_WIN32)
    "Windows";
#elif defined(__APPLE__)
    "macOS";
#elif defined(__linux__)
    "Linux";
#elif defined(__FreeBSD__)
    "FreeBSD";
#else
    "Unix";
#endif

}  // namespace

std::optional<std::int32_t> wholeNumber(std::string_view text) {
    const bool plus = text.starts_with('+');
    if (plus) text.remove_prefix(1);
    if (plus && text.starts_with('-')) return std::nullopt;
    std::int32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

std::string conversionMessage(std::string_view text) {
    return format(translate("messages", "'%1' は整数ではありません"), {text});
}

void SizeDialog::FormCreate() {
    for (std::size_t i = 0; i < kSizeEdits.size(); ++i)
        view_.setText(kSizeEdits[i], std::to_string(settings_.*kSizeFields[i]));
    for (std::size_t i = 0; i < kSizeChecks.size(); ++i)
        view_.setChecked(kSizeChecks[i], settings_.*kSizeSwitches[i] != 0);
}

void SizeDialog::btnOKClick() {
    for (std::size_t i = 0; i < kSizeEdits.size(); ++i) {
        const std::string text = view_.text(kSizeEdits[i]);
        const auto value = wholeNumber(text);
        if (!value) {
            view_.showError(conversionMessage(text));
            return;
        }
        settings_.*kSizeFields[i] = *value;
    }
    for (std::size_t i = 0; i < kSizeChecks.size(); ++i)
        settings_.*kSizeSwitches[i] = view_.checked(kSizeChecks[i]) ? 1 : 0;
    view_.closeDialog();
}

void SizeDialog::btnCancelClick() { view_.closeDialog(); }

std::vector<std::string> matrixListEntries(MatrixList list) {
    const MatrixListField& f = matrixListField(list);
    std::vector<std::string> entries;
    if (f.automatic) entries.emplace_back(translate("lists", kAutomatic));
    for (std::int32_t value = f.low; value <= f.high; ++value) {
        const auto at = static_cast<std::size_t>(value - f.low);
        entries.push_back(f.names.empty() ? std::to_string(value)
                                          : std::string(translate("lists", f.names[at])));
    }
    return entries;
}

void MatrixDialog::FormCreate() {
    for (MatrixList list : kMatrixLists) {
        const MatrixListField& f = matrixListField(list);
        view_.select(list, f.entryOf(settings_.*f.field));
    }
    for (std::size_t i = 0; i < kMatrixChecks.size(); ++i)
        view_.setChecked(kMatrixChecks[i], settings_.*kMatrixSwitches[i] != 0);
}

void MatrixDialog::btnOKClick() {
    for (MatrixList list : kMatrixLists) {
        const MatrixListField& f = matrixListField(list);
        if (const auto value = f.valueOf(view_.selected(list))) settings_.*f.field = *value;
    }
    for (std::size_t i = 0; i < kMatrixChecks.size(); ++i)
        settings_.*kMatrixSwitches[i] = view_.checked(kMatrixChecks[i]) ? 1 : 0;
    view_.closeDialog();
}

void MatrixDialog::btnCancelClick() { view_.closeDialog(); }

std::string pathTooLongMessage(std::string_view path) {
    return format(translate("messages", "'%1' は長すぎます(%2ﾊﾞｲﾄまで)"),
                  {path, std::to_string(kSoundPathSize - 1)});
}

void SoundDialog::FormCreate() {
    view_.setText(SoundEdit::edtSoundOK, settings_.soundOk);
    view_.setText(SoundEdit::edtSoundNG, settings_.soundNg);
    view_.setSoundChecked(settings_.soundOn != 0);
}

void SoundDialog::btnOKClick() {
    const std::string ok = view_.text(SoundEdit::edtSoundOK);
    const std::string ng = view_.text(SoundEdit::edtSoundNG);
    for (const std::string& path : {ok, ng}) {
        if (!fitsSoundField(path)) {
            view_.showError(pathTooLongMessage(path));
            return;
        }
    }
    settings_.soundOk = ok;
    settings_.soundNg = ng;
    settings_.soundOn = view_.soundChecked() ? 1 : 0;
    view_.closeDialog();
}

void SoundDialog::btnCancelClick() { view_.closeDialog(); }

void SoundDialog::pick(SoundEdit edit) {
    const auto path = view_.pickWavFile();
    if (!path) return;
    if (!fitsSoundField(*path)) {
        view_.showError(pathTooLongMessage(*path));
        return;
    }
    view_.setText(edit, *path);
    sound_.playAsync(*path);
}

void SoundDialog::play(SoundEdit edit) {
    const std::string path = view_.text(edit);
    if (!path.empty()) sound_.playAsync(path);
}

std::string builtForLine() {
    return "for " + std::to_string(sizeof(void*) * 8) + "bit " + std::string(kSystemName);
}

}  // namespace lorrin
