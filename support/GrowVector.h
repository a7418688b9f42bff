#pragma once

#include <cstddef>

// Makes room for one more element, so that a push_back or insert after it
// cannot throw. Grows geometrically like push_back itself: reserving just
// size() + 1 reallocates on every call and makes appending n items O(n^2).
template <class Vector>
void reserve_one_more(Vector& v) {
    if (v.size() == v.capacity()) {
        v.reserve(v.empty() ? std::size_t{8} : v.size() * 2);
    }
}
