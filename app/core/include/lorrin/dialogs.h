// The settings dialogs' behaviour: the basic settings (sizes and switches), the
// two-dimensional codes, the sound files, and the version lines.  Each dialog copies the
// settings into its controls when it opens and back only on OK.
#pragma once

#include "kelda_version.h"
#include "lorrin/settings.h"
#include "platform/services.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lorrin {

// The basic settings dialog's edit boxes and check boxes, in the order OK takes them over.
enum class SizeEdit { edtHeight, edtHeight2, edtNarrow, edtNWratio, edtGap };
enum class SizeCheck { chkSum, chkOCR, chkAddSum, chkWPConly };
inline constexpr std::array<SizeEdit, 5> kSizeEdits = {
    SizeEdit::edtHeight,  SizeEdit::edtHeight2, SizeEdit::edtNarrow,
    SizeEdit::edtNWratio, SizeEdit::edtGap,
};
inline constexpr std::array<SizeCheck, 4> kSizeChecks = {
    SizeCheck::chkSum,
    SizeCheck::chkOCR,
    SizeCheck::chkAddSum,
    SizeCheck::chkWPConly,
};

// A text read as a whole decimal number: an optional sign and digits, in 32 bits.
std::optional<std::int32_t> wholeNumber(std::string_view text);

// The message for a box whose text is not a whole number.
std::string conversionMessage(std::string_view text);

class SizeDialogView {
public:
    virtual ~SizeDialogView() = default;
    virtual std::string text(SizeEdit edit) const = 0;
    virtual void setText(SizeEdit edit, std::string_view text) = 0;
    virtual bool checked(SizeCheck box) const = 0;
    virtual void setChecked(SizeCheck box, bool on) = 0;
    // A message box over the dialog; returns when the user has read it.
    virtual void showError(std::string_view message) = 0;
    virtual void closeDialog() = 0;
};

class SizeDialog {
public:
    SizeDialog(SizeDialogView& view, Settings& settings) : view_(view), settings_(settings) {}
    void FormCreate();
    // Takes the boxes over in order; the first box that is not a whole number stops it
    // with a message, keeping what was taken before it, and the dialog stays open.
    void btnOKClick();
    void btnCancelClick();

private:
    SizeDialogView& view_;
    Settings& settings_;
};

// The two-dimensional codes' dialog: its lists and check boxes, in the order OK takes
// them over.
enum class MatrixList { cmbQrLevel, cmbQrVersion, cmbDmShape, cmbPdfLevel, cmbPdfColumns };
enum class MatrixCheck { chkQrUtf8, chkMatrixText };
inline constexpr std::array<MatrixList, 5> kMatrixLists = {
    MatrixList::cmbQrLevel,  MatrixList::cmbQrVersion,  MatrixList::cmbDmShape,
    MatrixList::cmbPdfLevel, MatrixList::cmbPdfColumns,
};
inline constexpr std::array<MatrixCheck, 2> kMatrixChecks = {
    MatrixCheck::chkQrUtf8,
    MatrixCheck::chkMatrixText,
};

// A list's entries as it shows them, lowest value first; "自動" leads the lists whose
// setting 0 leaves the choice to the encoder.
std::vector<std::string> matrixListEntries(MatrixList list);

class MatrixDialogView {
public:
    virtual ~MatrixDialogView() = default;
    // The selected entry of a list; -1 for none.
    virtual int selected(MatrixList list) const = 0;
    virtual void select(MatrixList list, int entry) = 0;
    virtual bool checked(MatrixCheck box) const = 0;
    virtual void setChecked(MatrixCheck box, bool on) = 0;
    virtual void closeDialog() = 0;
};

class MatrixDialog {
public:
    MatrixDialog(MatrixDialogView& view, Settings& settings) : view_(view), settings_(settings) {}
    // A setting no entry shows (a hand-edited file's) selects none.
    void FormCreate();
    // A list left without a selection keeps its setting as it was.
    void btnOKClick();
    void btnCancelClick();

private:
    MatrixDialogView& view_;
    Settings& settings_;
};

enum class SoundEdit { edtSoundOK, edtSoundNG };

// The message for a sound file whose path does not fit its settings field.
std::string pathTooLongMessage(std::string_view path);

class SoundDialogView {
public:
    virtual ~SoundDialogView() = default;
    virtual std::string text(SoundEdit edit) const = 0;
    virtual void setText(SoundEdit edit, std::string_view text) = 0;
    virtual bool soundChecked() const = 0;
    virtual void setSoundChecked(bool on) = 0;
    // The WAV file dialog; nullopt when the user cancels.
    virtual std::optional<std::string> pickWavFile() = 0;
    virtual void showError(std::string_view message) = 0;
    virtual void closeDialog() = 0;
};

class SoundDialog {
public:
    SoundDialog(SoundDialogView& view, Settings& settings, platform::Sound& sound)
        : view_(view), settings_(settings), sound_(sound) {}
    void FormCreate();
    // Paths longer than a settings field holds are refused with a message, never cut.
    void btnOKClick();
    void btnCancelClick();
    void btnRefGDClick() { pick(SoundEdit::edtSoundOK); }
    void btnRefBDClick() { pick(SoundEdit::edtSoundNG); }
    void Label1Click() { play(SoundEdit::edtSoundOK); }
    void Label2Click() { play(SoundEdit::edtSoundNG); }

private:
    void pick(SoundEdit edit);
    void play(SoundEdit edit);

    SoundDialogView& view_;
    Settings& settings_;
    platform::Sound& sound_;
};

// The version dialog's lines.  The programs and the library share the project's version.
inline constexpr std::string_view kVersionTitle = "Quillmark V" KELDA_VERSION_STRING;
// "for 64bit Linux": the word size and system the program was built for.
std::string builtForLine();

}  // namespace lorrin
