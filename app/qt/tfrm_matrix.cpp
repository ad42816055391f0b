#include "tfrm_matrix.h"

#include "qt_adapter.h"
#include "window_frame.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

#include <array>

namespace lorrin::qt {
namespace {

// The frame a control stands in; kNoGroup for the dialog itself.
enum Group { kQrGroup, kDmGroup, kPdfGroup, kNoGroup };

struct GroupRow {
    const char* name;
    const char* title;
    int top;
    int height;
};

// The frames around each symbology's controls, top to bottom.
constexpr std::array<GroupRow, 3> kGroupRows = {{
    {"grpQR", "QRｺｰﾄﾞ", 4, 96},
    {"grpDM", "ﾃﾞｰﾀﾏﾄﾘｯｸｽ", 104, 48},
    {"grpPDF", "PDF417", 156, 72},
}};

struct ListRow {
    MatrixList list;
    Group group;
    const char* labelName;
    const char* label;
    const char* listName;
    const char* accessibleName;
    const char* toolTip;  // nullptr for none
    int top;              // of the list in its frame; its label sits 4 pixels lower
    const char* description;  // for assistive tools: the tool tip, where there is one
};

// The lists in tab order, each with its label.
constexpr std::array<ListRow, 5> kListRows = {{
    {MatrixList::cmbQrLevel, kQrGroup, "Label1", "ｴﾗｰ訂正ﾚﾍﾞﾙ", "cmbQrLevel", "QRｺｰﾄﾞのｴﾗｰ訂正ﾚﾍﾞﾙ",
     "復元できる汚れ・欠けの割合", 18, "復元できる汚れ・欠けの割合"},
    {MatrixList::cmbQrVersion, kQrGroup, "Label2", "ﾊﾞｰｼﾞｮﾝ", "cmbQrVersion", "QRｺｰﾄﾞのﾊﾞｰｼﾞｮﾝ",
     "自動: 文字が収まる最小のﾊﾞｰｼﾞｮﾝ", 42, "自動: 文字が収まる最小のﾊﾞｰｼﾞｮﾝ"},
    {MatrixList::cmbDmShape, kDmGroup, "Label3", "形状", "cmbDmShape", "ﾃﾞｰﾀﾏﾄﾘｯｸｽの形状", nullptr,
     18, "正方形か長方形か"},
    {MatrixList::cmbPdfLevel, kPdfGroup, "Label4", "ｴﾗｰ訂正ﾚﾍﾞﾙ", "cmbPdfLevel",
     "PDF417のｴﾗｰ訂正ﾚﾍﾞﾙ", "自動: 文字数に応じた推奨ﾚﾍﾞﾙ", 18, "自動: 文字数に応じた推奨ﾚﾍﾞﾙ"},
    {MatrixList::cmbPdfColumns, kPdfGroup, "Label5", "ﾃﾞｰﾀ列数", "cmbPdfColumns",
     "PDF417のﾃﾞｰﾀ列数", "自動: 幅が高さのおよそ3倍", 42, "自動: 幅が高さのおよそ3倍"},
}};

struct CheckRow {
    MatrixCheck box;
    Group group;
    const char* name;
    const char* caption;
    const char* toolTip;  // nullptr for none
    int left;
    int top;
    int width;
    const char* description;  // for assistive tools: the tool tip, where there is one
};

// The check boxes: QR Code's in its frame, the readable line's below the frames.
constexpr std::array<CheckRow, 2> kCheckRows = {{
    {MatrixCheck::chkQrUtf8, kQrGroup, "chkQrUtf8", "日本語もUTF-8で符号化する",
     "外すと、日本語の文字はShift_JISの漢字ﾓｰﾄﾞで符号化します", 8, 70, 177,
     "外すと、日本語の文字はShift_JISの漢字ﾓｰﾄﾞで符号化します"},
    {MatrixCheck::chkMatrixText, kNoGroup, "chkMatrixText", "2次元ｺｰﾄﾞの下にOCR文字を表示する",
     nullptr, 9, 236, 268, "QR・ﾃﾞｰﾀﾏﾄﾘｯｸｽ・PDF417の下に文字列を描く"},
}};

constexpr int kGroupLeft = 8;
constexpr int kGroupWidth = 193;
constexpr int kLabelLeft = 8;
constexpr int kListLeft = 88;  // a label ends 4 pixels before its list

}  // namespace

TfrmMatrix::TfrmMatrix(Settings& settings, QWidget* parent)
    : QDialog(parent), dialog_(*this, settings) {
    frameDialog(*this, "frmMatrix", tr("2次元ｺｰﾄﾞ設定"), 285, 260);
    std::array<QGroupBox*, kGroupRows.size()> groups{};
    for (std::size_t i = 0; i < kGroupRows.size(); ++i) {
        const GroupRow& row = kGroupRows[i];
        groups[i] = place(new QGroupBox(tr(row.title), this), row.name, kGroupLeft, row.top,
                          kGroupWidth, row.height);
        groups[i]->setAccessibleName(groups[i]->title());
    }
    for (const ListRow& row : kListRows) {
        QGroupBox* group = groups[row.group];
        auto* label = place(new QLabel(tr(row.label), group), row.labelName, kLabelLeft,
                            row.top + 4, kListLeft - 4 - kLabelLeft, 12);
        label->setAlignment(Qt::AlignRight | Qt::AlignTop);
        auto* list = place(new QComboBox(group), row.listName, kListLeft, row.top,
                           kGroupWidth - 8 - kListLeft, 20);
        for (const std::string& entry : matrixListEntries(row.list))
            list->addItem(toQString(entry));
        list->setAccessibleName(tr(row.accessibleName));
        list->setAccessibleDescription(tr(row.description));
        if (row.toolTip != nullptr) list->setToolTip(tr(row.toolTip));
        label->setBuddy(list);
        lists_[row.list] = list;
    }
    for (const CheckRow& row : kCheckRows) {
        QWidget* owner = row.group == kNoGroup ? static_cast<QWidget*>(this) : groups[row.group];
        auto* box = place(new QCheckBox(tr(row.caption), owner), row.name, row.left, row.top,
                          row.width, 17);
        box->setAccessibleName(box->text());
        box->setAccessibleDescription(tr(row.description));
        if (row.toolTip != nullptr) box->setToolTip(tr(row.toolTip));
        checks_[row.box] = box;
    }

    auto* ok = place(new QPushButton(QStringLiteral("OK"), this), "btnOK", 210, 8, 67, 22);
    ok->setDefault(true);
    auto* cancel = place(new QPushButton(tr("ｷｬﾝｾﾙ"), this), "btnCancel", 210, 36, 67, 22);
    for (QPushButton* button : {ok, cancel}) button->setAccessibleName(button->text());
    setTabOrderChain({lists_[MatrixList::cmbQrLevel], lists_[MatrixList::cmbQrVersion],
                      checks_[MatrixCheck::chkQrUtf8], lists_[MatrixList::cmbDmShape],
                      lists_[MatrixList::cmbPdfLevel], lists_[MatrixList::cmbPdfColumns],
                      checks_[MatrixCheck::chkMatrixText], ok, cancel});
    connect(ok, &QPushButton::clicked, this, [this] { dialog_.btnOKClick(); });
    connect(cancel, &QPushButton::clicked, this, [this] { dialog_.btnCancelClick(); });

    dialog_.FormCreate();
    lists_[MatrixList::cmbQrLevel]->setFocus();
}

int TfrmMatrix::selected(MatrixList list) const { return lists_.at(list)->currentIndex(); }
void TfrmMatrix::select(MatrixList list, int entry) { lists_.at(list)->setCurrentIndex(entry); }
bool TfrmMatrix::checked(MatrixCheck box) const { return checks_.at(box)->isChecked(); }
void TfrmMatrix::setChecked(MatrixCheck box, bool on) { checks_.at(box)->setChecked(on); }

void TfrmMatrix::closeDialog() { accept(); }

}  // namespace lorrin::qt
