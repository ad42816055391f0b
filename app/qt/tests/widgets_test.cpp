// The windows on Qt's offscreen platform: places, texts, tab orders, default buttons,
// and the handlers reached through the widgets; every window in each language, against
// the catalogues, with texts that fit their controls and inputs named for assistive tools.
#include "qt_adapter.h"
#include "tfrm_about.h"
#include "tfrm_main.h"
#include "tfrm_matrix.h"
#include "tfrm_size.h"
#include "tfrm_sound.h"
#include "lorrin/language.h"
#include "lorrin/status.h"
#include "lorrin/test/fakes.h"
#include "test_support/temp_folder.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QStatusBar>
#include <QSysInfo>
#include <QTest>
#include <QTimer>
#include <QXmlStreamReader>
#include <QFile>
#include <QStyle>
#include <QStyleOptionComboBox>

#include <algorithm>
#include <array>
#include <clocale>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>

#if defined(__SANITIZE_ADDRESS__)
// Qt keeps fontconfig's configuration for the life of the process and never frees it.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
#endif

namespace lorrin::qt {
namespace {

// The forms the clipboard offers a picture in.
const QStringList kPictureForms = {"image/png", "image/bmp", "image/svg+xml"};

QApplication& application() {
    static int argc = 1;
    static char name[] = "lorrin_qt_tests";
    static char* argv[] = {name, nullptr};
    static QApplication* app = [] {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        auto* a = new QApplication(argc, argv);
        QApplication::setApplicationName(QStringLiteral("Quillmark"));
        installFontSubstitutions();
        installAccessibleListNames();
        return a;
    }();
    return *app;
}

struct Place {
    const char* name;
    int left, top, width, height;
    const char* text;  // caption, or nullptr for none to check
};

void expectPlaces(QWidget& window, std::span<const Place> places) {
    for (std::size_t i = 0; i < places.size(); ++i) {
        const Place& p = places[i];
        auto* w = window.findChild<QWidget*>(QString::fromLatin1(p.name));
        ASSERT_NE(w, nullptr) << "row " << i << " " << p.name;
        const QPoint at = w->mapTo(&window, QPoint(0, 0));
        EXPECT_EQ(QRect(at, w->size()), QRect(p.left, p.top, p.width, p.height))
            << "row " << i << " " << p.name;
        if (p.text == nullptr) continue;
        QString text;
        if (auto* label = qobject_cast<QLabel*>(w)) text = label->text();
        if (auto* button = qobject_cast<QAbstractButton*>(w)) text = button->text();
        EXPECT_EQ(text, QString::fromUtf8(p.text)) << "row " << i << " " << p.name;
    }
}

// The widgets that take the focus with Tab, in order, from `first`.
QStringList tabOrder(QWidget* first, int count) {
    QStringList names;
    QWidget* w = first;
    for (int i = 0; i < count; ++i) {
        names << w->objectName();
        do w = w->nextInFocusChain();
        while (!(w->focusPolicy() & Qt::TabFocus) || !w->isVisibleTo(w->window()) ||
               w->objectName().isEmpty());
    }
    return names;
}

// Answers the next message box and returns its text.
class MessageBoxWatch {
public:
    MessageBoxWatch() {
        QTimer::singleShot(0, [this] {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) {
                    text = box->text();
                    box->accept();
                }
            }
        });
    }
    QString text;
};

class MainWindow : public test_support::TempFolderTest {
protected:
    void SetUp() override {
        application();
        setenv("XDG_CONFIG_HOME", (dir_ / "config").c_str(), 1);
    }

    std::unique_ptr<TfrmMain> open(std::vector<std::string> args = {}) {
        auto window = std::make_unique<TfrmMain>(desktop, dir_, args);
        window->show();
        return window;
    }
    template <typename T>
    T* child(QWidget& w, const char* name) {
        return w.findChild<T*>(QString::fromLatin1(name));
    }

    Desktop desktop;
};

TEST_F(MainWindow, ControlsStandWhereTheyBelongWithTheirTexts) {
    auto window = open();
    QWidget* client = window->centralWidget();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Quillmark"));
    const int menuHeight = window->menuBar()->height();
    EXPECT_EQ(window->size(), QSize(310, menuHeight + 80));
    EXPECT_EQ(window->minimumSize(), window->maximumSize());
    EXPECT_FALSE(window->windowFlags() & Qt::WindowMaximizeButtonHint);
    const std::array<Place, 7> places = {{
        /* 0 */ {"Bevel1", 1, 0, 309, 2, nullptr},
        /* 1 */ {"cmbCtype", 4, 7, 77, 20, nullptr},
        /* 2 */ {"edtCode", 88, 7, 193, 20, nullptr},
        /* 3 */ {"labCol", 288, 12, 15, 12, "0"},
        /* 4 */ {"cmbAngle", 4, 35, 77, 20, nullptr},
        /* 5 */ {"labStatus", 90, 40, 167, 12, ""},
        /* 6 */ {"btnDraw", 263, 33, 43, 24, "draw"},
    }};
    expectPlaces(*client, places);
    auto* bar = window->statusBar();
    EXPECT_EQ(bar->geometry(), QRect(0, menuHeight + 61, 310, 19));
    EXPECT_FALSE(bar->isSizeGripEnabled());

    QStringList types, angles;
    for (int i = 0; i < 7; ++i) types << child<QComboBox>(*client, "cmbCtype")->itemText(i);
    for (int i = 0; i < 4; ++i) angles << child<QComboBox>(*client, "cmbAngle")->itemText(i);
    EXPECT_EQ(types,
              (QStringList{"JAN/UPC", "NW-7", "Code39", "ITF", "Code128A", "Code128B", "Code93"}));
    EXPECT_EQ(angles, (QStringList{"   0度", "  90度", " 180度", " 270度"}));
    EXPECT_EQ(child<QWidget>(*client, "cmbCtype")->toolTip(), QStringLiteral("ﾊﾞｰｺｰﾄﾞ種の選択"));
    EXPECT_EQ(child<QWidget>(*client, "labCol")->toolTip(), QStringLiteral("桁数"));
    EXPECT_EQ(child<QWidget>(*client, "cmbAngle")->toolTip(), QStringLiteral("ﾗﾍﾞﾙの向き"));
    EXPECT_EQ(child<QWidget>(*client, "btnDraw")->toolTip(),
              QStringLiteral("描画+ｸﾘｯﾌﾟﾎﾞｰﾄﾞにｺﾋﾟｰ"));
    EXPECT_TRUE(child<QPushButton>(*client, "btnDraw")->isDefault());
    EXPECT_EQ(bar->findChild<QLabel*>()->text(),
              QStringLiteral("UPC: 0～9 (短縮,標準,UPC-E,UPC-D,ｱﾄﾞｵﾝ2/5桁)"));
}

