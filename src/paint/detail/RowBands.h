// RowBands: running per-row pixel work on all usable cores.
#pragma once

#include <cstdint>
#include <functional>

namespace plx::detail {

//! The cores this process may run on (at least 1), counted once.
[[nodiscard]] unsigned UsableCores() noexcept;

//! Calls work(band, first, last) over consecutive bands of the rows [0, rows)
//! that together cover each row once; band counts them from 0 and stays below
//! UsableCores(), so a caller can give each band scratch space of its own. A job
//! of at least minPixels pixels on a machine with more than one usable core is
//! split into one band per core, the calling thread taking the first; anything
//! smaller runs as one call on this thread. Bands write disjoint rows, so the
//! result does not depend on the split; work must not throw.
void ForRowBands(std::int32_t rows, std::int64_t pixels,
    const std::function<void(std::int32_t, std::int32_t, std::int32_t)>& work, std::int64_t minPixels = std::int64_t { 1 } << 18);

} // namespace plx::detail
