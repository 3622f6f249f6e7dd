#pragma once

#include <algorithm>
#include <cstddef>
#include <numeric>
#include <vector>

// Row numbers 0..count-1 in the order `before(a, b)` gives, equal rows keeping
// their order. A merge sort that only ever asks `before`: the list columns
// compare dates rounded to days or thousandths, which is not a strict weak
// order, so std::stable_sort's requirements would not hold; merging is safe
// with any answer.
template <typename Before> std::vector<int> MergeSortedOrder(std::size_t count, Before before)
{
    std::vector<int> order(count);
    std::iota(order.begin(), order.end(), 0);
    std::vector<int> buffer(count);
    for (std::size_t width = 1; width < count; width *= 2) {
        for (std::size_t left = 0; left < count; left += 2 * width) {
            const std::size_t middle = std::min(left + width, count);
            const std::size_t right = std::min(left + 2 * width, count);
            std::size_t i = left, j = middle, out = left;
            while (i < middle && j < right)
                buffer[out++] = before(order[j], order[i]) ? order[j++] : order[i++];
            while (i < middle)
                buffer[out++] = order[i++];
            while (j < right)
                buffer[out++] = order[j++];
        }
        order.swap(buffer);
    }
    return order;
}
