#include "platform/linux/statusnotifier.h"

#include "platform/linux/dbusmenu.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusServiceWatcher>
#include <QDBusVariant>
#include <QGuiApplication>
#include <QImage>
#include <QtEndian>

namespace {

const QString kWatcher = QStringLiteral("org.kde.StatusNotifierWatcher");
const QString kWatcherPath = QStringLiteral("/StatusNotifierWatcher");
const QString kItemInterface = QStringLiteral("org.kde.StatusNotifierItem");
const QString kItemPath = QStringLiteral("/StatusNotifierItem");
const QString kMenuPath = QStringLiteral("/MenuBar");

SniImages protocolImages(const QIcon& icon) {
    SniImages images;
    for (const QSize& size : icon.availableSizes()) {
        const QImage image = icon.pixmap(size).toImage().convertToFormat(QImage::Format_ARGB32);
        SniImage out{image.width(), image.height(), {}};
        out.pixels.resize(qsizetype(image.width()) * image.height() * 4);
        auto* to = reinterpret_cast<quint32*>(out.pixels.data());
        for (int y = 0; y < image.height(); ++y) {
            const auto* from = reinterpret_cast<const quint32*>(image.constScanLine(y));
            for (int x = 0; x < image.width(); ++x) {
                *to++ = qToBigEndian(from[x]);
            }
        }
        images.append(out);
    }
    return images;
}

}  // namespace

QDBusArgument& operator<<(QDBusArgument& argument, const SniImage& image) {
    argument.beginStructure();
    argument << image.width << image.height << image.pixels;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, SniImage& image) {
    argument.beginStructure();
    argument >> image.width >> image.height >> image.pixels;
    argument.endStructure();
    return argument;
}

QDBusArgument& operator<<(QDBusArgument& argument, const SniToolTip& tip) {
    argument.beginStructure();
    argument << tip.iconName << tip.images << tip.title << tip.text;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, SniToolTip& tip) {
    argument.beginStructure();
    argument >> tip.iconName >> tip.images >> tip.title >> tip.text;
    argument.endStructure();
    return argument;
}

StatusNotifierItem::StatusNotifierItem(const QIcon& idle, const std::array<QIcon, 4>& frames,
                                       QObject* parent)
    : QObject(parent), adaptor_(new StatusNotifierAdaptor(this)), menu_(new DBusMenu(this)) {
    static const bool registered = [] {
        qDBusRegisterMetaType<SniImage>();
        qDBusRegisterMetaType<SniImages>();
        qDBusRegisterMetaType<SniToolTip>();
        return true;
    }();
    Q_UNUSED(registered);
    new DBusMenuAdaptor(menu_);
    const std::array<QIcon, 5> icons = {idle, frames[0], frames[1], frames[2], frames[3]};
    // Converted once: every read of the properties sends these.
    for (std::size_t i = 0; i < icons.size(); ++i) {
        images_[i] = protocolImages(icons[i]);
    }
}

StatusNotifierItem::~StatusNotifierItem() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    bus.unregisterObject(kItemPath);
    bus.unregisterObject(kMenuPath);
}

SniImages StatusNotifierItem::iconPixmap() const {
    return images_.at(std::size_t(picture_ + 1));
}

SniToolTip StatusNotifierItem::toolTip() const {
    return {QString(), {}, tip_, QString()};
}

QString StatusNotifierItem::labelGuide() const {
    // The widest text the label will hold, so the panel need not move its neighbours.
    QString guide = label_;
    for (QChar& c : guide) {
        if (c.isDigit()) {
            c = u'0';
        }
    }
    return guide;
}

void StatusNotifierItem::setMenu(QMenu* menu) {
    menu_->setMenu(menu);
}