TEST_F(MainWindow, FontsAreJapaneseFaces) {
    auto window = open();
    const QFontInfo windowFace(window->font());
    const QFontInfo codeFace(child<QWidget>(*window, "edtCode")->font());
    EXPECT_EQ(windowFace.pixelSize(), 12);
    EXPECT_EQ(codeFace.pixelSize(), 12);
    // Families from fontconfig's list of faces that cover Japanese.
    const QStringList japanese{"IPAPGothic",       "IPAGothic",
                               "Noto Sans CJK JP", "Noto Sans Mono CJK JP",
                               "VL PGothic",       "VL Gothic"};
    EXPECT_TRUE(japanese.contains(windowFace.family())) << windowFace.family().toStdString();
    EXPECT_TRUE(japanese.contains(codeFace.family())) << codeFace.family().toStdString();
    // The code box's face gives every half-width character the same width.
    const QFontMetrics metrics(child<QWidget>(*window, "edtCode")->font());
    EXPECT_EQ(metrics.horizontalAdvance(QLatin1Char('i')),
              metrics.horizontalAdvance(QLatin1Char('W')));
}

TEST_F(MainWindow, MenuTextsAndAccelerators) {
    auto window = open();
    QStringList texts;
    for (QAction* top : window->menuBar()->actions()) {
        texts << top->text();
        for (QAction* item : top->menu()->actions())
            texts << (item->isSeparator() ? QStringLiteral("-") : item->text());
    }
    EXPECT_EQ(texts,
              (QStringList{"ﾌｧｲﾙ(&F)", "終了(&X)", "設定(&C)", "基本設定(&B)..", "2次元ｺｰﾄﾞ(&2)...",
                           "ﾌｫﾝﾄ(&F)...", "ｻｳﾝﾄﾞ(&S)...", "-", "ｸﾘｯﾌﾟﾎﾞｰﾄﾞ監視(&C)", "ﾍﾙﾌﾟ(&H)",
                           "目次(&C)", "-", "ﾊﾞｰｼﾞｮﾝ情報(&A)..."}));
}

// The menu item opens the dialog on the window's own settings.
TEST_F(MainWindow, TheMatrixMenuItemChangesTheWindowsSettings) {
    auto window = open();
    QTimer::singleShot(0, [] {
        if (auto* dialog = dynamic_cast<TfrmMatrix*>(QApplication::activeModalWidget())) {
            dialog->findChild<QComboBox*>(QStringLiteral("cmbQrVersion"))->setCurrentIndex(3);
            dialog->findChild<QPushButton*>(QStringLiteral("btnOK"))->click();
        }
    });
    window->menuBar()->actions()[1]->menu()->actions()[1]->trigger();
    EXPECT_EQ(window->form().settings().qrVersion, 3);
}

TEST_F(MainWindow, TabOrderStartsAtTheCodeBox) {
    auto window = open();
    EXPECT_EQ(tabOrder(child<QWidget>(*window, "edtCode"), 5),
              (QStringList{"edtCode", "cmbCtype", "cmbAngle", "btnDraw", "edtCode"}));
}

