#include "qt_adapter.h"

#include "lorrin/keeper/xcb_calls.h"
#include "lorrin/language.h"
#include "lorrin/picture_files.h"

#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QFontDialog>
#include <QLibraryInfo>
#include <QMimeData>
#include <QScreen>
#include <QSoundEffect>
#include <QTranslator>
#include <QUrl>

#include <xcb/xcb.h>

#include <poll.h>

#include <array>
#include <chrono>

namespace lorrin::qt {
namespace {

// An owner that has not answered by then is taken to have nothing for us.
constexpr std::chrono::milliseconds kAnswerLimit{300};
// Longer texts are never codes; their owners hand them over in pieces (INCR), which is
// not asked for, so they are left alone as well.
constexpr std::uint32_t kTextLimitWords = (1u << 20) / 4;
// Each request names the next of these properties for the answer, so that a late answer
// to an earlier request (it names an earlier one) is not taken for the current one.
constexpr std::array<std::string_view, 4> kAnswerProperties = {
    "LORRIN_CLIPBOARD_TEXT_0", "LORRIN_CLIPBOARD_TEXT_1", "LORRIN_CLIPBOARD_TEXT_2",
    "LORRIN_CLIPBOARD_TEXT_3"};

using keeper::xcb::internAtom;
using keeper::xcb::Reply;

}  // namespace

// The clipboard on an X connection of the program's own: its owner, whether a clipboard
// manager runs, and another program's text, read within kAnswerLimit.  Qt waits five
// seconds for an owner that went away after being asked (a burst of short-lived owners
// does that), with the window deaf meanwhile.
class X11Clipboard {
public:
    enum class Owner { kNone, kThisProgram, kOther };

    // nullptr unless Qt runs on X11 and the display takes a second connection.
    static std::unique_ptr<X11Clipboard> open() {
        const auto* x11 = qGuiApp == nullptr
                              ? nullptr
                              : qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
        if (x11 == nullptr) return nullptr;
        xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
        if (xcb_connection_has_error(connection) != 0) {
            xcb_disconnect(connection);
            return nullptr;
        }
        return std::unique_ptr<X11Clipboard>(
            new X11Clipboard(connection, *xcb_get_setup(x11->connection())));
    }
    ~X11Clipboard() { xcb_disconnect(connection_); }
    X11Clipboard(const X11Clipboard&) = delete;
    X11Clipboard& operator=(const X11Clipboard&) = delete;

    Owner owner() const {
        const xcb_window_t window = ownerOf(clipboard_);
        if (window == XCB_NONE) return Owner::kNone;
        // Every window Qt makes carries its connection's id base.
        return (window & ~qtIdMask_) == qtIdBase_ ? Owner::kThisProgram : Owner::kOther;
    }

    bool managerRuns() const { return ownerOf(manager_) != XCB_NONE; }

    // The text as UTF-8; nullopt when the owner offers none or does not answer in time.
    std::optional<std::string> read() const {
        const auto deadline = std::chrono::steady_clock::now() + kAnswerLimit;
        for (const xcb_atom_t form : {utf8_, xcb_atom_t{XCB_ATOM_STRING}}) {
            const xcb_atom_t asked = properties_[nextProperty_++ % properties_.size()];
            xcb_convert_selection(connection_, window_, clipboard_, form, asked, XCB_CURRENT_TIME);
            xcb_flush(connection_);
            const auto property = awaitAnswer(form, asked, deadline);
            if (!property) return std::nullopt;
            if (*property == XCB_ATOM_NONE) continue;  // not offered in this form
            auto bytes = takeProperty(asked);
            if (bytes && form == XCB_ATOM_STRING) bytes = fromQString(QString::fromLatin1(*bytes));
            return bytes;
        }
        return std::nullopt;
    }

private:
    X11Clipboard(xcb_connection_t* connection, const xcb_setup_t& qtSetup)
        : connection_(connection),
          window_(xcb_generate_id(connection)),
          clipboard_(internAtom(connection, "CLIPBOARD")),
          manager_(internAtom(connection, "CLIPBOARD_MANAGER")),
          utf8_(internAtom(connection, "UTF8_STRING")),
          qtIdBase_(qtSetup.resource_id_base),
          qtIdMask_(qtSetup.resource_id_mask) {
        for (std::size_t i = 0; i < properties_.size(); ++i)
            properties_[i] = internAtom(connection, kAnswerProperties[i]);
        const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
        xcb_create_window(connection, XCB_COPY_FROM_PARENT, window_, screen->root, 0, 0, 1, 1, 0,
                          XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, 0, nullptr);
        xcb_flush(connection);
    }

