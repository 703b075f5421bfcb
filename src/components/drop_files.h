// EventHook: a non-visual component that sees the events of one widget before the
// widget handles them. DropTarget: files dropped from the file manager onto a widget.
//
// All hooks of the program go through one list of (component, widget) entries. A widget
// with at least one entry carries a shared event filter that passes each event to the
// entry's components in the order they were hooked, and then on to the widget itself, so
// several components can watch one widget and unhooking one leaves the others working.
#pragma once

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QStringList>
#include <QWidget>

class QDropEvent;

namespace quendra {

class EventHook : public QObject {
    Q_OBJECT
  public:
    // The form is the first window found walking up from `owner` through its parents;
    // it is found once, here.
    explicit EventHook(QObject* owner = nullptr);
    ~EventHook() override;

    QWidget* form() const { return form_; }
    QWidget* hookedWindow() const { return hooked_; }
    // Unhooks from the previous widget and hooks `window` (none: hooked to nothing).
    void setHookedWindow(QWidget* window);

    // Entries of the program-wide hook list that still name a component (for diagnostics
    // and tests).
    static int activeHookCount();

  protected:
    // Sees every event of the hooked widget before the widget does. Exceptions thrown
    // here are swallowed by the hook.
    virtual void hookedEvent(QWidget* window, QEvent* event);

    bool destroying() const { return destroying_; }

  private:
    friend class HookFilter;
    static void hook(EventHook* component, QWidget* window);
    static void unhook(EventHook* component, QWidget* window);

    QPointer<QWidget> form_;
    QPointer<QWidget> hooked_;
    bool destroying_ = false;
};

class DropTarget : public EventHook {
    Q_OBJECT
  public:
    // Starts accepting at once on the form; setDropWindow moves the target.
    explicit DropTarget(QObject* owner = nullptr);
    ~DropTarget() override;

    // The widget that receives drops; none means the form.
    QWidget* dropWindow() const { return dropWindow_; }
    void setDropWindow(QWidget* window);

    bool accept() const { return accept_; }
    void setAccept(bool on);

    // Full paths of the last drop, whole, in reverse of the order the system delivered
    // them. Kept until the next drop that has files.
    const QStringList& files() const { return files_; }
    // Where the last drop happened, in the drop widget's coordinates.
    QPoint dropPoint() const { return dropPoint_; }

  signals:
    // Raised after every drop while accepting, also a drop that brought no files.
    void filesDropped(quendra::DropTarget* sender);

  protected:
    void hookedEvent(QWidget* window, QEvent* event) override;

  private:
    QWidget* target() const;
    void startAccept();
    void stopAccept();
    void dropWindowDestroyed();
    void handleDrop(QDropEvent* event);

    QPointer<QWidget> dropWindow_;
    QMetaObject::Connection dropWindowWatch_;
    bool accept_ = true;
    QStringList files_;
    QPoint dropPoint_;
};

} // namespace quendra
