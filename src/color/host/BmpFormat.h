// The limit on the memory any image read from a .bmp stream may take.
#pragma once

#include <cstdint>

namespace plx {

//! \name Loader allocation limit
//! Every reader of image streams (TBitmap::LoadFromStream and LoadFromFile, the
//! virtual bitmap's, form files, resources) checks, before it allocates anything
//! for the pixels, that the decoded image takes no more than this many bytes: a
//! host bitmap takes 4 bytes a pixel, a virtual bitmap its padded rows. A larger
//! image raises EInvalidGraphic with a message that names both sizes, and the
//! target is left as it was. This keeps a small (for example run-length
//! compressed) file from claiming gigabytes. The default is 256 MiB (a host bitmap
//! of 8192 x 8192); 0 means no limit. Bitmaps sized by code are not affected: they
//! keep the 32,767-per-side and 2^28-pixel caps only.
inline constexpr std::uint64_t kDefaultImageAllocationLimit = std::uint64_t { 256 } << 20;
//! Sets the limit in bytes for the whole program; 0 for none.
void SetImageAllocationLimit(std::uint64_t bytes) noexcept;
[[nodiscard]] std::uint64_t ImageAllocationLimit() noexcept;

} // namespace plx
