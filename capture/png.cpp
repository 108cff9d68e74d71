// Pictures as PNG through the platform's imaging component.
#include "capture/png.h"
#include "app/platform.h"

#include <objbase.h>
#include <wincodec.h>
#include <string.h>

PngAvailableProc g_pfnPngAvailable = PngEncoderAvailable;

// The component's identities, spelt out here so that nothing of it is linked in.
static const GUID kClsidImagingFactory = {0xcacaf262, 0x9370, 0x4615, {0xa1, 0x3b, 0x9f, 0x55, 0x39, 0xda, 0x4c, 0x0a}};
static const GUID kIidImagingFactory = {0xec5ec8a9, 0xc395, 0x4314, {0x9c, 0x77, 0x54, 0xd7, 0xa9, 0x35, 0xff, 0x70}};
static const GUID kContainerPng = {0x1b7cfaf4, 0x713f, 0x473c, {0xbb, 0xcd, 0x61, 0x37, 0x42, 0x5f, 0xae, 0xaf}};
static const GUID kPixelBgr24 = {0x6fddc324, 0x4e03, 0x4bfe, {0xb1, 0x85, 0x3d, 0x77, 0x76, 0x8d, 0xc9, 0x0c}};

// A picture wider or taller than this is no capture of a screen.
static const int kMaxSide = 1 << 16;

// ---- Rows (pure)

bool PixelRowsReadable(const PixelRows& rows)
{
    if (rows.width <= 0 || rows.height <= 0 || rows.width > kMaxSide || rows.height > kMaxSide || !rows.bits)
        return false;
    switch (rows.bitCount) {
    case 1:
    case 4:
    case 8:
        if (!rows.colors && rows.colorCount) return false;
        break;
    case 16:
    case 24:
    case 32:
        break;
    default:
        return false;
    }
    return rows.stride >= ((DWORD)rows.bitCount * (DWORD)rows.width + 7) / 8;
}

static void PutColor(BYTE* out, const PixelRows& rows, DWORD index)
{
    if (index < rows.colorCount && rows.colors) {
        out[0] = rows.colors[index].rgbBlue;
        out[1] = rows.colors[index].rgbGreen;
        out[2] = rows.colors[index].rgbRed;
    } else {
        out[0] = out[1] = out[2] = 0;
    }
}

void RowToBgr(const PixelRows& rows, int y, BYTE* out)
{
    int memoryRow = rows.topDown ? y : rows.height - 1 - y;
    const BYTE* src = rows.bits + (size_t)memoryRow * rows.stride;
    for (int x = 0; x < rows.width; x++, out += 3) {
        switch (rows.bitCount) {
        case 1:
            PutColor(out, rows, (src[x / 8] >> (7 - x % 8)) & 1);
            break;
        case 4:
            PutColor(out, rows, (src[x / 2] >> (x % 2 ? 0 : 4)) & 0x0F);
            break;
        case 8:
            PutColor(out, rows, src[x]);
            break;
        case 16: {
            // Five bits a colour, each widened so that full intensity stays full.
            unsigned v = src[2 * x] | (src[2 * x + 1] << 8);
            unsigned b = v & 0x1F, g = (v >> 5) & 0x1F, r = (v >> 10) & 0x1F;
            out[0] = (BYTE)((b << 3) | (b >> 2));
            out[1] = (BYTE)((g << 3) | (g >> 2));
            out[2] = (BYTE)((r << 3) | (r >> 2));
            break;
        }
        case 24:
            memcpy(out, src + 3 * x, 3);
            break;
        case 32:
            memcpy(out, src + 4 * x, 3);
            break;
        }
    }
}

// ---- The imaging component, bound on first use

typedef HRESULT (WINAPI* CoInitializeExProc)(LPVOID, DWORD);
typedef HRESULT (WINAPI* CoCreateInstanceProc)(REFCLSID, LPUNKNOWN, DWORD, REFIID, LPVOID*);
typedef HRESULT (WINAPI* CreateStreamOnHGlobalProc)(HGLOBAL, BOOL, LPSTREAM*);
typedef HRESULT (WINAPI* GetHGlobalFromStreamProc)(LPSTREAM, HGLOBAL*);

static bool s_bBound;
static IWICImagingFactory* s_factory;
static CreateStreamOnHGlobalProc s_pfnCreateStream;
static GetHGlobalFromStreamProc s_pfnStreamBlock;

