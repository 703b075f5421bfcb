// The drop target and the hook beneath it, driven by synthetic drag-and-drop events.
#include <QApplication>
#include <QDragEnterEvent>
#include <QMessageBox>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>
#include <QUrl>
#include <QWidget>
#include <gtest/gtest.h>
#include <memory>
#include <stdexcept>

#include "components/drop_files.h"

using quendra::DropTarget;
using quendra::EventHook;

namespace {

std::unique_ptr<QMimeData> filesMime(const QStringList& paths, const QStringList& others = {}) {
    auto mime = std::make_unique<QMimeData>();
    QList<QUrl> urls;
    for (const QString& p : paths)
        urls << QUrl::fromLocalFile(p);
    for (const QString& u : others)
        urls << QUrl(u);
    mime->setUrls(urls);
    return mime;
}

struct DragOutcome {
    bool entered = false; // the drag was accepted over the point
    bool dropped = false; // the drop was accepted
};

// Drags `mime` over `at` (in the window's coordinates) and drops it there, as the window
// system hands it to the widget under the point.
DragOutcome dragAndDrop(QWidget* window, QPoint at, const QMimeData* mime) {
    QWidget* receiver = window->childAt(at);
    if (!receiver)
        receiver = window;
    const QPoint local = receiver->mapFrom(window, at);
    DragOutcome out;
    QDragEnterEvent enter(local, Qt::CopyAction | Qt::MoveAction, mime, Qt::LeftButton, {});
    QApplication::sendEvent(receiver, &enter);
    out.entered = enter.isAccepted();
    if (!out.entered) {
        QDragLeaveEvent leave;
        QApplication::sendEvent(receiver, &leave);
        return out;
    }
    QDragMoveEvent move(local, Qt::CopyAction | Qt::MoveAction, mime, Qt::LeftButton, {});
    QApplication::sendEvent(receiver, &move);
    QDropEvent drop(QPointF(local), Qt::CopyAction | Qt::MoveAction, mime, Qt::LeftButton, {});
    QApplication::sendEvent(receiver, &drop);
    out.dropped = drop.isAccepted();
    return out;
}

bool messageBoxShown() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (qobject_cast<QMessageBox*>(w) && w->isVisible())
            return true;
    return false;
}

// A form with a picture area at (100, 100), 120 x 80, and a button-like child elsewhere.
class DropFilesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        form = std::make_unique<QWidget>();
        form->resize(400, 300);
        picture = new QWidget(form.get());
        picture->setGeometry(100, 100, 120, 80);
        other = new QWidget(form.get());
        other->setGeometry(10, 10, 50, 30);
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    }

    std::unique_ptr<QWidget> form;
    QWidget* picture = nullptr;
    QWidget* other = nullptr;
};

TEST_F(DropFilesTest, ListIsReverseOfSystemOrderAndPointIsInDropWindowCoordinates) {
    DropTarget drop(form.get());
    drop.setDropWindow(picture);
    QSignalSpy dropped(&drop, &DropTarget::filesDropped);

    const auto mime = filesMime({"/pics/one.koa", "/pics/two.koa", "/pics/three.koa"});
    const DragOutcome out = dragAndDrop(form.get(), QPoint(150, 160), mime.get());
    EXPECT_TRUE(out.entered);
    EXPECT_TRUE(out.dropped);
    ASSERT_EQ(dropped.count(), 1);
    EXPECT_EQ(dropped.at(0).at(0).value<DropTarget*>(), &drop);
    EXPECT_EQ(drop.files(), (QStringList{"/pics/three.koa", "/pics/two.koa", "/pics/one.koa"}));
    EXPECT_EQ(drop.dropPoint(), QPoint(50, 60));
}

TEST_F(DropFilesTest, DropOnAChildOfTheDropWindowGivesThePointInTheDropWindow) {
    auto* inner = new QWidget(picture);
    inner->setGeometry(20, 10, 40, 40);
    inner->show();
    DropTarget drop(form.get());
    drop.setDropWindow(picture);
    const auto mime = filesMime({"/a.dd"});
    EXPECT_TRUE(dragAndDrop(form.get(), QPoint(125, 115), mime.get()).dropped);
    EXPECT_EQ(drop.dropPoint(), QPoint(25, 15));
    EXPECT_EQ(drop.files(), QStringList{"/a.dd"});
}

TEST_F(DropFilesTest, DropOutsideTheDropWindowIsRefused) {
    DropTarget drop(form.get());
    drop.setDropWindow(picture);
    EXPECT_TRUE(picture->acceptDrops());
    EXPECT_FALSE(form->acceptDrops()); // the form was the target only until the move
    QSignalSpy dropped(&drop, &DropTarget::filesDropped);
    const auto mime = filesMime({"/x.koa"});
    EXPECT_FALSE(dragAndDrop(form.get(), QPoint(300, 250), mime.get()).entered);
    EXPECT_FALSE(dragAndDrop(form.get(), QPoint(20, 20), mime.get()).entered); // on `other`
    EXPECT_EQ(dropped.count(), 0);
    EXPECT_TRUE(drop.files().isEmpty());
}

