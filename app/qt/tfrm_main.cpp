#include "tfrm_main.h"

#include "tfrm_about.h"
#include "tfrm_matrix.h"
#include "tfrm_size.h"
#include "tfrm_sound.h"
#include "window_frame.h"

#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QShortcut>
#include <QStatusBar>
#include <QTimer>

namespace lorrin::qt {
namespace {

// The area below the menu bar, the status bar included.
constexpr int kClientWidth = 310;
constexpr int kClientHeight = 80;
constexpr int kStatusBarHeight = 19;

}  // namespace

TfrmMain::TfrmMain(Desktop& desktop, const std::filesystem::path& programDir,
                   std::span<const std::string> args)
    : QMainWindow(nullptr, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                               Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      desktop_(desktop),
      form_(*this,
            {desktop.clipboard, desktop.sound, desktop.beep, desktop.help, desktop.screen,
             desktop.fonts, desktop.chain, fontDialog_},
            reinterpret_cast<WindowHandle>(this)) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Quillmark"));
    setFont(windowFont());
    buildMenu();
    buildControls();
    setFixedSize(kClientWidth, menuBar()->sizeHint().height() + kClientHeight);

    form_.FormCreate(programDir, args);
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this,
            [this] { clipboardChanged(); });
    edtCode_->setFocus();
}

void TfrmMain::buildControls() {
    auto* client = new QWidget(this);
    client->setFixedSize(kClientWidth, kClientHeight - kStatusBarHeight);
    setCentralWidget(client);

    auto* bevel = place(new QFrame(client), "Bevel1", 1, 0, 309, 2);
    bevel->setFrameShape(QFrame::HLine);
    bevel->setFrameShadow(QFrame::Sunken);

    // A list is named for what it chooses, not announced by its entry.
    cmbCtype_ = place(new QComboBox(client), "cmbCtype", 4, 7, 77, 20);
    for (std::string_view name : kSymbologyNames) cmbCtype_->addItem(toQString(name));
    cmbCtype_->setToolTip(tr("ﾊﾞｰｺｰﾄﾞ種の選択"));
    cmbCtype_->setAccessibleName(tr("ﾊﾞｰｺｰﾄﾞ種"));
    cmbCtype_->setAccessibleDescription(cmbCtype_->toolTip());

    edtCode_ = place(new QLineEdit(client), "edtCode", 88, 7, 193, 20);
    edtCode_->setFont(fixedPitchFont());
    edtCode_->setAccessibleName(tr("ｺｰﾄﾞ"));
    edtCode_->setAccessibleDescription(
        tr("ﾊﾞｰｺｰﾄﾞにするｺｰﾄﾞ。Enterで描画してｸﾘｯﾌﾟﾎﾞｰﾄﾞにｺﾋﾟｰします"));

    labCol_ = place(new QLabel(QStringLiteral("0"), client), "labCol", 288, 12, 15, 12);
    labCol_->setAlignment(Qt::AlignRight | Qt::AlignTop);
    labCol_->setToolTip(tr("桁数"));

    cmbAngle_ = place(new QComboBox(client), "cmbAngle", 4, 35, 77, 20);
    for (std::size_t i = 0; i < kAngleNames.size(); ++i)
        cmbAngle_->addItem(toQString(angleName(i)));
    cmbAngle_->setFont(fixedPitchFont());
    cmbAngle_->setToolTip(tr("ﾗﾍﾞﾙの向き"));
    cmbAngle_->setAccessibleName(cmbAngle_->toolTip());
    cmbAngle_->setAccessibleDescription(tr("画像を回す角度"));

    labStatus_ = place(new QLabel(client), "labStatus", 90, 40, 167, 12);
    labStatus_->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    btnDraw_ = place(new QPushButton(QStringLiteral("draw"), client), "btnDraw", 263, 33, 43, 24);
    btnDraw_->setDefault(true);
    btnDraw_->setToolTip(tr("描画+ｸﾘｯﾌﾟﾎﾞｰﾄﾞにｺﾋﾟｰ"));
    btnDraw_->setAccessibleDescription(btnDraw_->toolTip());
    // Enter anywhere in the window presses the default button.
    for (const QKeySequence& key : {QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)})
        connect(new QShortcut(key, this), &QShortcut::activated, btnDraw_, &QPushButton::click);

    auto* bar = new QStatusBar(this);
    bar->setObjectName(QStringLiteral("StatusBar"));
    bar->setSizeGripEnabled(false);
    bar->setFixedHeight(kStatusBarHeight);
    statusText_ = new QLabel(bar);
    bar->addWidget(statusText_, 1);
    setStatusBar(bar);

    setTabOrderChain({edtCode_, cmbCtype_, cmbAngle_, btnDraw_});

    connect(cmbCtype_, &QComboBox::activated, this, [this] { form_.cmbCtypeChange(); });
    connect(edtCode_, &QLineEdit::textChanged, this, [this] { form_.edtCodeChange(); });
    connect(btnDraw_, &QPushButton::clicked, this, [this] { form_.btnDrawClick(); });
}