void StatusNotifierItem::show(int picture, const QString& tip) {
    set(picture, tip);
    if (shown_) {
        return;
    }
    QDBusConnection bus = QDBusConnection::sessionBus();
    shown_ = bus.registerObject(kItemPath, this, QDBusConnection::ExportAdaptors) &&
             bus.registerObject(kMenuPath, menu_, QDBusConnection::ExportAdaptors);
    if (!shown_) {
        return;
    }
    // A notification area that starts again (a panel restarted) gets the item again.
    watcher_ =
        new QDBusServiceWatcher(kWatcher, bus, QDBusServiceWatcher::WatchForOwnerChange, this);
    connect(watcher_, &QDBusServiceWatcher::serviceRegistered, this,
            &StatusNotifierItem::registerWithWatcher);
    connect(watcher_, &QDBusServiceWatcher::serviceUnregistered, this,
            [this] { hostPresent_ = false; });
    for (const char* signal : {"StatusNotifierHostRegistered", "StatusNotifierHostUnregistered"}) {
        bus.connect(kWatcher, kWatcherPath, kWatcher, QString::fromLatin1(signal), this,
                    SLOT(hostsChanged()));
    }
    registerWithWatcher();
}

void StatusNotifierItem::registerWithWatcher() {
    QDBusMessage call = QDBusMessage::createMethodCall(
        kWatcher, kWatcherPath, kWatcher, QStringLiteral("RegisterStatusNotifierItem"));
    // Registered by its path, the item is known by the program's own connection, which the
    // panels watch. (Registered under a name of its own, GNOME's AppIndicator extension 43 drops
    // the item a second after it appears, on reading its properties again.)
    call << kItemPath;
    QDBusConnection::sessionBus().asyncCall(call);
    askForHost();
}

void StatusNotifierItem::hostsChanged() {
    askForHost();
}

void StatusNotifierItem::askForHost() {
    QDBusMessage get = QDBusMessage::createMethodCall(
        kWatcher, kWatcherPath, QStringLiteral("org.freedesktop.DBus.Properties"),
        QStringLiteral("Get"));
    get << kWatcher << QStringLiteral("IsStatusNotifierHostRegistered");
    auto* pending = new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(get), this);
    connect(pending, &QDBusPendingCallWatcher::finished, this,
            [this](QDBusPendingCallWatcher* call) {
                const QDBusPendingReply<QDBusVariant> reply = *call;
                hostPresent_ = reply.isValid() && reply.value().variant().toBool();
                call->deleteLater();
            });
}

void StatusNotifierItem::set(int picture, const QString& tip) {
    const QString label = picture < 0 ? QString() : tip;
    const bool icon = picture != picture_;
    const bool tipChanged = tip != tip_;
    const bool labelChanged = label != label_;
    picture_ = picture;
    tip_ = tip;
    label_ = label;
    // No panel shows the item: none listens. One that comes reads everything anew.
    if (shown_ && hostPresent_) {
        announce(icon, tipChanged, labelChanged);
    }
}

void StatusNotifierItem::announce(bool icon, bool tip, bool label) {
    // Each panel reads again only what it was told of.
    if (icon) {
        Q_EMIT adaptor_->NewIcon();
    }
    if (tip) {
        Q_EMIT adaptor_->NewToolTip();
    }
    if (label) {
        Q_EMIT adaptor_->XAyatanaNewLabel(label_, labelGuide());
    }
}

StatusNotifierAdaptor::StatusNotifierAdaptor(StatusNotifierItem* item)
    : QDBusAbstractAdaptor(item), item_(item) {}

QString StatusNotifierAdaptor::id() const {
    return QCoreApplication::applicationName();
}

QString StatusNotifierAdaptor::title() const {
    return QGuiApplication::applicationDisplayName();
}

QDBusObjectPath StatusNotifierAdaptor::menu() const {
    return QDBusObjectPath(kMenuPath);
}

void StatusNotifierAdaptor::Activate(int x, int y) {
    Q_EMIT item_->menuRequested(QPoint(x, y));
}

void StatusNotifierAdaptor::ContextMenu(int x, int y) {
    Q_EMIT item_->menuRequested(QPoint(x, y));
}

void StatusNotifierAdaptor::SecondaryActivate(int x, int y) {
    Q_UNUSED(x);
    Q_UNUSED(y);
}

void StatusNotifierAdaptor::Scroll(int delta, const QString& orientation) {
    Q_UNUSED(delta);
    Q_UNUSED(orientation);
}
