#include "framework/window/MessageSource.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QThread>

namespace quorvel {

namespace {

// Windows closed with delete-on-close are deleted through deferred-delete
// events. Outside Qt's own event loops, processEvents skips those posted
// outside event delivery (by the idle step, by the quit protocol), so they
// are flushed after every pass.
void FlushDeferredDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace

void CQtMessageSource::WaitAndDispatch()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    FlushDeferredDeletes();
}

bool CQtMessageSource::DispatchPending()
{
    QAbstractEventDispatcher* dispatcher = QThread::currentThread()->eventDispatcher();
    const bool dispatched = dispatcher && dispatcher->processEvents(QEventLoop::AllEvents);
    FlushDeferredDeletes();
    return dispatched;
}

} // namespace quorvel
