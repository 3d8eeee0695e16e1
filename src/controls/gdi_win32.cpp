#include "controls/gdi_win32.h"

namespace quorelle::gdi {

SharedBitmap LoadSharedBitmap(int id) {
    // Bitmaps in use, by resource id; an entry whose bitmap is gone is loaded again.
    static SharedCache<int, HBITMAP> loaded;
    return loaded.Get(id, [id] { return LoadBitmapResource(GetModuleHandleW(nullptr), id); });
}

}  // namespace quorelle::gdi
