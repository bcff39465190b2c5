#include "platform/linux/dbusmenu.h"

#include <QAction>
#include <QDBusMetaType>
#include <QEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QTimer>

QDBusArgument& operator<<(QDBusArgument& argument, const DBusMenuLayout& layout) {
    argument.beginStructure();
    argument << layout.id << layout.properties;
    // Entries of a submenu travel as variants: the type refers to itself.
    argument.beginArray(qMetaTypeId<QDBusVariant>());
    for (const DBusMenuLayout& child : layout.children) {
        argument << QDBusVariant(QVariant::fromValue(child));
    }
    argument.endArray();
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, DBusMenuLayout& layout) {
    argument.beginStructure();
    argument >> layout.id >> layout.properties;
    argument.beginArray();
    layout.children.clear();
    while (!argument.atEnd()) {
        QDBusVariant child;
        argument >> child;
        layout.children.append(qdbus_cast<DBusMenuLayout>(child.variant()));
    }
    argument.endArray();
    argument.endStructure();
    return argument;
}

QDBusArgument& operator<<(QDBusArgument& argument, const DBusMenuItem& item) {
    argument.beginStructure();
    argument << item.id << item.properties;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, DBusMenuItem& item) {
    argument.beginStructure();
    argument >> item.id >> item.properties;
    argument.endStructure();
    return argument;
}

QDBusArgument& operator<<(QDBusArgument& argument, const DBusMenuItemKeys& keys) {
    argument.beginStructure();
    argument << keys.id << keys.names;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, DBusMenuItemKeys& keys) {
    argument.beginStructure();
    argument >> keys.id >> keys.names;
    argument.endStructure();
    return argument;
}

QDBusArgument& operator<<(QDBusArgument& argument, const DBusMenuEvent& event) {
    argument.beginStructure();
    argument << event.id << event.eventId << event.data << event.timestamp;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, DBusMenuEvent& event) {
    argument.beginStructure();
    argument >> event.id >> event.eventId >> event.data >> event.timestamp;
    argument.endStructure();
    return argument;
}

namespace {

// The protocol marks the access key with "_" where Qt uses "&".
QString protocolLabel(const QString& text) {
    QString label;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'&' && i + 1 < text.size()) {
            label += text.at(++i) == u'&' ? QStringLiteral("&") : QString(u'_') + text.at(i);
        } else if (c == u'_') {
            label += QStringLiteral("__");
        } else {
            label += c;
        }
    }
    return label;
}

}  // namespace

DBusMenu::DBusMenu(QObject* parent) : QObject(parent) {
    static const bool registered = [] {
        qDBusRegisterMetaType<DBusMenuLayout>();
        qDBusRegisterMetaType<DBusMenuItem>();
        qDBusRegisterMetaType<QList<DBusMenuItem>>();
        qDBusRegisterMetaType<DBusMenuItemKeys>();
        qDBusRegisterMetaType<QList<DBusMenuItemKeys>>();
        qDBusRegisterMetaType<DBusMenuEvent>();
        qDBusRegisterMetaType<QList<DBusMenuEvent>>();
        return true;
    }();
    Q_UNUSED(registered);
}

void DBusMenu::setMenu(QMenu* menu) {
    if (menu_ == menu) {
        return;
    }
    if (menu_) {
        disconnect(menu_, nullptr, this, nullptr);
    }
    menu_ = menu;
    ids_.clear();
    actions_.clear();
    if (menu_) {
        for (QAction* action : menu_->actions()) {
            connect(action, &QAction::changed, this, &DBusMenu::actionChanged);
        }
    }
    actionChanged();
}

void DBusMenu::actionChanged() {
    // Several changes in one event (an alert starting disables and enables several entries)
    // make one new layout.
    if (changePending_) {
        return;
    }
    changePending_ = true;
    QTimer::singleShot(0, this, [this] {
        changePending_ = false;
        ++revision_;
        Q_EMIT changed(revision_);
    });
}

int DBusMenu::idOf(QAction* action) {
    auto it = ids_.constFind(action);
    if (it != ids_.constEnd()) {
        return *it;
    }
    const int id = static_cast<int>(ids_.size()) + 1;
    ids_.insert(action, id);
    actions_.insert(id, action);
    return id;
}

QAction* DBusMenu::action(int id) {
    return actions_.value(id);
}

QList<QAction*> DBusMenu::entries(int id) {
    if (id == 0) {
        return menu_ ? menu_->actions() : QList<QAction*>();
    }
    QAction* a = action(id);
    return a && a->menu() ? a->menu()->actions() : QList<QAction*>();
}

