#include "tfrm_about.h"

#include "lorrin/dialogs.h"
#include "qt_adapter.h"
#include "window_frame.h"

#include <QFrame>
#include <QIcon>
#include <QLabel>
#include <QPushButton>

namespace lorrin::qt {

TfrmAbout::TfrmAbout(QWidget* parent) : QDialog(parent) {
    frameDialog(*this, "frmAbout", tr("ﾊﾞｰｼﾞｮﾝ情報"), 216, 128);
    auto* frame = place(new QFrame(this), "Panel1", 8, 8, 201, 87);
    frame->setFrameShape(QFrame::Panel);
    frame->setFrameShadow(QFrame::Sunken);
    auto* title = place(new QLabel(toQString(kVersionTitle), frame), "Label1", 8, 8, 177, 12);
    title->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    auto* line = place(new QFrame(frame), "Bevel1", 8, 24, 185, 2);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    auto* icon = place(new QLabel(frame), "Image1", 14, 40, 32, 32);
    icon->setPixmap(QIcon(QStringLiteral(":/lorrin.png")).pixmap(32, 32));
    auto* platform = place(new QLabel(toQString(builtForLine()), this), "Label2", 8, 106, 140, 12);
    platform->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    // OK is the default and the cancel button: Enter and Esc both close.
    auto* ok = place(new QPushButton(QStringLiteral("OK"), this), "btnOK", 152, 102, 57, 22);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    ok->setFocus();
}

}  // namespace lorrin::qt
