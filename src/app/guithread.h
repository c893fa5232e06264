#pragma once

#include <QMetaObject>
#include <QObject>
#include <QPointer>

#include <functional>
#include <utility>

class CViewerContext;

// Hand-over of widget work from the bus's dispatcher thread (or an engine thread) to the GUI
// thread. Widgets are only ever touched on the GUI thread.
namespace guithread {

// Runs `work` on the GUI thread later. Dropped when `receiver` is destroyed first.
template <typename Work>
void Post(QObject* receiver, Work&& work) {
    QMetaObject::invokeMethod(receiver, std::forward<Work>(work), Qt::QueuedConnection);
}

// Runs `work` on the GUI thread and waits until it has run. Gives up, without running `work`,
// as soon as `context` stops running: the GUI thread stops the bus before it waits for the
// dispatcher on close, so this wait can never deadlock with it. Runs `work` directly when
// called on the GUI thread. Returns whether `work` ran.
bool RunAndWait(QObject* receiver, CViewerContext& context, std::function<void()> work);

}  // namespace guithread
