#include "app/qt/qt_adapter.h"

#include "platform/bitmap.h"

#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QFontDialog>
#include <QMimeData>
#include <QScreen>
#include <QSoundEffect>
#include <QUrl>

namespace lorrin::qt {

QImage toQImage(const platform::Bitmap& picture) {
    const bool indexed = picture.bitsPerPixel() <= 8;
    QImage image(picture.width(), picture.height(),
                 indexed ? QImage::Format_Indexed8 : QImage::Format_RGB32);
    if (indexed) {
        QList<QRgb> colours;
        for (const platform::Rgb& c : picture.palette()) colours.push_back(qRgb(c.red, c.green, c.blue));
        image.setColorTable(colours);
    }
    for (int y = 0; y < picture.height(); ++y) {
        uchar* line = image.scanLine(y);
        for (int x = 0; x < picture.width(); ++x) {
            const std::uint32_t p = picture.pixel(x, y);
            if (indexed)
                line[x] = static_cast<uchar>(p);
            else
                reinterpret_cast<QRgb*>(line)[x] = 0xFF000000u | p;
        }
    }
    return image;
}

void installFontSubstitutions() {
    QFont::insertSubstitutions(QStringLiteral("ＭＳ Ｐゴシック"),
                               {QStringLiteral("IPAPGothic"), QStringLiteral("Noto Sans CJK JP"),
                                QStringLiteral("VL PGothic")});
    QFont::insertSubstitutions(QStringLiteral("ＭＳ ゴシック"),
                               {QStringLiteral("IPAGothic"), QStringLiteral("Noto Sans Mono CJK JP"),
                                QStringLiteral("VL Gothic")});
}

bool QtClipboard::hasText() const {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return data != nullptr && data->hasText();
}

std::string QtClipboard::text() const { return fromQString(QGuiApplication::clipboard()->text()); }

void QtClipboard::empty() { QGuiApplication::clipboard()->clear(); }

bool QtClipboard::setPicture(const platform::Bitmap& picture) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    auto* data = new QMimeData;
    data->setImageData(toQImage(picture));
    clipboard->setMimeData(data);
    // On X11 the owner stays the program whose change is newer than the last one this
    // program heard of; Qt keeps the data and counts itself the owner all the same, but
    // the clipboard then offers the other program's contents, not these.
    return clipboard->mimeData() == data;
}

QtSound::QtSound() = default;
QtSound::~QtSound() = default;

void QtSound::playAsync(std::string_view wavPath) {
    const QString path = toQString(wavPath);
    if (path.isEmpty() || !QFileInfo(path).isFile()) {
        QApplication::beep();
        return;
    }
    if (!effect_) {
        effect_ = std::make_unique<QSoundEffect>();
        QSoundEffect* effect = effect_.get();
        QObject::connect(effect, &QSoundEffect::statusChanged, effect, [effect] {
            if (effect->status() == QSoundEffect::Error) QApplication::beep();
        });
    }
    effect_->setSource(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));
    effect_->play();
}

// The desktop has one alert sound for every kind.
void QtBeep::beep(platform::BeepKind) { QApplication::beep(); }

void QtHelpViewer::open(std::string_view document) {
    const QString name = toQString(document);
    for (const QString& folder : {QDir::currentPath(), QCoreApplication::applicationDirPath(),
                                  QStringLiteral(LORRIN_DOC_DIR)}) {
        const QString path = QDir(folder).filePath(name);
        if (QFileInfo(path).isFile()) {
            QDesktopServices::openUrl(QUrl::fromLocalFile(path));
            return;
        }
    }
}

platform::ScreenSize QtScreen::size() const {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) return {};
    return {screen->geometry().width(), screen->geometry().height()};
}

std::optional<FontChoice> QtFontDialog::choose(const FontChoice& initial) {
    bool ok = false;
    const QFont font = QFontDialog::getFont(&ok, QFont(toQString(initial.name), initial.size),
                                            parent_);
    if (!ok) return std::nullopt;
    return FontChoice{fromQString(font.family()), font.pointSize()};
}

}  // namespace lorrin::qt
