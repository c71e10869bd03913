// What both backends share: the message queue, the window timers and the wait kind. A backend
// only gathers: it moves what has happened by now (the window system's events, the scripted
// player's input) into the queue; taking, peeking, discarding and posting are the same for both.
#pragma once

#include "platform/EventQueue.h"
#include "platform/Platform.h"
#include "platform/Transcript.h"

#include <memory>

namespace orv {

class PlatformBase : public Platform {
public:
    bool takeEvent(Event& out) override;
    bool hasEvent(EventKind kind) override;
    bool hasEventOtherThan(EventKind kind) override;
    void discardEvents(EventKind kind) override;
    void postEvent(const Event& event) override { queue_.post(event); }
    void setWaitKind(WaitKind kind) override { waitKind_ = kind; }
    WaitKind waitKind() const override { return waitKind_; }

    void setTimer(int id, uint32_t periodMs) override { timers_.set(id, periodMs, ticks()); }
    void killTimer(int id) override { timers_.kill(id); }

    void writeTranscript(std::string_view utf8) override {
        if (transcript_) transcript_->write(utf8);
    }
    bool finishTranscript(std::string* error) override {
        return !transcript_ || transcript_->finish(error);
    }
    bool lostOutput() const override { return lostOutput_; }
    void setTranscript(std::shared_ptr<Transcript> transcript) {
        transcript_ = std::move(transcript);
    }

protected:
    // Moves what is due now into the queue; fireTimers() is the backend's to call, so that it
    // decides where in its order the timers come.
    virtual void gather() = 0;
    // Called before a discard. Events that already happened outside the queue (a window
    // system's own queue) must go with it, so the default gathers.
    virtual void gatherBeforeDiscard() { gather(); }
    // takeEvent found nothing.
    virtual void idle() {}

    void fireTimers() { timers_.fire(ticks(), queue_); }
    // How long a backend may block before the next timer is due.
    uint32_t msUntilNextTimer() { return timers_.msUntilNext(ticks()); }
    // A close request: the system's (kCloseTerminate) outranks the player's, and a player's
    // second request while one is pending is the same question.
    void postClose(int code);
    // Posts a terminating close once a termination signal has arrived; true when it did.
    bool takeTerminationSignal();

    void noteLostOutput() { lostOutput_ = true; }

    EventQueue& queue() { return queue_; }
    const EventQueue& queue() const { return queue_; }

private:
    EventQueue queue_;
    TimerSet timers_;
    WaitKind waitKind_ = WaitKind::None;
    std::shared_ptr<Transcript> transcript_;
    bool lostOutput_ = false;
};

} // namespace orv
