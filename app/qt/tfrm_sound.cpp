#include "tfrm_sound.h"

#include "qt_adapter.h"
#include "window_frame.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>

#include <functional>
#include <utility>

namespace lorrin::qt {
namespace {

// A label that plays its sound when clicked.
class ClickLabel : public QLabel {
public:
    ClickLabel(const QString& text, QWidget* parent, std::function<void()> onClick)
        : QLabel(text, parent), onClick_(std::move(onClick)) {
        setToolTip(TfrmSound::tr("ｸﾘｯｸで、指定された音ﾌｧｲﾙを再生します"));
    }

protected:
    void mouseReleaseEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
            onClick_();
    }

private:
    std::function<void()> onClick_;
};

// "..." beside a box: named for assistive tools after what it does.
QPushButton* browseButton(QWidget* parent, const char* name, int top, const QString& spoken,
                          const QString& description) {
    auto* button = place(new QPushButton(QStringLiteral("..."), parent), name, 328, top, 25, 19);
    QFont bold = button->font();
    bold.setBold(true);
    button->setFont(bold);
    button->setAccessibleName(spoken);
    button->setAccessibleDescription(description);
    return button;
}

}  // namespace

TfrmSound::TfrmSound(Settings& settings, platform::Sound& sound, QWidget* parent)
    : QDialog(parent), dialog_(*this, settings, sound) {
    frameDialog(*this, "frmSound", tr("ｻｳﾝﾄﾞ指定"), 361, 86);
    auto* okLabel =
        place(new ClickLabel(tr("画像ｺﾋﾟｰ成功時"), this, [this] { dialog_.Label1Click(); }),
              "Label1", 8, 14, 84, 12);
    edtSoundOK_ = place(new QLineEdit(this), "edtSoundOK", 96, 8, 225, 20);
    QPushButton* refGD = browseButton(this, "btnRefGD", 8, tr("成功時の音の参照"),
                                      tr("画像ｺﾋﾟｰ成功時に鳴らすWAVﾌｧｲﾙを選ぶ"));
    auto* ngLabel =
        place(new ClickLabel(tr("画像ｺﾋﾟｰ失敗時"), this, [this] { dialog_.Label2Click(); }),
              "Label2", 8, 37, 84, 12);
    edtSoundNG_ = place(new QLineEdit(this), "edtSoundNG", 96, 32, 225, 20);
    QPushButton* refBD = browseButton(this, "btnRefBD", 32, tr("失敗時の音の参照"),
                                      tr("画像ｺﾋﾟｰ失敗時に鳴らすWAVﾌｧｲﾙを選ぶ"));
    for (auto [label, edit] : {std::pair{okLabel, edtSoundOK_}, std::pair{ngLabel, edtSoundNG_}}) {
        label->setBuddy(edit);
        edit->setAccessibleName(label->text());
        edit->setAccessibleDescription(tr("鳴らすWAVﾌｧｲﾙ。空なら標準の音"));
    }
    chkSound_ =
        place(new QCheckBox(tr("ﾊﾞｰｺｰﾄﾞ画像作成時に音を鳴らす"), this), "chkSound", 8, 64, 201, 17);
    chkSound_->setAccessibleName(chkSound_->text());
    chkSound_->setAccessibleDescription(tr("外すと音を鳴らさない"));
    auto* ok = place(new QPushButton(QStringLiteral("OK"), this), "btnOK", 215, 61, 67, 22);
    ok->setDefault(true);
    auto* cancel = place(new QPushButton(tr("ｷｬﾝｾﾙ"), this), "btnCancel", 288, 61, 67, 22);

    setTabOrderChain({edtSoundOK_, refGD, edtSoundNG_, refBD, chkSound_, ok, cancel});

    connect(refGD, &QPushButton::clicked, this, [this] { dialog_.btnRefGDClick(); });
    connect(refBD, &QPushButton::clicked, this, [this] { dialog_.btnRefBDClick(); });
    connect(ok, &QPushButton::clicked, this, [this] { dialog_.btnOKClick(); });
    connect(cancel, &QPushButton::clicked, this, [this] { dialog_.btnCancelClick(); });

    dialog_.FormCreate();
    edtSoundOK_->setFocus();
}

std::string TfrmSound::text(SoundEdit edit) const {
    return fromQString((edit == SoundEdit::edtSoundOK ? edtSoundOK_ : edtSoundNG_)->text());
}
void TfrmSound::setText(SoundEdit edit, std::string_view text) {
    (edit == SoundEdit::edtSoundOK ? edtSoundOK_ : edtSoundNG_)->setText(toQString(text));
}
bool TfrmSound::soundChecked() const { return chkSound_->isChecked(); }
void TfrmSound::setSoundChecked(bool on) { chkSound_->setChecked(on); }

std::optional<std::string> TfrmSound::pickWavFile() {
    QFileDialog OpenDialog(this, tr("WAVﾌｧｲﾙの指定"));
    OpenDialog.setObjectName(QStringLiteral("OpenDialog"));
    OpenDialog.setNameFilter(tr("WAVﾌｧｲﾙ(*.wav)"));
    OpenDialog.setDefaultSuffix(QStringLiteral("wav"));
    OpenDialog.setFileMode(QFileDialog::ExistingFile);
    if (OpenDialog.exec() != QDialog::Accepted || OpenDialog.selectedFiles().isEmpty())
        return std::nullopt;
    return fromQString(OpenDialog.selectedFiles().constFirst());
}

void TfrmSound::showError(std::string_view message) {
    QMessageBox::warning(this, QCoreApplication::applicationName(), toQString(message));
}

void TfrmSound::closeDialog() { accept(); }

}  // namespace lorrin::qt