    xcb_window_t ownerOf(xcb_atom_t selection) const {
        return keeper::xcb::selectionOwner(connection_, selection);
    }

    // The property the owner's answer names: `asked`, or XCB_ATOM_NONE for a refusal;
    // nullopt when no answer comes in time.  Late answers to earlier requests are passed
    // over (a late refusal cannot be told apart, and leaves the text alone).
    std::optional<xcb_atom_t> awaitAnswer(xcb_atom_t form, xcb_atom_t asked,
                                          std::chrono::steady_clock::time_point deadline) const {
        for (;;) {
            while (const Reply<xcb_generic_event_t> event{xcb_poll_for_event(connection_)}) {
                if ((event->response_type & 0x7F) != XCB_SELECTION_NOTIFY) continue;
                const auto* answer =
                    reinterpret_cast<const xcb_selection_notify_event_t*>(event.get());
                if (answer->requestor == window_ && answer->target == form &&
                    (answer->property == asked || answer->property == XCB_ATOM_NONE))
                    return answer->property;
            }
            const auto left = std::chrono::ceil<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0 || xcb_connection_has_error(connection_) != 0)
                return std::nullopt;
            pollfd ready{xcb_get_file_descriptor(connection_), POLLIN, 0};
            poll(&ready, 1, static_cast<int>(left.count()));
        }
    }

    std::optional<std::string> takeProperty(xcb_atom_t property) const {
        const Reply<xcb_get_property_reply_t> reply(
            xcb_get_property_reply(connection_,
                                   xcb_get_property(connection_, 1, window_, property,
                                                    XCB_GET_PROPERTY_TYPE_ANY, 0, kTextLimitWords),
                                   nullptr));
        if (!reply || reply->format != 8 || reply->bytes_after != 0) return std::nullopt;
        return std::string(static_cast<const char*>(xcb_get_property_value(reply.get())),
                           static_cast<std::size_t>(xcb_get_property_value_length(reply.get())));
    }

    xcb_connection_t* connection_;
    xcb_window_t window_;
    xcb_atom_t clipboard_;
    xcb_atom_t manager_;
    xcb_atom_t utf8_;
    std::array<xcb_atom_t, kAnswerProperties.size()> properties_{};
    mutable std::size_t nextProperty_ = 0;
    std::uint32_t qtIdBase_;
    std::uint32_t qtIdMask_;
};

// A picture's forms on the clipboard, each made when a program asks for it.
class PictureData : public QMimeData {
public:
    explicit PictureData(const platform::Picture& picture) : picture_(picture) {}

    const platform::Picture& picture() const { return picture_; }

    QStringList formats() const override {
        QStringList names;
        for (const ClipboardForm& form : kClipboardForms) names << toQString(form.mimeType);
        return names;
    }
    bool hasFormat(const QString& mimeType) const override { return formats().contains(mimeType); }

protected:
    QVariant retrieveData(const QString& mimeType, QMetaType) const override {
        for (const ClipboardForm& form : kClipboardForms) {
            if (mimeType != toQString(form.mimeType)) continue;
            const std::vector<std::uint8_t> image = form.image(picture_);
            return QByteArray(reinterpret_cast<const char*>(image.data()),
                              static_cast<qsizetype>(image.size()));
        }
        return {};
    }

private:
    platform::Picture picture_;
};

void installFontSubstitutions() {
    QFont::insertSubstitutions(QStringLiteral("ＭＳ Ｐゴシック"),
                               {QStringLiteral("IPAPGothic"), QStringLiteral("Noto Sans CJK JP"),
                                QStringLiteral("VL PGothic")});
    QFont::insertSubstitutions(
        QStringLiteral("ＭＳ ゴシック"),
        {QStringLiteral("IPAGothic"), QStringLiteral("Noto Sans Mono CJK JP"),
         QStringLiteral("VL Gothic")});
}

namespace {

// A list that cannot be typed into, as assistive tools see it: a combo box named by its
// accessible name, its value the entry shown; the list that drops down is its one child.
class NamedList : public QAccessibleWidget {
public:
    explicit NamedList(QComboBox* list) : QAccessibleWidget(list, QAccessible::ComboBox) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name && !list()->accessibleName().isEmpty())
            return list()->accessibleName();
        if (t == QAccessible::Name || t == QAccessible::Value) return list()->currentText();
        return QAccessibleWidget::text(t);
    }
    int childCount() const override { return 1; }
    QAccessibleInterface* child(int index) const override {
        return index == 0 ? QAccessible::queryAccessibleInterface(list()->view()) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        return child != nullptr && child->object() == list()->view() ? 0 : -1;
    }
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.expandable = true;
        s.expanded = list()->view()->isVisible();
        s.collapsed = !s.expanded;
        return s;
    }
    QStringList actionNames() const override {
        return QStringList{showMenuAction(), pressAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& action) override {
        if (action == showMenuAction() || action == pressAction())
            list()->showPopup();
        else
            QAccessibleWidget::doAction(action);
    }

private:
    QComboBox* list() const { return static_cast<QComboBox*>(widget()); }
};