TEST_F(DropFilesTest, AcceptOffCollectsNothingAndSignalsNothing) {
    DropTarget drop(form.get());
    drop.setDropWindow(picture);
    QSignalSpy dropped(&drop, &DropTarget::filesDropped);
    drop.setAccept(false);
    EXPECT_FALSE(drop.accept());
    EXPECT_FALSE(picture->acceptDrops());
    const auto mime = filesMime({"/x.koa"});
    EXPECT_FALSE(dragAndDrop(form.get(), QPoint(150, 150), mime.get()).entered);

    // Even when the widget takes drops for its own reasons, the component stays out.
    picture->setAcceptDrops(true);
    dragAndDrop(form.get(), QPoint(150, 150), mime.get());
    EXPECT_EQ(dropped.count(), 0);
    EXPECT_TRUE(drop.files().isEmpty());

    drop.setAccept(true);
    EXPECT_TRUE(dragAndDrop(form.get(), QPoint(150, 150), mime.get()).dropped);
    EXPECT_EQ(dropped.count(), 1);
}

TEST_F(DropFilesTest, DropWithoutLocalFilesKeepsThePreviousListAndStillSignals) {
    DropTarget drop(form.get());
    drop.setDropWindow(picture);
    QSignalSpy dropped(&drop, &DropTarget::filesDropped);
    const auto first = filesMime({"/first.koa", "/second.koa"});
    dragAndDrop(form.get(), QPoint(150, 150), first.get());
    ASSERT_EQ(drop.files(), (QStringList{"/second.koa", "/first.koa"}));

    const auto web = filesMime({}, {"https://example.invalid/pic.koa"});
    const DragOutcome out = dragAndDrop(form.get(), QPoint(110, 170), web.get());
    EXPECT_TRUE(out.dropped);
    EXPECT_EQ(dropped.count(), 2);
    EXPECT_EQ(drop.files(), (QStringList{"/second.koa", "/first.koa"}));
    EXPECT_EQ(drop.dropPoint(), QPoint(10, 70));

    // Mixed: only the local files are listed.
    const auto mixed = filesMime({"/l1.koa", "/l2.koa"}, {"https://example.invalid/x.koa"});
    dragAndDrop(form.get(), QPoint(150, 150), mixed.get());
    EXPECT_EQ(drop.files(), (QStringList{"/l2.koa", "/l1.koa"}));
}

TEST_F(DropFilesTest, LongPathsArriveWhole) {
    // Linux paths run to 4095 bytes; a cut one names a different file or none.
    DropTarget drop(form.get());
    drop.setDropWindow(picture);
    const QString longPath = "/" + QString(250, 'd') + "/" + QString(250, 'e') + "/pic.koa";
    const auto mime = filesMime({longPath, "/short.koa"});
    dragAndDrop(form.get(), QPoint(150, 150), mime.get());
    ASSERT_EQ(drop.files().size(), 2);
    EXPECT_EQ(drop.files().at(0), "/short.koa");
    EXPECT_EQ(drop.files().at(1), longPath);
}

TEST_F(DropFilesTest, ThrowingHandlerShowsNothingAndTheTargetGoesOnWorking) {
    DropTarget drop(form.get());
    drop.setDropWindow(picture);
    int calls = 0;
    QObject::connect(&drop, &DropTarget::filesDropped, [&](DropTarget* sender) {
        ++calls;
        // A handler that expects more files than were dropped.
        if (sender->files().size() < 5)
            throw std::out_of_range("no fifth file");
    });
    const auto mime = filesMime({"/one.koa"});
    EXPECT_NO_THROW(dragAndDrop(form.get(), QPoint(150, 150), mime.get()));
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(drop.files(), QStringList{"/one.koa"});
    EXPECT_FALSE(messageBoxShown());

    const auto again = filesMime({"/two.koa"});
    EXPECT_NO_THROW(dragAndDrop(form.get(), QPoint(150, 150), again.get()));
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(drop.files(), QStringList{"/two.koa"});
}

TEST_F(DropFilesTest, WithoutDropWindowTheFormIsTheTarget) {
    DropTarget drop(other); // the form is found through the owner's parents
    EXPECT_EQ(drop.form(), form.get());
    EXPECT_EQ(drop.dropWindow(), nullptr);
    EXPECT_EQ(drop.hookedWindow(), form.get());
    EXPECT_TRUE(form->acceptDrops());
    const auto mime = filesMime({"/f.koa"});
    EXPECT_TRUE(dragAndDrop(form.get(), QPoint(300, 250), mime.get()).dropped);
    EXPECT_EQ(drop.dropPoint(), QPoint(300, 250));
}

