#include "tfrm_size.h"

#include "qt_adapter.h"
#include "window_frame.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

#include <array>

namespace lorrin::qt {
namespace {

struct EditRow {
    SizeEdit edit;
    const char* labelName;
    const char* label;
    int labelLeft;
    const char* editName;
    int top;  // of the edit box; its label sits 8 pixels lower
};

// The edit boxes in tab order, each with its label.
constexpr std::array<EditRow, 5> kEditRows = {{
    {SizeEdit::edtHeight, "Label1", "ﾊﾞｰｺｰﾄﾞ高さ", 32, "edtHeight", 8},
    {SizeEdit::edtHeight2, "Label2", "ｶﾞｰﾄﾞﾊﾞｰ高さ増分", 8, "edtHeight2", 32},
    {SizeEdit::edtNarrow, "Label3", "ﾅﾛｰﾊﾞｰ幅", 40, "edtNarrow", 56},
    {SizeEdit::edtNWratio, "Label5", "太/細ﾊﾞｰ幅比", 24, "edtNWratio", 80},
    {SizeEdit::edtGap, "Label4", "ｷｬﾗｸﾀ間ｷﾞｬｯﾌﾟ", 16, "edtGap", 104},
}};

struct CheckRow {
    SizeCheck box;
    const char* name;
    const char* caption;
    int top;
    int width;
};

// The check boxes in tab order.
constexpr std::array<CheckRow, 4> kCheckRows = {{
    {SizeCheck::chkSum, "chkSum", "ITF/NW7/C39時はﾁｪｯｸｻﾑを付ける", 136, 233},
    {SizeCheck::chkOCR, "chkOCR", "OCR文字を表示する", 158, 233},
    {SizeCheck::chkAddSum, "chkAddSum", "OCR文字にﾁｪｯｸｻﾑやﾍｯﾀﾞを付加する", 180, 233},
    {SizeCheck::chkWPConly, "chkWPConly", "ｸﾘｯﾌﾟﾎﾞｰﾄﾞ監視機能をWPCコードに限定", 201, 247},
}};

}  // namespace

TfrmSize::TfrmSize(Settings& settings, QWidget* parent)
    : QDialog(parent), dialog_(*this, settings) {
    frameDialog(*this, "frmSize", QStringLiteral("基本設定"), 267, 225);
    std::vector<QWidget*> tabOrder;
    for (const EditRow& row : kEditRows) {
        place(new QLabel(QString::fromUtf8(row.label), this), row.labelName, row.labelLeft,
              row.top + 8, 104 - row.labelLeft, 12);
        QLineEdit* edit = place(new QLineEdit(this), row.editName, 104, row.top, 57, 20);
        edits_[row.edit] = edit;
        tabOrder.push_back(edit);
    }
    auto* note = place(new QLabel(QStringLiteral("数値はﾋﾟｸｾﾙ数で指定して下さい。"), this),
                       "Label6", 176, 80, 67, 36);
    note->setWordWrap(true);
    note->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    for (const CheckRow& row : kCheckRows) {
        QCheckBox* box = place(new QCheckBox(QString::fromUtf8(row.caption), this), row.name, 9,
                               row.top, row.width, 17);
        checks_[row.box] = box;
        tabOrder.push_back(box);
    }
    auto* ok = place(new QPushButton(QStringLiteral("OK"), this), "btnOK", 192, 8, 67, 22);
    ok->setDefault(true);
    auto* cancel =
        place(new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this), "btnCancel", 192, 36, 67, 22);
    tabOrder.insert(tabOrder.end(), {ok, cancel});
    setTabOrderChain(tabOrder);
    connect(ok, &QPushButton::clicked, this, [this] { dialog_.btnOKClick(); });
    connect(cancel, &QPushButton::clicked, this, [this] { dialog_.btnCancelClick(); });

    dialog_.FormCreate();
    edits_[SizeEdit::edtHeight]->setFocus();
}

std::string TfrmSize::text(SizeEdit edit) const { return fromQString(edits_.at(edit)->text()); }
void TfrmSize::setText(SizeEdit edit, std::string_view text) {
    edits_.at(edit)->setText(toQString(text));
}
bool TfrmSize::checked(SizeCheck box) const { return checks_.at(box)->isChecked(); }
void TfrmSize::setChecked(SizeCheck box, bool on) { checks_.at(box)->setChecked(on); }

void TfrmSize::showError(std::string_view message) {
    QMessageBox::critical(this, QCoreApplication::applicationName(), toQString(message));
}

void TfrmSize::closeDialog() { accept(); }

}  // namespace lorrin::qt
