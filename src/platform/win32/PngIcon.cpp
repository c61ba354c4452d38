// Win32: PNG data to an icon. WIC decodes and scales the image to 32-bit BGRA,
// which becomes the colour bitmap of CreateIconIndirect (the system's own PNG icon reader is
// not available everywhere, e.g. for 16-bit-per-channel images).
#include "platform/win32/PngIcon.h"

#include <objbase.h>
#include <wincodec.h>

#include <vector>

namespace Velmora::Platform {

namespace {

template <typename T>
struct ComPtr {
    T* p = nullptr;
    ComPtr() = default;
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ~ComPtr() {
        if (p) p->Release();
    }
    T** operator&() { return &p; }
    T* operator->() const { return p; }
};

// COM for this call only, when the thread has not entered it yet.
class ComScope {
public:
    ComScope() : FResult(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ComScope() {
        if (SUCCEEDED(FResult)) CoUninitialize();
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;

private:
    HRESULT FResult;
};

// size x size pixels of BGRA with straight alpha (as icons keep it), top row first; empty on failure.
std::vector<std::uint8_t> DecodeScaled(std::span<const std::uint8_t> png, int size) {
    ComPtr<IWICImagingFactory> factory;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                reinterpret_cast<void**>(&factory))))
        return {};
    ComPtr<IWICStream> stream;
    if (FAILED(factory->CreateStream(&stream)) ||
        FAILED(stream->InitializeFromMemory(const_cast<BYTE*>(png.data()), static_cast<DWORD>(png.size()))))
        return {};
    ComPtr<IWICBitmapDecoder> decoder;
    if (FAILED(factory->CreateDecoderFromStream(stream.p, nullptr, WICDecodeMetadataCacheOnDemand, &decoder)))
        return {};
    ComPtr<IWICBitmapFrameDecode> frame;
    if (FAILED(decoder->GetFrame(0, &frame))) return {};
    ComPtr<IWICFormatConverter> converter;
    if (FAILED(factory->CreateFormatConverter(&converter)) ||
        FAILED(converter->Initialize(frame.p, GUID_WICPixelFormat32bppBGRA, WICBitmapDitherTypeNone, nullptr, 0.0,
                                     WICBitmapPaletteTypeCustom)))
        return {};
    ComPtr<IWICBitmapScaler> scaler;
    if (FAILED(factory->CreateBitmapScaler(&scaler)) ||
        FAILED(scaler->Initialize(converter.p, size, size, WICBitmapInterpolationModeFant)))
        return {};
    std::vector<std::uint8_t> pixels(static_cast<size_t>(size) * size * 4);
    if (FAILED(scaler->CopyPixels(nullptr, size * 4, static_cast<UINT>(pixels.size()), pixels.data()))) return {};
    return pixels;
}

} // namespace

UniqueIcon IconFromPng(std::span<const std::uint8_t> png, int size) {
    if (png.empty() || size <= 0) return nullptr;
    std::vector<std::uint8_t> pixels;
    {
        const ComScope com;
        pixels = DecodeScaled(png, size);
    }
    if (pixels.empty()) return nullptr;

    BITMAPV5HEADER header = {};
    header.bV5Size = sizeof(header);
    header.bV5Width = size;
    header.bV5Height = -size; // top-down, as WIC wrote the rows
    header.bV5Planes = 1;
    header.bV5BitCount = 32;
    header.bV5Compression = BI_BITFIELDS;
    header.bV5RedMask = 0x00FF0000;
    header.bV5GreenMask = 0x0000FF00;
    header.bV5BlueMask = 0x000000FF;
    header.bV5AlphaMask = 0xFF000000;
    void* bits = nullptr;
    const WindowDc screen(nullptr);
    const UniqueBitmap color(
        CreateDIBSection(screen.get(), reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!color || !bits) return nullptr;
    std::copy(pixels.begin(), pixels.end(), static_cast<std::uint8_t*>(bits));
    // The alpha channel decides; the mask must exist and show every pixel.
    const std::vector<std::uint8_t> maskBits(static_cast<size_t>((size + 15) / 16) * 2 * size, 0);
    const UniqueBitmap mask(CreateBitmap(size, size, 1, 1, maskBits.data()));
    ICONINFO info = {};
    info.fIcon = TRUE;
    info.hbmColor = color.get();
    info.hbmMask = mask.get();
    return UniqueIcon(CreateIconIndirect(&info));
}

} // namespace Velmora::Platform
