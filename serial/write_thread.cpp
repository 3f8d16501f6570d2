#include "serial/write_thread.h"

#include <array>

namespace lq {

TWriteThread::TWriteThread(TIoThreadContext context)
    : ctx_(context),
      queue_(context.Backend,
             UniqueHandle(context.Backend, context.Backend.CreateEvent(true, false, "WriteThread.Queue"))),
      thread_(context.Backend, "lq-serial-tx", [this] { Execute(); }) {}

bool TWriteThread::Create() {
    return queue_.Valid() && thread_.Create();
}

void TWriteThread::Execute() {
    ctx_.Backend.SetThreadPriority(ThreadPriority::AboveNormal);
    Loop();
    // Refuse requests first: from here on SendData must answer false.
    queue_.Close();
    ctx_.Backend.PurgeComm(ctx_.Device, PURGE_TXABORT | PURGE_TXCLEAR);
    writeDone_.Reset();
}

void TWriteThread::Loop() {
    writeDone_ = UniqueHandle(ctx_.Backend, ctx_.Backend.CreateEvent(true, true, "WriteThread.WriteRecord"));
    if (!writeDone_) {
        ctx_.PostHangup();
        return;
    }
    bool noticeOwed = true; // the first notice says the thread is up
    for (;;) {
        ThreadMessage message;
        if (!queue_.PeekMessage(message)) {
            if (noticeOwed && !ctx_.Post(NOTIFY_SEND_DATA_EMPTY)) {
                ctx_.PostHangup();
                return;
            }
            noticeOwed = false;
            const std::uint32_t woken = queue_.MsgWaitForMultipleObjects(ctx_.StopEvent);
            if (woken == 0) return;
            if (woken == 1) continue;
            ctx_.PostHangup();
            return;
        }
        if (ctx_.StopIsSet()) return;
        if (message.Message != REQUEST_WRITE) continue;
        if (!Write(message.Block.get(), static_cast<std::uint32_t>(message.WParam))) return;
        noticeOwed = noticeOwed || message.NoticeWhenSent;
    }
}

bool TWriteThread::Write(const std::uint8_t* data, std::uint32_t count) {
    Overlapped record{writeDone_.Get(), std::nullopt};
    const std::array<THandle, 2> waitList{ctx_.StopEvent, writeDone_.Get()};
    std::uint32_t offset = 0;
    while (offset < count) {
        std::uint32_t written = 0;
        IoResult r = ctx_.Backend.WriteFile(ctx_.Device, data + offset, count - offset, written, record);
        if (r == IoResult::Pending) {
            const std::uint32_t woken = ctx_.Backend.WaitForMultipleObjects(waitList, kInfinite);
            if (woken == 0) return false; // the rest of the block is abandoned
            if (woken != 1) {
                ctx_.PostHangup();
                return false;
            }
            r = ctx_.Backend.GetOverlappedResult(ctx_.Device, record, written, true);
        }
        if (r == IoResult::DeviceClosed) return false;
        if (r != IoResult::Done) {
            ctx_.PostHangup();
            return false;
        }
        offset += written;
    }
    return true;
}

} // namespace lq
