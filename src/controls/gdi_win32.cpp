#include "controls/gdi_win32.h"

#include <objbase.h>
#include <wincodec.h>

#include <cstdint>
#include <string>
#include <vector>

namespace quorelle::gdi {

namespace {

// Spelled out: a static build may resolve the import library's symbols to thunks, not GUIDs.
constexpr CLSID kImagingFactory = {
    0xcacaf262, 0x9370, 0x4615, {0xa1, 0x3b, 0x9f, 0x55, 0x39, 0xda, 0x4c, 0x0a}};
constexpr IID kImagingFactoryInterface = {
    0xec5ec8a9, 0xc395, 0x4314, {0x9c, 0x77, 0x54, 0xd7, 0xa9, 0x35, 0xff, 0x70}};
constexpr GUID kFormat32Bgr = {
    0x6fddc324, 0x4e03, 0x4bfe, {0xb1, 0x85, 0x3d, 0x77, 0x76, 0x8d, 0xc9, 0x0e}};

template <typename T>
struct ComPtr {
    T* p = nullptr;
    ComPtr() = default;
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ~ComPtr() {
        if (p != nullptr) p->Release();
    }
    T** Out() { return &p; }
    T* operator->() const { return p; }
};

// COM for the moment of a decoding, balanced; a thread that has it already keeps its own.
class ComScope {
  public:
    ComScope() : result_(CoInitializeEx(nullptr, COINIT_MULTITHREADED)) {}
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;
    ~ComScope() {
        if (SUCCEEDED(result_)) CoUninitialize();
    }

  private:
    HRESULT result_;
};

// Top-down 32-bit rows of a compressed image held in memory; empty when it cannot be decoded.
std::vector<uint32_t> Decode(const void* bytes, DWORD size, UINT& width, UINT& height) {
    ComScope com;
    ComPtr<IWICImagingFactory> factory;
    if (FAILED(CoCreateInstance(kImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                kImagingFactoryInterface, reinterpret_cast<void**>(factory.Out()))))
        return {};
    ComPtr<IWICStream> stream;
    ComPtr<IWICBitmapDecoder> decoder;
    ComPtr<IWICBitmapFrameDecode> frame;
    ComPtr<IWICFormatConverter> converter;
    if (FAILED(factory->CreateStream(stream.Out())) ||
        FAILED(stream->InitializeFromMemory(static_cast<BYTE*>(const_cast<void*>(bytes)), size)) ||
        FAILED(factory->CreateDecoderFromStream(stream.p, nullptr, WICDecodeMetadataCacheOnDemand,
                                                decoder.Out())) ||
        FAILED(decoder->GetFrame(0, frame.Out())) ||
        FAILED(factory->CreateFormatConverter(converter.Out())) ||
        FAILED(converter->Initialize(frame.p, kFormat32Bgr, WICBitmapDitherTypeNone, nullptr, 0.0,
                                     WICBitmapPaletteTypeCustom)) ||
        FAILED(converter->GetSize(&width, &height)) || width == 0 || height == 0 || width > 16384 ||
        height > 16384)
        return {};
    std::vector<uint32_t> pixels(size_t(width) * height);
    if (FAILED(converter->CopyPixels(nullptr, width * 4, UINT(pixels.size() * 4),
                                     reinterpret_cast<BYTE*>(pixels.data()))))
        return {};
    // the fourth byte as a bitmap loaded from a 24-bit file holds it: zero
    for (uint32_t& pixel : pixels) pixel &= 0x00FFFFFFu;
    return pixels;
}

}  // namespace

Bitmap LoadBitmapResource(HINSTANCE module, int id, int percent) {
    const std::wstring type = L"SKIN" + std::to_wstring(percent);
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), type.c_str());
    if (found == nullptr) {
        return Bitmap(static_cast<HBITMAP>(
            LoadImageW(module, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR)));
    }
    HGLOBAL held = LoadResource(module, found);
    const void* bytes = held != nullptr ? LockResource(held) : nullptr;
    const DWORD size = SizeofResource(module, found);
    if (bytes == nullptr || size == 0) return Bitmap();
    UINT width = 0, height = 0;
    const std::vector<uint32_t> pixels = Decode(bytes, size, width, height);
    if (pixels.empty()) return Bitmap();
    BITMAPINFO info{};
    info.bmiHeader = {
        sizeof(BITMAPINFOHEADER), LONG(width), -LONG(height), 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    WindowDC screen(nullptr);
    Bitmap bitmap(CreateCompatibleBitmap(screen.Get(), int(width), int(height)));
    if (!bitmap || SetDIBits(screen.Get(), bitmap.Get(), 0, height, pixels.data(), &info,
                             DIB_RGB_COLORS) != int(height))
        return Bitmap();
    return bitmap;
}

SharedBitmap LoadSharedBitmap(int id) {
    // Bitmaps in use, by resource id; an entry whose bitmap is gone is loaded again.
    static SharedCache<int, HBITMAP> loaded;
    return loaded.Get(id, [id] { return LoadBitmapResource(GetModuleHandleW(nullptr), id); });
}

}  // namespace quorelle::gdi