TEST_F(MainWindow, EnterDrawsAndTheCounterCountsDoubleBytes) {
    auto window = open();
    QApplication::setActiveWindow(window.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    auto* code = child<QLineEdit>(*window, "edtCode");
    code->setFocus();
    code->insert(QStringLiteral("あいう"));
    EXPECT_EQ(child<QLabel>(*window, "labCol")->text(), QStringLiteral("6"));
    code->setText(QStringLiteral("490123456789"));
    QTest::keyClick(code, Qt::Key_Return);
    EXPECT_EQ(child<QLabel>(*window, "labStatus")->text(), QStringLiteral("JAN(13)/UPC-A"));
    EXPECT_EQ(code->text(), QStringLiteral("4901234567894"));
    EXPECT_EQ(child<QLabel>(*window, "labCol")->text(), QStringLiteral("13"));
    EXPECT_EQ(code->selectedText(), code->text());
    // As other programs paste it.
    const QImage picture =
        QImage::fromData(QGuiApplication::clipboard()->mimeData()->data("image/png"));
    EXPECT_EQ(picture.width(), 135);
}

// Without an X display to keep it on (Qt's offscreen platform here, Wayland for users),
// the picture goes with the program, which says so; once another program has copied,
// there is nothing to keep.
TEST_F(MainWindow, WithoutAnXDisplayThePictureGoesAndTheProgramSaysSo) {
    auto window = open();
    const std::filesystem::path keeper = dir_ / "lorrin-keeper";
    EXPECT_EQ(desktop.clipboard.keepPicture(keeper), "");
    child<QLineEdit>(*window, "edtCode")->setText(QStringLiteral("490123456789"));
    child<QPushButton>(*window, "btnDraw")->click();
    EXPECT_EQ(desktop.clipboard.keepPicture(keeper),
              "the picture on the clipboard goes with the program: keeping it needs an X display "
              "(XWayland on a Wayland session)");
    QGuiApplication::clipboard()->setText(QStringLiteral("copied"));
    EXPECT_EQ(desktop.clipboard.keepPicture(keeper), "");
}

TEST_F(MainWindow, TheMonitorConvertsClipboardTextsAndCloseSaves) {
    std::ofstream(dir_ / "lorrin.ini") << "[barcode]\nwpconly=0\n";
    auto window = open({"-clip"});
    EXPECT_TRUE(window->form().monitorOn());
    QGuiApplication::clipboard()->setText(QStringLiteral("c39@ABC123\n"));
    auto* code = child<QLineEdit>(*window, "edtCode");
    EXPECT_TRUE(QTest::qWaitFor([&] { return code->text() == QStringLiteral("ABC123"); }));
    EXPECT_EQ(child<QComboBox>(*window, "cmbCtype")->currentIndex(), 2);
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->formats(), kPictureForms);
    EXPECT_FALSE(data->hasText());

    window->close();
    std::ifstream in(dir_ / "lorrin.ini");
    const std::string saved{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    EXPECT_NE(saved.find("wpconly=0\n"), std::string::npos);
    EXPECT_NE(saved.find("type=2\n"), std::string::npos);
}

// Changes that come faster than the window looks are taken together: the newest text
// decides, and one that is no code stays on the clipboard.
TEST_F(MainWindow, TheMonitorTakesTheNewestOfChangesInARow) {
    struct Row {
        std::array<const char*, 3> texts;
        const char* code;      // the edit box afterwards
        const char* clipText;  // left on the clipboard; nullptr for the picture
    };
    const std::array<Row, 2> rows = {{
        /* 0 */ {{"c39@FIRST", "hello", "c39@LAST"}, "LAST", nullptr},
        /* 1 */ {{"c39@FIRST", "c39@SECOND", "hello"}, "", "hello"},
    }};
    std::ofstream(dir_ / "lorrin.ini") << "[barcode]\nwpconly=0\n";
    auto window = open({"-clip"});
    auto* code = child<QLineEdit>(*window, "edtCode");
    QClipboard* clipboard = QGuiApplication::clipboard();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        code->clear();
        for (const char* text : rows[i].texts) clipboard->setText(QString::fromLatin1(text));
        QTest::qWait(50);
        EXPECT_EQ(code->text(), QString::fromLatin1(rows[i].code)) << "row " << i;
        const QMimeData* data = clipboard->mimeData();
        ASSERT_NE(data, nullptr) << "row " << i;
        if (rows[i].clipText == nullptr) {
            EXPECT_EQ(data->formats(), kPictureForms) << "row " << i;
            EXPECT_FALSE(data->hasText()) << "row " << i;
        } else {
            EXPECT_EQ(data->text(), QString::fromLatin1(rows[i].clipText)) << "row " << i;
        }
    }
}

class Dialogs : public ::testing::Test {
protected:
    void SetUp() override { application(); }
    template <typename T>
    static T* child(QWidget& w, const char* name) {
        return w.findChild<T*>(QString::fromLatin1(name));
    }
    Settings settings;
    test::FakeSound sound;
};