bool DBusMenu::exists(int id) {
    return id == 0 || action(id) != nullptr;
}

QVariantMap DBusMenu::properties(int id, const QStringList& names) {
    QVariantMap all;
    if (id == 0) {
        all.insert(QStringLiteral("children-display"), QStringLiteral("submenu"));
    } else if (QAction* a = action(id)) {
        if (a->isSeparator()) {
            all.insert(QStringLiteral("type"), QStringLiteral("separator"));
        } else {
            all.insert(QStringLiteral("label"), protocolLabel(a->text()));
        }
        // Enabled and visible are the protocol's defaults: only their opposites are sent.
        if (!a->isEnabled()) {
            all.insert(QStringLiteral("enabled"), false);
        }
        if (!a->isVisible()) {
            all.insert(QStringLiteral("visible"), false);
        }
        if (a->menu()) {
            all.insert(QStringLiteral("children-display"), QStringLiteral("submenu"));
        }
    }
    if (names.isEmpty()) {
        return all;
    }
    QVariantMap asked;
    for (const QString& name : names) {
        if (all.contains(name)) {
            asked.insert(name, all.value(name));
        }
    }
    return asked;
}

DBusMenuLayout DBusMenu::layout(int id, int depth, const QStringList& names) {
    DBusMenuLayout result{id, properties(id, names), {}};
    if (depth != 0) {
        for (QAction* a : entries(id)) {
            result.children.append(layout(idOf(a), depth - 1, names));
        }
    }
    return result;
}

void DBusMenu::handleEvent(int id, const QString& eventId) {
    QAction* a = action(id);
    if (a && eventId == u"clicked" && a->isEnabled()) {
        // The host waits for the answer; the command may open windows.
        QMetaObject::invokeMethod(a, &QAction::trigger, Qt::QueuedConnection);
    }
}

DBusMenuAdaptor::DBusMenuAdaptor(DBusMenu* menu) : QDBusAbstractAdaptor(menu), menu_(menu) {
    connect(menu, &DBusMenu::changed, this,
            [this](uint revision) { Q_EMIT LayoutUpdated(revision, 0); });
}

QString DBusMenuAdaptor::textDirection() const {
    return QGuiApplication::layoutDirection() == Qt::RightToLeft ? QStringLiteral("rtl")
                                                                 : QStringLiteral("ltr");
}

uint DBusMenuAdaptor::GetLayout(int parentId, int recursionDepth, const QStringList& propertyNames,
                                DBusMenuLayout& layout) {
    layout = menu_->layout(parentId, recursionDepth, propertyNames);
    return menu_->revision();
}

QList<DBusMenuItem> DBusMenuAdaptor::GetGroupProperties(const QList<int>& ids,
                                                        const QStringList& propertyNames) {
    QList<DBusMenuItem> items;
    for (int id : ids) {
        if (menu_->exists(id)) {
            items.append({id, menu_->properties(id, propertyNames)});
        }
    }
    return items;
}

QDBusVariant DBusMenuAdaptor::GetProperty(int id, const QString& name) {
    // A property the entry does not send has the protocol's default.
    const QVariant defaultValue =
        name == u"enabled" || name == u"visible"
            ? QVariant(true)
            : QVariant(name == u"type" ? QStringLiteral("standard") : QString());
    return QDBusVariant(menu_->properties(id, {name}).value(name, defaultValue));
}

void DBusMenuAdaptor::Event(int id, const QString& eventId, const QDBusVariant& data,
                            uint timestamp) {
    Q_UNUSED(data);
    Q_UNUSED(timestamp);
    menu_->handleEvent(id, eventId);
}

QList<int> DBusMenuAdaptor::EventGroup(const QList<DBusMenuEvent>& events) {
    QList<int> unknown;
    for (const DBusMenuEvent& e : events) {
        if (menu_->exists(e.id)) {
            menu_->handleEvent(e.id, e.eventId);
        } else {
            unknown.append(e.id);
        }
    }
    return unknown;
}

bool DBusMenuAdaptor::AboutToShow(int id) {
    Q_UNUSED(id);
    // The entries are always current: the host need not read them again.
    return false;
}

QList<int> DBusMenuAdaptor::AboutToShowGroup(const QList<int>& ids, QList<int>& idErrors) {
    for (int id : ids) {
        if (!menu_->exists(id)) {
            idErrors.append(id);
        }
    }
    return {};
}