// The factory lives as long as the program: created once on the program's thread, which is the
// only one that encodes.
bool PngEncoderAvailable()
{
    if (s_bBound) return s_factory != NULL;
    s_bBound = true;
    HMODULE ole = LoadSystemLibrary("ole32.dll");
    if (!ole) return false;
    CoInitializeExProc init = (CoInitializeExProc)(void*)GetProcAddress(ole, "CoInitializeEx");
    CoCreateInstanceProc create = (CoCreateInstanceProc)(void*)GetProcAddress(ole, "CoCreateInstance");
    s_pfnCreateStream = (CreateStreamOnHGlobalProc)(void*)GetProcAddress(ole, "CreateStreamOnHGlobal");
    s_pfnStreamBlock = (GetHGlobalFromStreamProc)(void*)GetProcAddress(ole, "GetHGlobalFromStream");
    if (!init || !create || !s_pfnCreateStream || !s_pfnStreamBlock) return false;
    // The thread's apartment is single-threaded, as the file dialogs want it; a thread already
    // in another one keeps it.
    init(NULL, COINIT_APARTMENTTHREADED);
    void* factory = NULL;
    if (FAILED(create(kClsidImagingFactory, NULL, CLSCTX_INPROC_SERVER, kIidImagingFactory, &factory))) return false;
    s_factory = (IWICImagingFactory*)factory;
    return true;
}

// A failure as an error code the error box can name.
static DWORD ErrorOfResult(HRESULT hr)
{
    if (HRESULT_FACILITY(hr) == FACILITY_WIN32) return HRESULT_CODE(hr);
    if (hr == E_OUTOFMEMORY) return ERROR_NOT_ENOUGH_MEMORY;
    return ERROR_CAN_NOT_COMPLETE;
}

// The encoder with its one frame: each row converted and written as it comes.
static HRESULT WriteFrame(IWICBitmapEncoder* encoder, const PixelRows& rows, BYTE* line)
{
    IWICBitmapFrameEncode* frame = NULL;
    IPropertyBag2* options = NULL;
    HRESULT hr = encoder->CreateNewFrame(&frame, &options);
    if (SUCCEEDED(hr)) hr = frame->Initialize(options);
    if (SUCCEEDED(hr)) hr = frame->SetSize((UINT)rows.width, (UINT)rows.height);
    WICPixelFormatGUID format = kPixelBgr24;
    if (SUCCEEDED(hr)) hr = frame->SetPixelFormat(&format);
    // The encoder may offer another format instead; rows of this one would then be misread.
    if (SUCCEEDED(hr) && !IsEqualGUID(format, kPixelBgr24)) hr = WINCODEC_ERR_UNSUPPORTEDPIXELFORMAT;
    UINT lineBytes = (UINT)rows.width * 3;
    for (int y = 0; SUCCEEDED(hr) && y < rows.height; y++) {
        RowToBgr(rows, y, line);
        hr = frame->WritePixels(1, lineBytes, lineBytes, line);
    }
    if (SUCCEEDED(hr)) hr = frame->Commit();
    if (options) options->Release();
    if (frame) frame->Release();
    return hr;
}

HGLOBAL EncodePng(const PixelRows& rows, DWORD* error)
{
    *error = ERROR_SUCCESS;
    if (!PixelRowsReadable(rows)) {
        *error = ERROR_INVALID_DATA;
        return NULL;
    }
    if (!g_pfnPngAvailable() || !s_factory) {
        *error = ERROR_NOT_SUPPORTED;
        return NULL;
    }
    BYTE* line = (BYTE*)HeapAlloc(GetProcessHeap(), 0, (size_t)rows.width * 3);
    IStream* stream = NULL;
    IWICBitmapEncoder* encoder = NULL;
    // The stream's block outlives the stream: it becomes the result.
    HRESULT hr = line ? s_pfnCreateStream(NULL, FALSE, &stream) : E_OUTOFMEMORY;
    if (SUCCEEDED(hr)) hr = s_factory->CreateEncoder(kContainerPng, NULL, &encoder);
    if (SUCCEEDED(hr)) hr = encoder->Initialize(stream, WICBitmapEncoderNoCache);
    if (SUCCEEDED(hr)) hr = WriteFrame(encoder, rows, line);
    if (SUCCEEDED(hr)) hr = encoder->Commit();
    STATSTG stat;
    ZeroMemory(&stat, sizeof(stat));
    if (SUCCEEDED(hr)) hr = stream->Stat(&stat, STATFLAG_NONAME);
    HGLOBAL block = NULL;
    if (stream && FAILED(s_pfnStreamBlock(stream, &block))) block = NULL;
    if (encoder) encoder->Release();
    if (stream) stream->Release();
    if (line) HeapFree(GetProcessHeap(), 0, line);

    // The block grows in steps: it is cut to the file's size, so that a reader of the clipboard
    // that goes by the block's size finds nothing after the file's end.
    if (SUCCEEDED(hr) && block && stat.cbSize.QuadPart > 0 && stat.cbSize.QuadPart <= GlobalSize(block)) {
        HGLOBAL cut = GlobalReAlloc(block, (SIZE_T)stat.cbSize.QuadPart, GMEM_MOVEABLE);
        if (cut) return cut;
        hr = E_OUTOFMEMORY;
    } else if (SUCCEEDED(hr)) {
        hr = E_UNEXPECTED;
    }
    if (block) GlobalFree(block);
    *error = ErrorOfResult(hr);
    return NULL;
}
