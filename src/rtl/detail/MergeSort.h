// A stable merge sort that stays inside its range whatever the comparator answers.
#pragma once

#include <algorithm>
#include <cstddef>
#include <utility>
#include <vector>

namespace plx::detail {

//! Sorts items stably with less(a, b) ("a goes strictly before b"), bottom up,
//! in O(n log n) calls. Every move is bounded by the lengths of the two runs
//! being merged, never by the comparator's answers, so a comparator that
//! contradicts itself yields some permutation of the same items and nothing
//! worse. items is left unchanged when less throws.
template <class T, class Less>
void MergeSort(std::vector<T>& items, Less less)
{
    const std::size_t count = items.size();
    if (count < 2)
        return;
    std::vector<T> from(items);
    std::vector<T> to(count);
    for (std::size_t width = 1; width < count; width *= 2) {
        for (std::size_t left = 0; left < count; left += 2 * width) {
            const std::size_t middle = std::min(left + width, count);
            const std::size_t right = std::min(left + 2 * width, count);
            std::size_t a = left, b = middle, out = left;
            // The right run's item goes first only when it is strictly less, so
            // equal items keep their order.
            while (a < middle && b < right)
                to[out++] = less(from[b], from[a]) ? from[b++] : from[a++];
            while (a < middle)
                to[out++] = from[a++];
            while (b < right)
                to[out++] = from[b++];
        }
        from.swap(to);
    }
    items = std::move(from);
}

} // namespace plx::detail