TEST_F(Dialogs, SizeDialogLayout) {
    TfrmSize dialog(settings, nullptr);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("基本設定"));
    EXPECT_EQ(dialog.size(), QSize(267, 225));
    const std::array<Place, 17> places = {{
        /* 0 */ {"Label1", 32, 16, 72, 12, "ﾊﾞｰｺｰﾄﾞ高さ"},
        /* 1 */ {"edtHeight", 104, 8, 57, 20, nullptr},
        /* 2 */ {"Label2", 8, 40, 96, 12, "ｶﾞｰﾄﾞﾊﾞｰ高さ増分"},
        /* 3 */ {"edtHeight2", 104, 32, 57, 20, nullptr},
        /* 4 */ {"Label3", 40, 64, 64, 12, "ﾅﾛｰﾊﾞｰ幅"},
        /* 5 */ {"edtNarrow", 104, 56, 57, 20, nullptr},
        /* 6 */ {"Label5", 24, 88, 80, 12, "太/細ﾊﾞｰ幅比"},
        /* 7 */ {"edtNWratio", 104, 80, 57, 20, nullptr},
        /* 8 */ {"Label4", 16, 112, 88, 12, "ｷｬﾗｸﾀ間ｷﾞｬｯﾌﾟ"},
        /* 9 */ {"edtGap", 104, 104, 57, 20, nullptr},
        /* 10 */ {"Label6", 176, 80, 67, 36, "数値はﾋﾟｸｾﾙ数で指定して下さい。"},
        /* 11 */ {"chkSum", 9, 136, 233, 17, "ITF/NW7/C39時はﾁｪｯｸｻﾑを付ける"},
        /* 12 */ {"chkOCR", 9, 158, 233, 17, "OCR文字を表示する"},
        /* 13 */ {"chkAddSum", 9, 180, 233, 17, "OCR文字にﾁｪｯｸｻﾑやﾍｯﾀﾞを付加する"},
        /* 14 */ {"chkWPConly", 9, 201, 247, 17, "ｸﾘｯﾌﾟﾎﾞｰﾄﾞ監視機能をWPCコードに限定"},
        /* 15 */ {"btnOK", 192, 8, 67, 22, "OK"},
        /* 16 */ {"btnCancel", 192, 36, 67, 22, "ｷｬﾝｾﾙ"},
    }};
    expectPlaces(dialog, places);
    EXPECT_EQ(
        tabOrder(child<QWidget>(dialog, "edtHeight"), 12),
        (QStringList{"edtHeight", "edtHeight2", "edtNarrow", "edtNWratio", "edtGap", "chkSum",
                     "chkOCR", "chkAddSum", "chkWPConly", "btnOK", "btnCancel", "edtHeight"}));
    EXPECT_TRUE(child<QPushButton>(dialog, "btnOK")->isDefault());
}

TEST_F(Dialogs, SizeDialogTakesOverUpToABadBoxAndStaysOpen) {
    TfrmSize dialog(settings, nullptr);
    dialog.show();
    EXPECT_EQ(child<QLineEdit>(dialog, "edtHeight")->text(), QStringLiteral("50"));
    EXPECT_TRUE(child<QCheckBox>(dialog, "chkWPConly")->isChecked());
    child<QLineEdit>(dialog, "edtHeight")->setText(QStringLiteral("60"));
    child<QLineEdit>(dialog, "edtHeight2")->setText(QStringLiteral("8"));
    child<QLineEdit>(dialog, "edtNarrow")->setText(QStringLiteral("12a"));
    child<QCheckBox>(dialog, "chkOCR")->setChecked(false);
    MessageBoxWatch box;
    child<QPushButton>(dialog, "btnOK")->click();
    EXPECT_EQ(box.text, QStringLiteral("'12a' は整数ではありません"));
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(settings.barHeight, 60);
    EXPECT_EQ(settings.guardExtra, 8);
    EXPECT_EQ(settings.narrowWidth, 1);
    EXPECT_EQ(settings.ocrDisp, 1);

    child<QLineEdit>(dialog, "edtNarrow")->setText(QStringLiteral("2"));
    child<QPushButton>(dialog, "btnOK")->click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(settings.narrowWidth, 2);
    EXPECT_EQ(settings.ocrDisp, 0);
}

TEST_F(Dialogs, SizeDialogCancelAndEscapeTakeNothing) {
    for (const bool escape : {false, true}) {
        TfrmSize dialog(settings, nullptr);
        dialog.show();
        child<QLineEdit>(dialog, "edtGap")->setText(QStringLiteral("9"));
        if (escape)
            QTest::keyClick(&dialog, Qt::Key_Escape);
        else
            child<QPushButton>(dialog, "btnCancel")->click();
        EXPECT_FALSE(dialog.isVisible()) << escape;
        EXPECT_EQ(settings.charGap, 2) << escape;
    }
}

// Every text fits its control, no two controls of a frame overlap, and each control has a
// name of its own for assistive tools.
TEST_F(Dialogs, MatrixDialogControlsFitTheirTextsAndHaveNames) {
    TfrmMatrix dialog(settings, nullptr);
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("2次元ｺｰﾄﾞ設定"));
    QStringList names;
    for (QWidget* w : dialog.findChildren<QWidget*>()) {
        const std::string name = w->objectName().toStdString();
        if (name.empty() || name.starts_with("qt_")) continue;
        // A button's hint asks for the style's width, whatever its text.
        auto* button = qobject_cast<QPushButton*>(w);
        EXPECT_LE(button ? button->fontMetrics().horizontalAdvance(button->text()) + 8
                         : w->sizeHint().width(),
                  w->width())
            << name;
        EXPECT_TRUE(w->parentWidget()->rect().contains(w->geometry())) << name;
        for (QWidget* other : w->parentWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            EXPECT_TRUE(other == w || !w->geometry().intersects(other->geometry())) << name;
        if (qobject_cast<QLabel*>(w) == nullptr) names << w->accessibleName();
    }
    EXPECT_EQ(names.size(), 12);
    EXPECT_FALSE(names.contains(QString()));
    EXPECT_EQ(QSet<QString>(names.begin(), names.end()).size(), names.size());
}

