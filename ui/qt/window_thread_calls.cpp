#include "ui/qt/window_thread_calls.h"

#include <QCoreApplication>
#include <QEvent>
#include <QThread>
#include <future>
#include <mutex>

#include "ui/qt/main_window.h"

namespace vardelle::ui {
namespace {

QEvent::Type CallEventType() {
  static const auto kType = static_cast<QEvent::Type>(QEvent::registerEventType());
  return kType;
}

// One posted call; whoever destroys it, Qt after delivery or when discarding it, releases
// the waiting caller.
class CallEvent : public QEvent {
 public:
  explicit CallEvent(std::function<void()> call)
      : QEvent(CallEventType()), call_(std::move(call)) {}
  ~CallEvent() override { done_.set_value(); }

  std::future<void> Done() { return done_.get_future(); }
  void Run() const { call_(); }

 private:
  std::function<void()> call_;
  std::promise<void> done_;
};

}  // namespace

struct WindowThreadCalls::Shared {
  std::mutex mutex;
  MainWindow* window;  // null once detached or destroyed
  QObject* receiver;   // child of the window
};

namespace {

// Lives as the window's child, so it goes with the window, which then takes no more calls.
class CallReceiver : public QObject {
 public:
  CallReceiver(QObject* window, std::function<void()> onDestroyed)
      : QObject(window), onDestroyed_(std::move(onDestroyed)) {}
  ~CallReceiver() override { onDestroyed_(); }

  bool event(QEvent* event) override {
    if (event->type() != CallEventType()) return QObject::event(event);
    static_cast<CallEvent*>(event)->Run();
    return true;
  }

 private:
  std::function<void()> onDestroyed_;
};

}  // namespace

WindowThreadCalls::WindowThreadCalls(MainWindow& window) : shared_(std::make_shared<Shared>()) {
  shared_->window = &window;
  shared_->receiver = new CallReceiver(&window, [shared = shared_] {
    std::lock_guard lock(shared->mutex);
    shared->window = nullptr;
  });
}

void WindowThreadCalls::Run(const std::function<void(MainWindow&)>& call) {
  std::unique_lock lock(shared_->mutex);
  MainWindow* window = shared_->window;
  if (!window) return;
  if (QThread::currentThread() == window->thread()) {
    // The window can only go on this very thread, so it outlives the call.
    lock.unlock();
    call(*window);
    return;
  }
  auto* event = new CallEvent([&call, window] { call(*window); });
  std::future<void> done = event->Done();
  // Posting under the lock: Detach cannot flush the queue between the check and the post.
  QCoreApplication::postEvent(shared_->receiver, event);
  lock.unlock();
  done.wait();
}

void WindowThreadCalls::Detach() {
  {
    std::lock_guard lock(shared_->mutex);
    if (!shared_->window) return;
    shared_->window = nullptr;
  }
  QCoreApplication::removePostedEvents(shared_->receiver, CallEventType());
}

}  // namespace vardelle::ui