void TfrmMain::buildMenu() {
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));
    QMenu* file = bar->addMenu(tr("ﾌｧｲﾙ(&F)"));
    // Ctrl+Q closes as the close box does: the settings are saved.
    QAction* quit = file->addAction(tr("終了(&X)"), this, [this] { close(); });
    quit->setObjectName(QStringLiteral("mnuExit"));
    quit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));

    QMenu* options = bar->addMenu(tr("設定(&C)"));
    options->addAction(tr("基本設定(&B).."), this, [this] { mnuSizeClick(); });
    options->addAction(tr("2次元ｺｰﾄﾞ(&2)..."), this, [this] { mnuMatrixClick(); });
    options->addAction(tr("ﾌｫﾝﾄ(&F)..."), this, [this] { form_.mnuFontClick(); });
    options->addAction(tr("ｻｳﾝﾄﾞ(&S)..."), this, [this] { mnuSoundClick(); });
    options->addSeparator();
    mnuClip_ = options->addAction(tr("ｸﾘｯﾌﾟﾎﾞｰﾄﾞ監視(&C)"));
    mnuClip_->setObjectName(QStringLiteral("mnuClip"));
    mnuClip_->setCheckable(true);
    connect(mnuClip_, &QAction::triggered, this, [this] { form_.mnuClipClick(); });

    QMenu* help = bar->addMenu(tr("ﾍﾙﾌﾟ(&H)"));
    QAction* topics = help->addAction(tr("目次(&C)"), this, [this] { form_.mnuTopicClick(); });
    topics->setObjectName(QStringLiteral("mnuTopic"));
    topics->setShortcut(QKeySequence(Qt::Key_F1));
    help->addSeparator();
    help->addAction(tr("ﾊﾞｰｼﾞｮﾝ情報(&A)..."), this, [this] { mnuAboutClick(); });
}

// Qt announces the program's own clipboard writes at once, from inside the handler that
// makes them; the form knows those for its own.  Other programs' changes come from the X
// server in batches, and one look at the clipboard after a batch serves all of them.
void TfrmMain::clipboardChanged() {
    if (form_.clipboardBusy()) {
        form_.WMDrawClipboard();
        return;
    }
    if (changeQueued_) return;
    changeQueued_ = true;
    QTimer::singleShot(0, this, [this] {
        changeQueued_ = false;
        form_.WMDrawClipboard();
    });
}

void TfrmMain::mnuSizeClick() {
    TfrmSize dialog(form_.settings(), this);
    dialog.exec();
}

void TfrmMain::mnuMatrixClick() {
    TfrmMatrix dialog(form_.settings(), this);
    dialog.exec();
}

void TfrmMain::mnuSoundClick() {
    TfrmSound dialog(form_.settings(), desktop_.sound, this);
    dialog.exec();
}

void TfrmMain::mnuAboutClick() {
    TfrmAbout dialog(this);
    dialog.exec();
}

void TfrmMain::closeEvent(QCloseEvent* event) {
    form_.FormCloseQuery();
    event->accept();
}

int TfrmMain::typeIndex() const { return cmbCtype_->currentIndex(); }
void TfrmMain::setTypeIndex(int index) { cmbCtype_->setCurrentIndex(index); }
int TfrmMain::angleIndex() const { return cmbAngle_->currentIndex(); }
void TfrmMain::setAngleIndex(int index) { cmbAngle_->setCurrentIndex(index); }
std::string TfrmMain::codeText() const { return fromQString(edtCode_->text()); }
void TfrmMain::setCodeText(std::string_view text) { edtCode_->setText(toQString(text)); }
void TfrmMain::selectAllCode() { edtCode_->selectAll(); }
void TfrmMain::setStatusText(std::string_view text) { labStatus_->setText(toQString(text)); }
WindowPosition TfrmMain::position() const { return {pos().x(), pos().y()}; }
void TfrmMain::setPosition(WindowPosition position) { move(position.x, position.y); }
void TfrmMain::setStatusBarText(std::string_view text) { statusText_->setText(toQString(text)); }
void TfrmMain::setCountText(std::string_view text) { labCol_->setText(toQString(text)); }
void TfrmMain::focusCode() { edtCode_->setFocus(); }
void TfrmMain::setMonitorChecked(bool on) { mnuClip_->setChecked(on); }

}  // namespace lorrin::qt
