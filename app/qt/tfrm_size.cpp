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
    const char* label;  // also the box's name for assistive tools
    int labelLeft;
    const char* editName;
    int top;  // of the edit box; its label sits 8 pixels lower
    const char* description;
};

// The edit boxes in tab order, each with its label.
constexpr std::array<EditRow, 5> kEditRows = {{
    {SizeEdit::edtHeight, "Label1", "ﾊﾞｰｺｰﾄﾞ高さ", 32, "edtHeight", 8, "ﾊﾞｰの高さ(ﾋﾟｸｾﾙ数)"},
    {SizeEdit::edtHeight2, "Label2", "ｶﾞｰﾄﾞﾊﾞｰ高さ増分", 8, "edtHeight2", 32,
     "ｶﾞｰﾄﾞﾊﾞｰを他のﾊﾞｰより長くする分(ﾋﾟｸｾﾙ数)"},
    {SizeEdit::edtNarrow, "Label3", "ﾅﾛｰﾊﾞｰ幅", 40, "edtNarrow", 56, "細いﾊﾞｰの幅(ﾋﾟｸｾﾙ数)"},
    {SizeEdit::edtNWratio, "Label5", "太/細ﾊﾞｰ幅比", 24, "edtNWratio", 80,
     "太いﾊﾞｰの幅が細いﾊﾞｰの何倍か"},
    {SizeEdit::edtGap, "Label4", "ｷｬﾗｸﾀ間ｷﾞｬｯﾌﾟ", 16, "edtGap", 104,
     "ｷｬﾗｸﾀの間のすき間(細いﾊﾞｰの幅の何倍か)"},
}};

struct CheckRow {
    SizeCheck box;
    const char* name;
    const char* caption;
    int top;
    int width;
    const char* description;
};

// The check boxes in tab order.
constexpr std::array<CheckRow, 4> kCheckRows = {{
    {SizeCheck::chkSum, "chkSum", "ITF/NW7/C39時はﾁｪｯｸｻﾑを付ける", 136, 233,
     "ITF・NW7・Code39にﾁｪｯｸ文字を加える"},
    {SizeCheck::chkOCR, "chkOCR", "OCR文字を表示する", 158, 233, "ﾊﾞｰの下に読める文字を描く"},
    {SizeCheck::chkAddSum, "chkAddSum", "OCR文字にﾁｪｯｸｻﾑやﾍｯﾀﾞを付加する", 180, 233,
     "読める文字にｽﾀｰﾄ/ｽﾄｯﾌﾟ文字やﾁｪｯｸ文字も含める"},
    {SizeCheck::chkWPConly, "chkWPConly", "ｸﾘｯﾌﾟﾎﾞｰﾄﾞ監視機能をWPCコードに限定", 201, 247,
     "ｸﾘｯﾌﾟﾎﾞｰﾄﾞ監視で数字と点だけの文字列をJAN/UPCにする。外すと upc@ などで始まる文字列を変換する"},
}};

}  // namespace

TfrmSize::TfrmSize(Settings& settings, QWidget* parent)
    : QDialog(parent), dialog_(*this, settings) {
    frameDialog(*this, "frmSize", tr("基本設定"), 267, 225);
    std::vector<QWidget*> tabOrder;
    for (const EditRow& row : kEditRows) {
        auto* label = place(new QLabel(tr(row.label), this), row.labelName, row.labelLeft,
                            row.top + 8, 104 - row.labelLeft, 12);
        QLineEdit* edit = place(new QLineEdit(this), row.editName, 104, row.top, 57, 20);
        label->setBuddy(edit);
        // The Japanese labels stand where they always stood; a translation ends 4 pixels
        // before its box, with the room to the dialog's edge.
        if (label->text() != QString::fromUtf8(row.label)) {
            label->setGeometry(8, row.top + 8, 104 - 4 - 8, 12);
            label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        }
        edit->setAccessibleName(label->text());
        edit->setAccessibleDescription(tr(row.description));
        edits_[row.edit] = edit;
        tabOrder.push_back(edit);
    }
    auto* note =
        place(new QLabel(tr("数値はﾋﾟｸｾﾙ数で指定して下さい。"), this), "Label6", 176, 80, 67, 36);
    note->setWordWrap(true);
    note->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    for (const CheckRow& row : kCheckRows) {
        QCheckBox* box =
            place(new QCheckBox(tr(row.caption), this), row.name, 9, row.top, row.width, 17);
        box->setAccessibleName(box->text());
        box->setAccessibleDescription(tr(row.description));
        checks_[row.box] = box;
        tabOrder.push_back(box);
    }
    auto* ok = place(new QPushButton(QStringLiteral("OK"), this), "btnOK", 192, 8, 67, 22);
    ok->setDefault(true);
    auto* cancel = place(new QPushButton(tr("ｷｬﾝｾﾙ"), this), "btnCancel", 192, 36, 67, 22);
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
