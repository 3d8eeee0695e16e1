// The C entry points: a lock around the card, an exception barrier, the thread that fires the
// registered callback after a set, and the one that fires a storm of callbacks.
#include "vcard/exports.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

namespace vcard {

namespace {

constexpr int32_t kInternalError = 5;

std::mutex& CardLock() {
    static std::mutex* lock = new std::mutex;
    return *lock;
}

// Never destroyed: the callback thread may outlive static destruction.
Card& TheCard() {
    static Card* card = [] {
        auto* c = new Card;
        c->SetDirectory(platform::CardDirectory());
        return c;
    }();
    return *card;
}

// One thread of the card's own delivers callbacks in order, outside the card's lock.
class CallbackPump {
  public:
    void Post(const PendingCallback& pending) {
        std::lock_guard<std::mutex> hold(lock_);
        if (!started_) {
            platform::PinModule();
            std::thread([this] { Run(); }).detach();
            started_ = true;
        }
        queue_.push_back(pending);
        wake_.notify_one();
    }

  private:
    void Run() {
        for (;;) {
            PendingCallback next;
            {
                std::unique_lock<std::mutex> hold(lock_);
                wake_.wait(hold, [this] { return !queue_.empty(); });
                next = queue_.front();
                queue_.pop_front();
            }
            try {
                next.callback(next.context, nullptr, next.event, next.flags);
            } catch (...) {
            }
        }
    }

    std::mutex lock_;
    std::condition_variable wake_;
    std::deque<PendingCallback> queue_;
    bool started_ = false;
};

CallbackPump& Pump() {
    static CallbackPump* pump = new CallbackPump;
    return *pump;
}

// Fires the storm's callback back to back from a thread of its own, until the count is reached
// or the registration it belongs to is gone.
void StartStorm(const Card::Storm& storm) {
    platform::PinModule();
    std::thread([storm] {
        uint32_t fired = 0;
        for (; fired < storm.count; ++fired) {
            if (fired % 256 == 0) {
                std::lock_guard<std::mutex> hold(CardLock());
                if (TheCard().CurrentCallback() != storm.callback.callback) break;
            }
            if (storm.pause > 0 && fired > 0 && fired % 100 == 0)
                std::this_thread::sleep_for(std::chrono::milliseconds(storm.pause));
            try {
                const PendingCallback& c = storm.callback;
                c.callback(c.context, nullptr, c.event, c.flags);
            } catch (...) {
            }
        }
        try {
            std::lock_guard<std::mutex> hold(CardLock());
            TheCard().StormEnded(fired, storm.count);
        } catch (...) {
        }
    }).detach();
}

template <typename Call>
int32_t Guarded(Call call) noexcept {
    try {
        std::lock_guard<std::mutex> hold(CardLock());
        return call(TheCard());
    } catch (...) {
        return kInternalError;
    }
}

}  // namespace

void SetHostDirectory(const std::filesystem::path& directory) {
    std::lock_guard<std::mutex> hold(CardLock());
    TheCard().SetDirectory(directory);
}

}  // namespace vcard

using vcard::Card;
using vcard::Guarded;

extern "C" {

int32_t ConfLibInit(void) {
    return Guarded([](Card& c) { return c.ConfLibInit(); });
}

int32_t CreateDeviceList(void) {
    return Guarded([](Card& c) { return c.CreateDeviceList(); });
}

int32_t GetDeviceCount(int32_t list, uint32_t* count) {
    return Guarded([&](Card& c) { return c.GetDeviceCount(list, count); });
}

int32_t GetDeviceById(int32_t list, int32_t index, vcard::Device* device) {
    return Guarded([&](Card& c) { return c.GetDeviceById(list, index, device); });
}

int32_t PropertyControl(vcard::Device device, const char16_t* name, void** data, void** extra,
                        uint8_t set) {
    std::optional<vcard::PendingCallback> fire;
    const int32_t r =
        Guarded([&](Card& c) { return c.PropertyControl(device, name, data, extra, set, &fire); });
    if (fire) {
        try {
            vcard::Pump().Post(*fire);
        } catch (...) {
        }
    }
    return r;
}

int32_t RegisterCallbackFunction(vcard::Callback callback, void* context) {
    Card::Storm storm;
    const int32_t r = Guarded([&](Card& c) {
        storm = c.StormFor(callback, context);
        return c.RegisterCallbackFunction(callback, context);
    });
    if (storm.count > 0) {
        try {
            vcard::StartStorm(storm);
        } catch (...) {
        }
    }
    return r;
}

int32_t ConfLibUnInit(void) {
    return Guarded([](Card& c) { return c.ConfLibUnInit(); });
}

int32_t ShowAsioPanel(void) {
    return Guarded([](Card& c) { return c.Unused("ShowAsioPanel"); });
}

int32_t PlayTestSound(void) {
    return Guarded([](Card& c) { return c.Unused("PlayTestSound"); });
}

int32_t StopTestSound(void) {
    return Guarded([](Card& c) { return c.Unused("StopTestSound"); });
}

int32_t CloseTestSound(void) {
    return Guarded([](Card& c) { return c.Unused("CloseTestSound"); });
}

}  // extern "C"
