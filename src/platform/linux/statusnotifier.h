#pragma once

// The icon in a D-Bus notification area (org.kde.StatusNotifierItem), the kind the panels of
// KDE Plasma, XFCE, LXQt and GNOME's AppIndicator extension show. Our own rather than Qt's: Qt's
// item has no label, and GNOME's extension shows no tooltips, so there the label beside the
// icon is where the time left can be read; and Qt's drops the point where the panel wants the
// menu. The pictures are converted once, and a change is announced only while a panel shows
// the item, only for what changed.

#include <QDBusAbstractAdaptor>
#include <QDBusArgument>
#include <QDBusObjectPath>
#include <QIcon>
#include <QList>
#include <QObject>
#include <QPoint>
#include <QPointer>

#include <array>

class DBusMenu;
class QDBusServiceWatcher;
class QMenu;

// One picture as the protocol sends it: width, height, ARGB32 in network byte order.
struct SniImage {
    int width = 0;
    int height = 0;
    QByteArray pixels;
};
using SniImages = QList<SniImage>;
// Icon name, pictures, title and text of the tooltip.
struct SniToolTip {
    QString iconName;
    SniImages images;
    QString title;
    QString text;
};
Q_DECLARE_METATYPE(SniImage)
Q_DECLARE_METATYPE(SniToolTip)

QDBusArgument& operator<<(QDBusArgument& argument, const SniImage& image);
const QDBusArgument& operator>>(const QDBusArgument& argument, SniImage& image);
QDBusArgument& operator<<(QDBusArgument& argument, const SniToolTip& tip);
const QDBusArgument& operator>>(const QDBusArgument& argument, SniToolTip& tip);

class StatusNotifierAdaptor;

class StatusNotifierItem : public QObject {
    Q_OBJECT
public:
    // idle: the still picture; frames: the animation, numbered 0 to 3.
    StatusNotifierItem(const QIcon& idle, const std::array<QIcon, 4>& frames,
                       QObject* parent = nullptr);
    ~StatusNotifierItem() override;

    // Puts the item on the session bus and registers it with the notification area.
    void show(int picture, const QString& tip);
    // The picture (-1 the still one) and tooltip now.
    void set(int picture, const QString& tip);
    void setMenu(QMenu* menu);

    // What the protocol's properties read.
    SniImages iconPixmap() const;
    SniToolTip toolTip() const;
    QString label() const { return label_; }
    QString labelGuide() const;

Q_SIGNALS:
    // The panel asked for the menu at this point of the screen (a click on the icon).
    void menuRequested(const QPoint& at);

private Q_SLOTS:
    // A panel came or went: is one still there?
    void hostsChanged();

private:
    void registerWithWatcher();
    void askForHost();
    void announce(bool icon, bool tip, bool label);

    std::array<SniImages, 5> images_;  // the still picture, then the frames
    int picture_ = -1;
    QString tip_;
    QString label_;
    StatusNotifierAdaptor* adaptor_;
    DBusMenu* menu_;
    QDBusServiceWatcher* watcher_ = nullptr;
    bool shown_ = false;
    bool hostPresent_ = false;
};

class StatusNotifierAdaptor : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierItem")
    Q_PROPERTY(QString Category READ category)
    Q_PROPERTY(QString Id READ id)
    Q_PROPERTY(QString Title READ title)
    Q_PROPERTY(QString Status READ status)
    Q_PROPERTY(QString IconName READ none)
    Q_PROPERTY(SniImages IconPixmap READ iconPixmap)
    Q_PROPERTY(QString OverlayIconName READ none)
    Q_PROPERTY(SniImages OverlayIconPixmap READ noPictures)
    Q_PROPERTY(QString AttentionIconName READ none)
    Q_PROPERTY(SniImages AttentionIconPixmap READ noPictures)
    Q_PROPERTY(QString AttentionMovieName READ none)
    Q_PROPERTY(SniToolTip ToolTip READ toolTip)
    Q_PROPERTY(bool ItemIsMenu READ itemIsMenu)
    Q_PROPERTY(QDBusObjectPath Menu READ menu)
    // GNOME's AppIndicator extension shows no tooltips: the label beside the icon, and what a
    // screen reader says of the icon.
    Q_PROPERTY(QString XAyatanaLabel READ label)
    Q_PROPERTY(QString XAyatanaLabelGuide READ labelGuide)
    Q_PROPERTY(QString IconAccessibleDesc READ accessibleDescription)
    Q_PROPERTY(QString AttentionAccessibleDesc READ accessibleDescription)
public:
    explicit StatusNotifierAdaptor(StatusNotifierItem* item);
    QString category() const { return QStringLiteral("ApplicationStatus"); }
    QString id() const;
    QString title() const;
    QString status() const { return QStringLiteral("Active"); }
    SniImages iconPixmap() const { return item_->iconPixmap(); }
    QString none() const { return {}; }
    SniImages noPictures() const { return {}; }
    SniToolTip toolTip() const { return item_->toolTip(); }
    bool itemIsMenu() const { return false; }
    QDBusObjectPath menu() const;
    QString label() const { return item_->label(); }
    QString labelGuide() const { return item_->labelGuide(); }
    QString accessibleDescription() const { return item_->toolTip().title; }

public Q_SLOTS:
    void Activate(int x, int y);
    void ContextMenu(int x, int y);
    void SecondaryActivate(int x, int y);
    void Scroll(int delta, const QString& orientation);

Q_SIGNALS:
    void NewTitle();
    void NewIcon();
    void NewAttentionIcon();
    void NewOverlayIcon();
    void NewToolTip();
    void NewStatus(const QString& status);
    void XAyatanaNewLabel(const QString& label, const QString& guide);

private:
    StatusNotifierItem* item_;
};
