// What every window of the program shares: its fonts, controls placed at fixed pixel
// positions, and the frame of a small fixed dialog.
#pragma once

#include <QDialog>
#include <QFont>
#include <QGuiApplication>
#include <QScreen>
#include <QString>
#include <QWidget>

#include <vector>

namespace lorrin::qt {

// The windows' font, and the fixed-pitch one of the code box and the angle list.
inline QFont windowFont() {
    QFont font(QStringLiteral("ＭＳ Ｐゴシック"));
    font.setPixelSize(12);
    return font;
}

inline QFont fixedPitchFont() {
    QFont font(QStringLiteral("ＭＳ ゴシック"));
    font.setPixelSize(12);
    font.setStyleHint(QFont::Monospace);
    return font;
}

template <typename Widget>
Widget* place(Widget* widget, const char* name, int left, int top, int width, int height) {
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(left, top, width, height);
    return widget;
}

// The tab order, in the order the controls are given.
inline void setTabOrderChain(const std::vector<QWidget*>& controls) {
    for (std::size_t i = 1; i < controls.size(); ++i)
        QWidget::setTabOrder(controls[i - 1], controls[i]);
}

// A modal dialog of a fixed client size with only a close box, centred on the screen.
inline void frameDialog(QDialog& dialog, const char* name, const QString& caption, int width,
                        int height) {
    dialog.setObjectName(QString::fromLatin1(name));
    dialog.setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint);
    dialog.setWindowTitle(caption);
    dialog.setFont(windowFont());
    dialog.setFixedSize(width, height);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        dialog.move(screen->geometry().center() - dialog.rect().center());
}

}  // namespace lorrin::qt