// The lists show the settings by their texts; the keyboard and the mouse change them, and
// only OK takes them over.
TEST_F(Dialogs, MatrixDialogOkTakesTheChangesCancelAndEscapeNothing) {
    settings.qrLevel = 2;
    settings.pdfLevel = 5;
    settings.qrUtf8 = 1;
    for (const int close : {int{Qt::Key_Escape}, 0, int{Qt::Key_Return}}) {
        TfrmMatrix dialog(settings, nullptr);
        dialog.show();
        QApplication::setActiveWindow(&dialog);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
        const auto list = [&](const char* name) { return child<QComboBox>(dialog, name); };
        EXPECT_EQ(list("cmbQrLevel")->currentText(), QStringLiteral("Q (25%)"));
        EXPECT_EQ(list("cmbPdfLevel")->currentText(), QStringLiteral("5"));
        EXPECT_EQ(list("cmbDmShape")->currentText(), QStringLiteral("正方形"));
        QTest::keyClick(list("cmbQrLevel"), Qt::Key_Down);
        list("cmbDmShape")->setCurrentText(QStringLiteral("長方形"));
        list("cmbPdfColumns")->setCurrentText(QStringLiteral("30"));
        QTest::mouseClick(child<QCheckBox>(dialog, "chkQrUtf8"), Qt::LeftButton);
        if (close == 0)
            child<QPushButton>(dialog, "btnCancel")->click();
        else
            QTest::keyClick(&dialog, static_cast<Qt::Key>(close));
        EXPECT_FALSE(dialog.isVisible()) << close;
    }
    EXPECT_EQ(settings.qrLevel, 3);
    EXPECT_EQ(settings.dmShape, 1);
    EXPECT_EQ(settings.pdfColumns, 30);
    EXPECT_EQ(settings.qrUtf8, 0);
    EXPECT_EQ(settings.pdfLevel, 5);
}

TEST_F(Dialogs, SoundDialogLayoutAndBehaviour) {
    settings.soundNg = "/s/ng.wav";
    TfrmSound dialog(settings, sound, nullptr);
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("ｻｳﾝﾄﾞ指定"));
    EXPECT_EQ(dialog.size(), QSize(361, 86));
    const std::array<Place, 9> places = {{
        /* 0 */ {"Label1", 8, 14, 84, 12, "画像ｺﾋﾟｰ成功時"},
        /* 1 */ {"edtSoundOK", 96, 8, 225, 20, nullptr},
        /* 2 */ {"btnRefGD", 328, 8, 25, 19, "..."},
        /* 3 */ {"Label2", 8, 37, 84, 12, "画像ｺﾋﾟｰ失敗時"},
        /* 4 */ {"edtSoundNG", 96, 32, 225, 20, nullptr},
        /* 5 */ {"btnRefBD", 328, 32, 25, 19, "..."},
        /* 6 */ {"chkSound", 8, 64, 201, 17, "ﾊﾞｰｺｰﾄﾞ画像作成時に音を鳴らす"},
        /* 7 */ {"btnOK", 215, 61, 67, 22, "OK"},
        /* 8 */ {"btnCancel", 288, 61, 67, 22, "ｷｬﾝｾﾙ"},
    }};
    expectPlaces(dialog, places);
    EXPECT_EQ(tabOrder(child<QWidget>(dialog, "edtSoundOK"), 8),
              (QStringList{"edtSoundOK", "btnRefGD", "edtSoundNG", "btnRefBD", "chkSound", "btnOK",
                           "btnCancel", "edtSoundOK"}));
    EXPECT_TRUE(child<QPushButton>(dialog, "btnRefGD")->font().bold());
    EXPECT_TRUE(child<QPushButton>(dialog, "btnOK")->isDefault());
    EXPECT_EQ(child<QLabel>(dialog, "Label2")->toolTip(),
              QStringLiteral("ｸﾘｯｸで、指定された音ﾌｧｲﾙを再生します"));

    QTest::mouseClick(child<QLabel>(dialog, "Label1"), Qt::LeftButton);
    EXPECT_TRUE(sound.played.empty());
    QTest::mouseClick(child<QLabel>(dialog, "Label2"), Qt::LeftButton);
    EXPECT_EQ(sound.played, std::vector<std::string>{"/s/ng.wav"});

    child<QLineEdit>(dialog, "edtSoundOK")->setText(QString(128, QLatin1Char('a')));
    MessageBoxWatch box;
    child<QPushButton>(dialog, "btnOK")->click();
    EXPECT_TRUE(box.text.contains(QStringLiteral("127")));
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(settings.soundOk, "");

    child<QLineEdit>(dialog, "edtSoundOK")->setText(QStringLiteral("/s/ok.wav"));
    child<QCheckBox>(dialog, "chkSound")->setChecked(false);
    child<QPushButton>(dialog, "btnOK")->click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(settings.soundOk, "/s/ok.wav");
    EXPECT_EQ(settings.soundOn, 0);
}

TEST_F(Dialogs, AboutDialogNamesTheBuildPlatform) {
    TfrmAbout dialog(nullptr);
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"));
    EXPECT_EQ(dialog.size(), QSize(216, 128));
    const QString platform =
        QStringLiteral("for %1bit %2")
            .arg(QSysInfo::WordSize)
            .arg(QSysInfo::kernelType() == QStringLiteral("linux") ? QStringLiteral("Linux")
                                                                   : QSysInfo::kernelType());
    const std::array<Place, 6> places = {{
        /* 0 */ {"Panel1", 8, 8, 201, 87, nullptr},
        /* 1 */ {"Label1", 16, 16, 177, 12, "Quillmark V3.04"},
        /* 2 */ {"Bevel1", 16, 32, 185, 2, nullptr},
        /* 3 */ {"Image1", 22, 48, 32, 32, nullptr},
        /* 4 */ {"Label2", 8, 106, 140, 12, nullptr},
        /* 5 */ {"btnOK", 152, 102, 57, 22, "OK"},
    }};
    expectPlaces(dialog, places);
    EXPECT_EQ(child<QLabel>(dialog, "Label2")->text(), platform);
    EXPECT_FALSE(child<QLabel>(dialog, "Image1")->pixmap().isNull());
    EXPECT_TRUE(child<QPushButton>(dialog, "btnOK")->isDefault());
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_FALSE(dialog.isVisible());
}

