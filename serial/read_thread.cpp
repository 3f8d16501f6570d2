#include "serial/read_thread.h"

namespace lq {

TReadThread::TReadThread(TIoThreadContext context)
    : ctx_(context), thread_(context.Backend, "lq-serial-rx", [this] { Execute(); }) {}

void TReadThread::Execute() {
    ctx_.Backend.SetThreadPriority(ThreadPriority::Highest);
    Loop();
    ctx_.Backend.PurgeComm(ctx_.Device, PURGE_RXABORT | PURGE_RXCLEAR);
}

void TReadThread::Loop() {
    UniqueHandle eventDone(ctx_.Backend, ctx_.Backend.CreateEvent(true, true, "ReadThread.EventRecord"));
    UniqueHandle readDone(ctx_.Backend, ctx_.Backend.CreateEvent(true, true, "ReadThread.ReadRecord"));
    if (!eventDone || !readDone) {
        ctx_.PostHangup();
        return;
    }
    eventRecord_ = Overlapped{eventDone.Get(), std::nullopt};
    readRecord_ = Overlapped{readDone.Get(), std::nullopt};
    // Stop first, so that it wins over everything; a line event wins over a completed read.
    const std::array<THandle, 3> waitList{ctx_.StopEvent, eventDone.Get(), readDone.Get()};

    if (!ctx_.Backend.SetCommMask(ctx_.Device, kEventMask)) {
        ctx_.PostHangup();
        return;
    }
    if (!ArmEventWait() || !ArmRead()) return;

    for (;;) {
        const std::uint32_t signalled = ctx_.Backend.WaitForMultipleObjects(waitList, kInfinite);
        if (signalled == 0) return;
        if (signalled == 1) {
            if (!HandleLineEvent(true) || !ArmEventWait()) return;
        } else if (signalled == 2) {
            const IoResult r = ctx_.Backend.GetOverlappedResult(ctx_.Device, readRecord_, bytesRead_, false);
            if (r != IoResult::Done) {
                FailUnlessClosed(r);
                return;
            }
            if (!Deliver(bytesRead_) || !ArmRead()) return;
        } else {
            ctx_.PostHangup();
            return;
        }
    }
}

bool TReadThread::FailUnlessClosed(IoResult result) {
    if (result != IoResult::DeviceClosed) ctx_.PostHangup();
    return false;
}

bool TReadThread::ArmEventWait() {
    for (;;) {
        if (ctx_.StopIsSet()) return false;
        const IoResult r = ctx_.Backend.WaitCommEvent(ctx_.Device, &eventMask_, eventRecord_);
        if (r == IoResult::Done) {
            if (!HandleLineEvent(false)) return false;
            continue;
        }
        if (r == IoResult::Pending) return true;
        return FailUnlessClosed(r);
    }
}

bool TReadThread::ArmRead() {
    for (;;) {
        if (ctx_.StopIsSet()) return false;
        const IoResult r =
            ctx_.Backend.ReadFile(ctx_.Device, buffer_.data(), kReadSize, bytesRead_, readRecord_);
        if (r == IoResult::Done) {
            if (!Deliver(bytesRead_)) return false;
            continue;
        }
        if (r == IoResult::Pending) return true;
        return FailUnlessClosed(r);
    }
}

bool TReadThread::HandleLineEvent(bool wasPending) {
    if (wasPending) {
        std::uint32_t unused = 0;
        const IoResult r = ctx_.Backend.GetOverlappedResult(ctx_.Device, eventRecord_, unused, false);
        if (r != IoResult::Done) return FailUnlessClosed(r);
    }
    const std::uint32_t mask = eventMask_;
    if (mask & EV_ERR) {
        std::uint32_t errors = 0;
        const IoResult r = ctx_.Backend.ClearCommError(ctx_.Device, errors);
        if (r != IoResult::Done) return FailUnlessClosed(r);
        if (!ctx_.Post(NOTIFY_RECEIVE_ERROR, errors)) {
            ctx_.PostHangup();
            return false;
        }
    }
    const std::uint32_t modem = ((mask & EV_RLSD) ? 8u : 0u) | ((mask & EV_RING) ? 4u : 0u);
    if (modem != 0 && !ctx_.Post(NOTIFY_MODEM_STATE_CHANGE, modem)) {
        ctx_.PostHangup();
        return false;
    }
    if (!(mask & EV_ERR) && modem == 0) {
        ctx_.PostHangup();
        return false;
    }
    return true;
}

bool TReadThread::Deliver(std::uint32_t count) {
    // Only a total time-out ends a read empty; the receiver takes it as the end of the line.
    if (count == 0) return false;
    Notification n;
    n.Message = NOTIFY_RECEIVE_DATA;
    n.WParam = count;
    // A back end that cannot tell when the first byte came is taken at the read's end.
    n.FirstByteAt = readRecord_.firstByteAt.value_or(std::chrono::steady_clock::now());
    n.Data = ctx_.Backend.AllocateBlock(std::size_t{count} + 1);
    if (!n.Data) {
        ctx_.PostHangup();
        return false;
    }
    std::copy_n(buffer_.data(), count, n.Data.get());
    if (!ctx_.Window.Post(std::move(n))) {
        ctx_.PostHangup();
        return false;
    }
    return true;
}

} // namespace lq