QAccessibleInterface* namedLists(const QString& className, QObject* object) {
    auto* list = qobject_cast<QComboBox*>(object);
    if (className != QLatin1String("QComboBox") || list == nullptr || list->isEditable())
        return nullptr;
    return new NamedList(list);
}

}  // namespace

void installAccessibleListNames() { QAccessible::installFactory(namedLists); }

void useWindowsLanguage(std::string_view language, std::span<const std::filesystem::path> folders) {
    const QString kName = QStringLiteral("lorrin_translator");
    for (QTranslator* old : qApp->findChildren<QTranslator*>(kName, Qt::FindDirectChildrenOnly)) {
        QCoreApplication::removeTranslator(old);
        delete old;
    }
    const QString qtOwn = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    for (const QString& file :
         {QString::fromStdString(qtCatalogue(folders, language).string()),
          QDir(qtOwn).filePath(QStringLiteral("qtbase_") + toQString(language) + ".qm")}) {
        auto* translator = new QTranslator(qApp);
        translator->setObjectName(kName);
        if (file.isEmpty() || !translator->load(file) ||
            !QCoreApplication::installTranslator(translator))
            delete translator;
    }
}

QtClipboard::QtClipboard() = default;
QtClipboard::~QtClipboard() = default;

const X11Clipboard* QtClipboard::x11() const {
    if (!x11Opened_) {
        x11_ = X11Clipboard::open();
        x11Opened_ = true;
    }
    return x11_.get();
}

std::optional<std::string> QtClipboard::currentText() const {
    if (const X11Clipboard* x11Clipboard = x11()) {
        switch (x11Clipboard->owner()) {
            case X11Clipboard::Owner::kNone: return std::nullopt;
            case X11Clipboard::Owner::kOther: return x11Clipboard->read();
            case X11Clipboard::Owner::kThisProgram: break;  // Qt answers from its own data
        }
    }
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (data == nullptr || !data->hasText()) return std::nullopt;
    return fromQString(data->text());
}

bool QtClipboard::hasText() const { return currentText().has_value(); }

std::string QtClipboard::text() const { return currentText().value_or(""); }

void QtClipboard::empty() { QGuiApplication::clipboard()->clear(); }

bool QtClipboard::setPicture(const platform::Picture& picture) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    offered_ = new PictureData(picture);
    clipboard->setMimeData(offered_);
    // On X11 the owner stays the program whose change is newer than the last one this
    // program heard of; Qt keeps the data and counts itself the owner all the same, but
    // the clipboard then offers the other program's contents, not these.
    return clipboard->mimeData() == offered_;
}

std::string QtClipboard::keepPicture(const std::filesystem::path& keeper) {
    // Qt asks the display who owns the clipboard: the picture is gone once another
    // program has taken it.
    if (offered_.isNull() || QGuiApplication::clipboard()->mimeData() != offered_) return {};
    const auto lost = [](const QString& why) {
        return fromQString(
            QCoreApplication::translate("QtClipboard",
                                        "the picture on the clipboard goes with the program: %1")
                .arg(why));
    };
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return lost(QCoreApplication::translate(
            "QtClipboard", "keeping it needs an X display (XWayland on a Wayland session)"));
    const X11Clipboard* x11Clipboard = x11();
    if (x11Clipboard == nullptr)
        return lost(
            QCoreApplication::translate("QtClipboard", "the X display takes no second connection"));
    // Qt hands the clipboard to a clipboard manager itself as the application ends.
    if (x11Clipboard->managerRuns()) return {};
    const std::string failure = keepOnClipboard(offered_->picture(), keeper);
    return failure.empty() ? failure : lost(toQString(failure));
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
    const QDir programDir(QCoreApplication::applicationDirPath());
    for (const QString& folder : {QDir::currentPath(), programDir.path(),
                                  programDir.filePath(QStringLiteral(LORRIN_DOC_DIR))}) {
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
    const QFont font =
        QFontDialog::getFont(&ok, QFont(toQString(initial.name), initial.size), parent_);
    if (!ok) return std::nullopt;
    return FontChoice{fromQString(font.family()), font.pointSize()};
}

}  // namespace lorrin::qt