// --- Every window in each language ---------------------------------------------------

// A catalogue as written: each context's sources and their translations.
using Catalogue = std::map<QString, std::map<QString, QString>>;

Catalogue readCatalogue(const char* language) {
    QFile file(QStringLiteral(LORRIN_CATALOGUE_SOURCES "/lorrin_%1.ts").arg(language));
    Catalogue catalogue;
    if (!file.open(QIODevice::ReadOnly)) return catalogue;
    QXmlStreamReader xml(&file);
    QString context, source;
    while (xml.readNextStartElement() || !xml.atEnd()) {
        if (!xml.isStartElement()) continue;
        if (xml.name() == QLatin1String("name")) context = xml.readElementText();
        if (xml.name() == QLatin1String("source")) source = xml.readElementText();
        if (xml.name() == QLatin1String("translation"))
            catalogue[context][source] = xml.readElementText();
    }
    return catalogue;
}

// The translation of `source` in the first context that has one; empty for none.
QString translationOf(const Catalogue& catalogue, const QString& source) {
    for (const auto& [context, messages] : catalogue)
        if (const auto found = messages.find(source); found != messages.end()) return found->second;
    return {};
}

bool hasJapanese(const QString& text) {
    return std::any_of(text.begin(), text.end(), [](QChar c) {
        return (c.unicode() >= 0x3000 && c.unicode() <= 0x9FFF) ||
               (c.unicode() >= 0xFF00 && c.unicode() <= 0xFFEF);
    });
}

// Both catalogues hold the same texts, each translated: into English without a Japanese
// character left, into Japanese (the English-written texts of lorrin-cli, rotateview and
// the adapter) with one at least; only the help document's name is no sentence.
TEST(Catalogues, EachHoldsEveryTextTranslated) {
    const Catalogue english = readCatalogue("en");
    const Catalogue japanese = readCatalogue("ja");
    ASSERT_FALSE(english.empty());
    for (const auto& [catalogue, other] : {std::pair{&english, &japanese}, {&japanese, &english}}) {
        for (const auto& [context, messages] : *catalogue) {
            for (const auto& [source, translation] : messages) {
                SCOPED_TRACE(context.toStdString() + ": " + source.toStdString());
                EXPECT_TRUE(other->at(context).contains(source));
                EXPECT_FALSE(translation.isEmpty());
                if (catalogue == &english) {
                    EXPECT_FALSE(hasJapanese(translation));
                } else if (!hasJapanese(source) && context != QLatin1String("help")) {
                    EXPECT_TRUE(hasJapanese(translation));
                }
            }
        }
    }
}

// Makes `language` the core's and the windows' language, as lorrin does as it starts, from
// the catalogues beside the test; "" goes back to no catalogue at all (the code's texts).
void useLanguageEverywhere(const std::string& language) {
    if (language.empty()) {
        useWindowsLanguage("", {});
        unsetenv("LANGUAGE");
        std::setlocale(LC_MESSAGES, "C");
        return;
    }
    const CatalogueFolders folders = catalogueFolders(LORRIN_CATALOGUES);
    useWindowsLanguage(useLanguage(language, folders), folders.qt);
}

// Every text a window shows or gives assistive tools, each with where it stands, in the
// order the window was built.
std::vector<std::pair<QString, QString>> textsOf(QWidget& window) {
    std::vector<std::pair<QString, QString>> texts;
    QList<QWidget*> widgets = window.findChildren<QWidget*>();
    widgets.prepend(&window);
    for (int i = 0; i < widgets.size(); ++i) {
        QWidget* w = widgets[i];
        const QString where = w->objectName().isEmpty() ? QString::number(i) : w->objectName();
        const auto add = [&](const char* what, const QString& text) {
            if (!text.isEmpty()) texts.emplace_back(where + "." + what, text);
        };
        if (w->isWindow()) add("title", w->windowTitle());
        if (auto* label = qobject_cast<QLabel*>(w)) add("text", label->text());
        if (auto* button = qobject_cast<QAbstractButton*>(w)) add("text", button->text());
        if (auto* group = qobject_cast<QGroupBox*>(w)) add("title", group->title());
        if (auto* list = qobject_cast<QComboBox*>(w))
            for (int item = 0; item < list->count(); ++item) add("item", list->itemText(item));
        if (auto* bar = qobject_cast<QMenuBar*>(w)) {
            for (QAction* top : bar->actions()) {
                add("menu", top->text());
                for (QAction* item : top->menu()->actions()) add("menu", item->text());
            }
        }
        add("toolTip", w->toolTip());
        add("accessibleName", w->accessibleName());
        add("accessibleDescription", w->accessibleDescription());
    }
    return texts;
}

