#include "controls/gdi_win32.h"

#include <cstring>

#include <condition_variable>
#include <string>
#include <utility>

#include "controls/png_win32.h"
#include "controls/scale.h"

namespace quorelle::gdi {

namespace {
Bitmap DecodeResource(HINSTANCE module, int id, int percent);
Bitmap TakePrefetched(int id, int percent);
}  // namespace

Bitmap LoadBitmapResource(HINSTANCE module, int id, int dpi) {
    const int percent = controls::SkinPercent(dpi);
    if (module == GetModuleHandleW(nullptr)) {
        if (Bitmap ahead = TakePrefetched(id, percent)) return ahead;
    }
    return DecodeResource(module, id, percent);
}

SIZE ImageResourceSize(HINSTANCE module, int id, int dpi) {
    const std::wstring type = L"SKIN" + std::to_wstring(controls::SkinPercent(dpi));
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), type.c_str());
    if (found == nullptr) return BitmapSize(LoadBitmapResource(module, id, dpi).Get());
    HGLOBAL held = LoadResource(module, found);
    const auto* bytes = static_cast<const uint8_t*>(held ? LockResource(held) : nullptr);
    // a PNG file opens with its 8-byte signature, then the header chunk: length, "IHDR",
    // width and height as big-endian 32-bit numbers
    if (bytes == nullptr || SizeofResource(module, found) < 24 ||
        std::memcmp(bytes + 12, "IHDR", 4) != 0)
        return {0, 0};
    const auto big = [bytes](int at) {
        return LONG(uint32_t(bytes[at]) << 24 | uint32_t(bytes[at + 1]) << 16 |
                    uint32_t(bytes[at + 2]) << 8 | uint32_t(bytes[at + 3]));
    };
    return {big(16), big(20)};
}

namespace {
Bitmap DecodeResource(HINSTANCE module, int id, int percent) {
    const std::wstring type = L"SKIN" + std::to_wstring(percent);
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), type.c_str());
    if (found == nullptr) {
        return Bitmap(static_cast<HBITMAP>(
            LoadImageW(module, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR)));
    }
    HGLOBAL held = LoadResource(module, found);
    const void* bytes = held != nullptr ? LockResource(held) : nullptr;
    const DWORD size = SizeofResource(module, found);
    // decoded straight into the bitmap's own pixels: a 32-bit section, the format the display's
    // surfaces have, so that copying it needs no conversion
    Bitmap bitmap;
    const bool decoded = DecodePng(bytes, size, [&bitmap](int width, int height) -> uint32_t* {
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        bitmap.Reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        return bitmap ? static_cast<uint32_t*>(bits) : nullptr;
    });
    if (!decoded) return Bitmap();
    return bitmap;
}
}  // namespace

struct ImagePrefetch::State {
    enum class Step { kWaiting, kDecoding, kDone, kTaken };
    struct Entry {
        Step step = Step::kWaiting;
        Bitmap bitmap;
    };
    std::mutex lock;
    std::condition_variable done;
    std::vector<std::pair<int, int>> order;  // id, percent
    std::map<std::pair<int, int>, Entry> entries;
    bool stop = false;
};

namespace {
std::mutex prefetchLock;
std::weak_ptr<ImagePrefetch::State> prefetching;  // the one under way, if any

Bitmap TakePrefetched(int id, int percent) {
    std::shared_ptr<ImagePrefetch::State> state;
    {
        std::lock_guard<std::mutex> hold(prefetchLock);
        state = prefetching.lock();
    }
    if (!state) return Bitmap();
    using Step = ImagePrefetch::State::Step;
    std::unique_lock<std::mutex> hold(state->lock);
    const auto found = state->entries.find({id, percent});
    if (found == state->entries.end()) return Bitmap();
    auto& entry = found->second;
    if (entry.step == Step::kWaiting) {  // not reached: the caller decodes it
        entry.step = Step::kTaken;
        return Bitmap();
    }
    state->done.wait(hold, [&] { return entry.step != Step::kDecoding; });
    entry.step = Step::kTaken;
    return std::move(entry.bitmap);
}
}  // namespace

ImagePrefetch::ImagePrefetch(std::vector<int> ids, int dpi) : state_(std::make_shared<State>()) {
    const int percent = controls::SkinPercent(dpi);
    for (int id : ids) {
        if (state_->entries.count({id, percent}) != 0) continue;
        state_->order.emplace_back(id, percent);
        state_->entries[{id, percent}];
    }
    {
        std::lock_guard<std::mutex> hold(prefetchLock);
        prefetching = state_;
    }
    worker_ = std::thread([state = state_] {
        const HINSTANCE module = GetModuleHandleW(nullptr);
        for (const auto& key : state->order) {
            {
                std::lock_guard<std::mutex> hold(state->lock);
                if (state->stop) return;
                auto& entry = state->entries[key];
                if (entry.step != State::Step::kWaiting) continue;
                entry.step = State::Step::kDecoding;
            }
            Bitmap bitmap = DecodeResource(module, key.first, key.second);
            {
                std::lock_guard<std::mutex> hold(state->lock);
                auto& entry = state->entries[key];
                entry.bitmap = std::move(bitmap);
                entry.step = State::Step::kDone;
            }
            state->done.notify_all();
        }
    });
}

ImagePrefetch::~ImagePrefetch() {
    {
        std::lock_guard<std::mutex> hold(state_->lock);
        state_->stop = true;
    }
    if (worker_.joinable()) worker_.join();
    std::lock_guard<std::mutex> hold(prefetchLock);
    prefetching.reset();
}

void DrawImageFitted(HDC target, int x, int y, int width, int height, HDC source, SIZE image) {
    if (width <= 0 || height <= 0 || image.cx <= 0 || image.cy <= 0) return;
    const int w = width < image.cx ? width : image.cx;
    const int h = height < image.cy ? height : image.cy;
    BitBlt(target, x, y, w, h, source, 0, 0, SRCCOPY);
    if (width > w)  // the last column, repeated
        StretchBlt(target, x + w, y, width - w, h, source, image.cx - 1, 0, 1, h, SRCCOPY);
    if (height > h)  // the last row, repeated, with the corner
        StretchBlt(target, x, y + h, width, height - h, target, x, y + h - 1, width, 1, SRCCOPY);
}

SharedBitmap LoadSharedBitmap(int id, int dpi) {
    // Images in use, by resource id and drawn scale; an entry whose bitmap is gone is loaded
    // again.
    static SharedCache<std::pair<int, int>, HBITMAP> loaded;
    const int percent = controls::SkinPercent(dpi);
    return loaded.Get({id, percent},
                      [id, dpi] { return LoadBitmapResource(GetModuleHandleW(nullptr), id, dpi); });
}

}  // namespace quorelle::gdi