TEST_F(DropFilesTest, DestroyedDropWindowMovesTheTargetToTheForm) {
    DropTarget drop(form.get());
    drop.setDropWindow(picture);
    delete picture;
    picture = nullptr;
    EXPECT_EQ(drop.dropWindow(), nullptr);
    EXPECT_EQ(drop.hookedWindow(), form.get());
    EXPECT_TRUE(form->acceptDrops());
    const auto mime = filesMime({"/g.koa"});
    EXPECT_TRUE(dragAndDrop(form.get(), QPoint(150, 150), mime.get()).dropped);
    EXPECT_EQ(drop.files(), QStringList{"/g.koa"});
    EXPECT_EQ(drop.dropPoint(), QPoint(150, 150));
}

TEST_F(DropFilesTest, DestroyingTheFormWithItsTargetsIsSafe) {
    const int before = EventHook::activeHookCount();
    auto* early = new DropTarget(form.get()); // made before the drop window below
    auto* lateWindow = new QWidget(form.get());
    early->setDropWindow(lateWindow);
    auto* late = new DropTarget(form.get()); // made after its drop window
    late->setDropWindow(picture);
    QPointer<DropTarget> watchEarly(early), watchLate(late);
    form.reset();
    EXPECT_TRUE(watchEarly.isNull());
    EXPECT_TRUE(watchLate.isNull());
    EXPECT_EQ(EventHook::activeHookCount(), before);
}

TEST_F(DropFilesTest, TwoTargetsOnOneWidgetAndUnhookingOneLeavesTheOther) {
    DropTarget a(form.get()), b(form.get());
    a.setDropWindow(picture);
    b.setDropWindow(picture);
    QSignalSpy spyA(&a, &DropTarget::filesDropped), spyB(&b, &DropTarget::filesDropped);
    const auto mime = filesMime({"/both.koa"});
    dragAndDrop(form.get(), QPoint(150, 150), mime.get());
    EXPECT_EQ(spyA.count(), 1);
    EXPECT_EQ(spyB.count(), 1);

    a.setDropWindow(other); // a leaves the picture; b still accepts there
    EXPECT_TRUE(picture->acceptDrops());
    EXPECT_TRUE(dragAndDrop(form.get(), QPoint(150, 150), mime.get()).dropped);
    EXPECT_EQ(spyA.count(), 1);
    EXPECT_EQ(spyB.count(), 2);
    EXPECT_TRUE(dragAndDrop(form.get(), QPoint(20, 20), mime.get()).dropped);
    EXPECT_EQ(spyA.count(), 2);
    EXPECT_EQ(spyB.count(), 2);

    b.setAccept(false); // the last one accepting on the picture unregisters it
    EXPECT_FALSE(picture->acceptDrops());
}

// --- The hook list on its own -------------------------------------------------------------

class Watcher : public EventHook {
  public:
    Watcher(QObject* owner, QString name, QStringList& log, bool throws = false)
        : EventHook(owner), name_(std::move(name)), log_(log), throws_(throws) {}

  protected:
    void hookedEvent(QWidget*, QEvent* event) override {
        if (event->type() != QEvent::User)
            return;
        log_ << name_;
        if (throws_)
            throw std::runtime_error("watcher failed");
    }

  private:
    QString name_;
    QStringList& log_;
    bool throws_;
};

class CountingWidget : public QWidget {
  public:
    int userEvents = 0;

  protected:
    bool event(QEvent* e) override {
        if (e->type() == QEvent::User)
            ++userEvents;
        return QWidget::event(e);
    }
};

TEST(MsgComponentTest, WatchersSeeEventsInHookOrderBeforeTheWidgetAndUnhookAlone) {
    const int before = EventHook::activeHookCount();
    QWidget form;
    auto* target = new CountingWidget;
    target->setParent(&form);
    QStringList log;
    Watcher first(&form, "first", log, /*throws=*/true);
    Watcher second(&form, "second", log);
    auto third = std::make_unique<Watcher>(&form, "third", log);
    EXPECT_EQ(first.form(), &form);
    first.setHookedWindow(target);
    second.setHookedWindow(target);
    third->setHookedWindow(target);
    EXPECT_EQ(EventHook::activeHookCount(), before + 3);

    QEvent e(QEvent::User);
    QApplication::sendEvent(target, &e); // the throw in `first` stops nobody
    EXPECT_EQ(log, (QStringList{"first", "second", "third"}));
    EXPECT_EQ(target->userEvents, 1);

    log.clear();
    first.setHookedWindow(nullptr);
    third.reset();
    QApplication::sendEvent(target, &e);
    EXPECT_EQ(log, QStringList{"second"});
    EXPECT_EQ(target->userEvents, 2);

    log.clear();
    first.setHookedWindow(target); // hooked again: now after `second`
    QApplication::sendEvent(target, &e);
    EXPECT_EQ(log, (QStringList{"second", "first"}));
    second.setHookedWindow(nullptr);
    first.setHookedWindow(nullptr);
    EXPECT_EQ(EventHook::activeHookCount(), before);
}

} // namespace