// Where a text does not fit its control, and why; empty when it fits.
QString overflow(QWidget& w) {
    const QFontMetrics metrics = w.fontMetrics();
    const auto plain = [](QString text) { return text.remove(QLatin1Char('&')); };
    const auto tooWide = [&](int needed, int room) {
        return needed > room ? QStringLiteral("needs %1 pixels, has %2").arg(needed).arg(room)
                             : QString();
    };
    if (auto* label = qobject_cast<QLabel*>(&w)) {
        if (!label->pixmap().isNull()) return {};
        if (!label->wordWrap())
            return tooWide(metrics.horizontalAdvance(label->text()), label->contentsRect().width());
        const QRect needed =
            metrics.boundingRect(label->contentsRect(), Qt::TextWordWrap, label->text());
        return tooWide(needed.height(), label->contentsRect().height());
    }
    // A button's hint asks for the style's width, whatever its text.
    if (auto* button = qobject_cast<QPushButton*>(&w))
        return tooWide(metrics.horizontalAdvance(plain(button->text())) + 8, w.width());
    if (qobject_cast<QCheckBox*>(&w) != nullptr) return tooWide(w.sizeHint().width(), w.width());
    if (auto* group = qobject_cast<QGroupBox*>(&w))
        return tooWide(metrics.horizontalAdvance(group->title()) + 16, w.width());
    if (auto* list = qobject_cast<QComboBox*>(&w)) {
        QStyleOptionComboBox option;
        option.initFrom(list);
        const QRect field = w.style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                      QStyle::SC_ComboBoxEditField, list);
        for (int item = 0; item < list->count(); ++item)
            if (QString why =
                    tooWide(metrics.horizontalAdvance(list->itemText(item)), field.width());
                !why.isEmpty())
                return list->itemText(item) + ": " + why;
    }
    return {};
}

// The texts a window comes to show later: the status bar's hint for each symbology, and
// the status line's text for each result, in the labels that show them.
std::vector<std::pair<QString, QLabel*>> laterTexts(TfrmMain& window) {
    std::vector<std::pair<QString, QLabel*>> texts;
    QLabel* hint = window.statusBar()->findChild<QLabel*>();
    auto* status = window.findChild<QLabel*>(QStringLiteral("labStatus"));
    for (std::size_t i = 0; i < kSymbologyHints.size(); ++i)
        texts.emplace_back(toQString(symbologyHint(i)), hint);
    for (int result = -120; result <= 70; ++result)
        texts.emplace_back(toQString(statusText(result)), status);
    return texts;
}

class Languages : public test_support::TempFolderTest,
                  public ::testing::WithParamInterface<const char*> {
protected:
    void SetUp() override {
        application();
        setenv("XDG_CONFIG_HOME", (dir_ / "config").c_str(), 1);
    }
    void TearDown() override { useLanguageEverywhere(""); }

    // Every window of the program in `language`, shown; the main window first.
    std::vector<std::unique_ptr<QWidget>> openAll(const std::string& language) {
        useLanguageEverywhere(language);
        std::vector<std::unique_ptr<QWidget>> windows;
        windows.emplace_back(new TfrmMain(desktop, dir_, {}));
        windows.emplace_back(new TfrmSize(settings, nullptr));
        windows.emplace_back(new TfrmMatrix(settings, nullptr));
        windows.emplace_back(new TfrmSound(settings, sound, nullptr));
        windows.emplace_back(new TfrmAbout(nullptr));
        for (const auto& window : windows) window->show();
        return windows;
    }

    Settings settings;
    test::FakeSound sound;
    Desktop desktop;
};
INSTANTIATE_TEST_SUITE_P(JapaneseAndEnglish, Languages, ::testing::Values("ja", "en"));

// Each window's texts pair with the same window's in Japanese: a Japanese text stands in
// the Japanese catalogue as itself, and shows as the catalogue's translation.
TEST_P(Languages, EveryTextIsTheCataloguesTranslation) {
    const Catalogue catalogue = readCatalogue(GetParam());
    const Catalogue japanese = readCatalogue("ja");
    ASSERT_FALSE(catalogue.empty());
    const auto source = openAll("");
    const auto shown = openAll(GetParam());
    int japaneseTexts = 0;
    for (std::size_t w = 0; w < shown.size(); ++w) {
        const auto sources = textsOf(*source[w]);
        const auto texts = textsOf(*shown[w]);
        const std::string name = shown[w]->objectName().toStdString();
        ASSERT_EQ(texts.size(), sources.size()) << name;
        for (std::size_t i = 0; i < texts.size(); ++i) {
            const QString& from = sources[i].second;
            const QString& text = texts[i].second;
            SCOPED_TRACE(name + " " + texts[i].first.toStdString() + ": " + from.toStdString() +
                         " -> " + text.toStdString());
            if (!hasJapanese(from)) {
                EXPECT_EQ(text, from);  // names and numbers are no language's
                continue;
            }
            ++japaneseTexts;
            EXPECT_EQ(translationOf(japanese, from), from);
            EXPECT_EQ(translationOf(catalogue, from), text);
            if (std::string_view(GetParam()) != "ja") {
                EXPECT_FALSE(hasJapanese(text));
            }
        }
    }
    EXPECT_GT(japaneseTexts, 100);
}

