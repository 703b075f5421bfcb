#include "components/drop_files.h"

#include <QCoreApplication>
#include <QDir>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <vector>

namespace quendra {

namespace {

// One entry per hook made. Unhooking clears the component; cleared entries and entries
// of destroyed widgets are dropped when no event is being passed on.
struct HookEntry {
    EventHook* component;
    QPointer<QWidget> window;
};

std::vector<HookEntry>& hookList() {
    static std::vector<HookEntry> list;
    return list;
}

int dispatching = 0; // depth of event delivery through the hook list

void pruneHookList() {
    if (dispatching > 0)
        return;
    auto& list = hookList();
    std::erase_if(list, [](const HookEntry& e) { return !e.component || !e.window; });
}

bool hasActiveEntry(const QWidget* window) {
    for (const HookEntry& e : hookList())
        if (e.component && e.window == window)
            return true;
    return false;
}

} // namespace

// The shared hook: installed once on every widget that has at least one component hooked.
class HookFilter : public QObject {
  public:
    using QObject::QObject;

    static HookFilter* shared() {
        static QPointer<HookFilter> filter;
        if (!filter)
            filter = new HookFilter(QCoreApplication::instance());
        return filter;
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        auto& list = hookList();
        ++dispatching;
        // By index: a component may hook or unhook while it handles the event.
        for (std::size_t i = 0; i < list.size(); ++i) {
            EventHook* component = list[i].component;
            if (!component || component->destroying_ || list[i].window.data() != watched)
                continue;
            try {
                component->hookedEvent(static_cast<QWidget*>(watched), event);
            } catch (...) {
                // Nothing may leave an event handler; the widget goes on working.
            }
        }
        --dispatching;
        return false; // the widget itself always handles the event too
    }
};

// --- EventHook ----------------------------------------------------------------------

EventHook::EventHook(QObject* owner) : QObject(owner) {
    for (QObject* o = owner; o; o = o->parent()) {
        if (auto* w = qobject_cast<QWidget*>(o); w && w->isWindow()) {
            form_ = w;
            break;
        }
    }
    // A widget announces its destruction before its children go: from then on there is
    // no form to fall back to.
    if (form_)
        connect(form_, &QObject::destroyed, this, [this] { form_ = nullptr; });
}

EventHook::~EventHook() {
    destroying_ = true;
    for (HookEntry& e : hookList()) {
        if (e.component != this)
            continue;
        e.component = nullptr;
        if (e.window && !hasActiveEntry(e.window))
            e.window->removeEventFilter(HookFilter::shared());
    }
    pruneHookList();
}

void EventHook::hook(EventHook* component, QWidget* window) {
    pruneHookList();
    if (!hasActiveEntry(window))
        window->installEventFilter(HookFilter::shared());
    hookList().push_back({component, window});
}

void EventHook::unhook(EventHook* component, QWidget* window) {
    for (HookEntry& e : hookList()) {
        if (e.component == component && e.window == window) {
            e.component = nullptr;
            break;
        }
    }
    if (window && !hasActiveEntry(window))
        window->removeEventFilter(HookFilter::shared());
    pruneHookList();
}

void EventHook::setHookedWindow(QWidget* window) {
    if (window == hooked_)
        return;
    if (hooked_)
        unhook(this, hooked_);
    hooked_ = window;
    if (window)
        hook(this, window);
}

int EventHook::activeHookCount() {
    int n = 0;
    for (const HookEntry& e : hookList())
        if (e.component && e.window)
            ++n;
    return n;
}

void EventHook::hookedEvent(QWidget*, QEvent*) {}

// --- DropTarget -------------------------------------------------------------------------

namespace {

void acceptAsCopy(QDropEvent* event) {
    if (event->possibleActions() & Qt::CopyAction)
        event->setDropAction(Qt::CopyAction);
    event->accept();
}

} // namespace

DropTarget::DropTarget(QObject* owner) : EventHook(owner) {
    startAccept();
}

DropTarget::~DropTarget() {
    disconnect(dropWindowWatch_);
    if (accept_)
        stopAccept();
    setHookedWindow(nullptr);
}

QWidget* DropTarget::target() const {
    return dropWindow_ ? dropWindow_.data() : form();
}

void DropTarget::startAccept() {
    QWidget* t = target();
    if (!t)
        return;
    setHookedWindow(t);
    t->setAcceptDrops(true);
}

void DropTarget::stopAccept() {
    QWidget* hooked = hookedWindow();
    if (!hooked)
        return;
    // Another drop component that still accepts on this widget keeps it registered.
    for (const HookEntry& e : hookList()) {
        auto* drop = qobject_cast<DropTarget*>(e.component);
        if (drop && drop != this && e.window == hooked && drop->accept())
            return;
    }
    hooked->setAcceptDrops(false);
}

void DropTarget::setAccept(bool on) {
    accept_ = on;
    if (on)
        startAccept();
    else
        stopAccept();
}

void DropTarget::setDropWindow(QWidget* window) {
    if (window == dropWindow_)
        return;
    if (accept_)
        stopAccept();
    disconnect(dropWindowWatch_);
    dropWindow_ = window;
    if (window) {
        dropWindowWatch_ =
            connect(window, &QObject::destroyed, this, [this] { dropWindowDestroyed(); });
    }
    if (accept_)
        startAccept();
}

void DropTarget::dropWindowDestroyed() {
    // The widget is on its way out: there is nothing left to unregister on it. The target
    // moves to the form, unless the form is what is being destroyed.
    disconnect(dropWindowWatch_);
    dropWindow_ = nullptr;
    QWidget* f = form();
    setHookedWindow(f);
    if (f && accept_)
        f->setAcceptDrops(true);
}

void DropTarget::hookedEvent(QWidget*, QEvent* event) {
    if (!accept_)
        return;
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDropEvent*>(event);
        if (drag->mimeData() && drag->mimeData()->hasUrls())
            acceptAsCopy(drag);
        break;
    }
    case QEvent::Drop:
        handleDrop(static_cast<QDropEvent*>(event));
        break;
    default:
        break;
    }
}

void DropTarget::handleDrop(QDropEvent* event) {
    try {
        dropPoint_ = event->position().toPoint();
        QStringList dropped;
        const QMimeData* mime = event->mimeData();
        if (mime && mime->hasUrls()) {
            for (const QUrl& url : mime->urls()) {
                if (url.isLocalFile())
                    dropped.append(QDir::toNativeSeparators(url.toLocalFile()));
            }
        }
        // A drop without files keeps the list of the previous one.
        if (!dropped.isEmpty()) {
            files_.clear();
            for (auto it = dropped.crbegin(); it != dropped.crend(); ++it)
                files_.append(*it);
        }
        acceptAsCopy(event);
        emit filesDropped(this); // the handler may delete this component
    } catch (...) {
        // A failure while collecting the names or in the handler ends the drop silently.
    }
}

} // namespace quendra