TEST_P(Languages, EveryTextFitsItsControl) {
    const auto windows = openAll(GetParam());
    const char* screenshots = std::getenv("LORRIN_SCREENSHOTS");
    for (const auto& shown : windows) {
        QWidget& window = *shown;
        if (screenshots != nullptr)
            window.grab().save(
                QStringLiteral("%1/%2-%3.png").arg(screenshots, GetParam(), window.objectName()));
        for (QWidget* control : window.findChildren<QWidget*>()) {
            if (!control->isVisibleTo(&window)) continue;
            // The note of the basic settings has always lost its last line's lowest pixels
            // in Japanese; the Japanese windows stay as they were.
            if (std::string_view(GetParam()) == "ja" &&
                control->objectName() == QLatin1String("Label6"))
                continue;
            // The symbology list holds the symbologies' names, no language's texts; the
            // longest have always shown cut short until the list opens.
            if (control->objectName() == QLatin1String("cmbCtype")) continue;
            const QString why = overflow(*control);
            EXPECT_TRUE(why.isEmpty())
                << window.objectName().toStdString() << " " << control->objectName().toStdString()
                << ": " << textsOf(*control).front().second.toStdString() << " "
                << why.toStdString();
        }
    }
    // The menu bar holds every menu in one row; each menu opens with room for its items.
    auto& main = static_cast<TfrmMain&>(*windows[0]);
    QMenuBar* bar = main.menuBar();
    for (QAction* top : bar->actions()) {
        EXPECT_LE(bar->actionGeometry(top).right(), bar->width()) << top->text().toStdString();
        EXPECT_EQ(bar->actionGeometry(top).top(), bar->actionGeometry(bar->actions()[0]).top());
        if (screenshots != nullptr) {
            top->menu()->popup(main.mapToGlobal(bar->actionGeometry(top).bottomLeft()));
            top->menu()->grab().save(QStringLiteral("%1/%2-menu-%3.png")
                                         .arg(screenshots, GetParam())
                                         .arg(bar->actions().indexOf(top)));
            top->menu()->hide();
        }
    }
    // What the main window shows later fits where it shows, where the Japanese does.
    useLanguageEverywhere("");
    const auto japanese = laterTexts(main);
    useLanguageEverywhere(GetParam());
    const auto later = laterTexts(main);
    for (std::size_t i = 0; i < later.size(); ++i) {
        const auto& [text, label] = later[i];
        const int room = label->contentsRect().width();
        if (label->fontMetrics().horizontalAdvance(japanese[i].first) > room) continue;
        EXPECT_LE(label->fontMetrics().horizontalAdvance(text), room)
            << text.toStdString() << " in " << label->objectName().toStdString();
    }
}

// The Japanese catalogue changes not one pixel of the windows the code draws in Japanese.
TEST_F(Languages, TheJapaneseCatalogueLeavesTheWindowsAsTheyAre) {
    const auto plain = openAll("");
    const auto japanese = openAll("ja");
    for (std::size_t w = 0; w < plain.size(); ++w)
        EXPECT_EQ(japanese[w]->grab().toImage(), plain[w]->grab().toImage())
            << plain[w]->objectName().toStdString();
}

// Every input reads back through Qt's accessibility interface with a name and a
// description of its own, none of them the value it holds.
TEST_P(Languages, EveryInputHasANameAndADescription) {
    const auto windows = openAll(GetParam());
    for (const auto& window : windows) {
        QStringList names;
        for (QWidget* control : window->findChildren<QWidget*>()) {
            const bool input = qobject_cast<QLineEdit*>(control) != nullptr ||
                               qobject_cast<QComboBox*>(control) != nullptr ||
                               qobject_cast<QAbstractButton*>(control) != nullptr;
            if (!input || !control->isVisibleTo(window.get())) continue;
            QAccessibleInterface* face = QAccessible::queryAccessibleInterface(control);
            ASSERT_NE(face, nullptr);
            const std::string where =
                window->objectName().toStdString() + " " + control->objectName().toStdString();
            const QString name = face->text(QAccessible::Name);
            EXPECT_FALSE(name.isEmpty()) << where;
            if (qobject_cast<QPushButton*>(control) == nullptr) {
                EXPECT_FALSE(face->text(QAccessible::Description).isEmpty()) << where;
            }
            if (auto* list = qobject_cast<QComboBox*>(control)) {
                EXPECT_NE(name, list->currentText()) << where;
            }
            names << name;
        }
        EXPECT_EQ(QSet<QString>(names.begin(), names.end()).size(), names.size())
            << window->objectName().toStdString() << ": " << names.join(", ").toStdString();
    }
}

// Ctrl+Q closes the window as its close box does, the settings saved; F1 is the help
// menu's, Alt and a letter open the menus.
TEST_P(Languages, CtrlQClosesAndSavesF1OpensTheHelp) {
    useLanguageEverywhere(GetParam());
    TfrmMain window(desktop, dir_, {});
    window.show();
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    EXPECT_EQ(window.findChild<QAction*>(QStringLiteral("mnuTopic"))->shortcut(),
              QKeySequence(Qt::Key_F1));
    window.findChild<QComboBox*>(QStringLiteral("cmbCtype"))->setCurrentIndex(4);
    QTest::keyClick(&window, Qt::Key_Q, Qt::ControlModifier);
    EXPECT_FALSE(window.isVisible());
    std::ifstream in(dir_ / "lorrin.ini");
    const std::string saved{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    EXPECT_NE(saved.find("type=4\n"), std::string::npos) << saved;
}

}  // namespace
}  // namespace lorrin::qt
