#pragma once

// A most-recently-used list: the most recent item first, no two items equal
// by the predicate, at most max_count items.

#include <cstddef>
#include <deque>
#include <functional>

template <class T, class Equal = std::equal_to<T>, class Container = std::deque<T>>
class mru {
  public:
    explicit mru(std::size_t maxCount) : max_count(maxCount) {}

    // Makes `item` the most recent; an equal item already listed gives way
    // to it, and the oldest item falls out when the list is full.
    void push(const T& item) {
        for (auto it = items.begin(); it != items.end(); ++it) {
            if (equal(*it, item)) {
                items.erase(it);
                break;
            }
        }
        items.push_front(item);
        if (items.size() > max_count) {
            items.pop_back();
        }
    }

    std::size_t size() const { return items.size(); }
    bool empty() const { return items.empty(); }
    const T& operator[](std::size_t i) const { return items[i]; }
    auto begin() const { return items.begin(); }
    auto end() const { return items.end(); }
    void clear() { items.clear(); }
    std::size_t capacity() const { return max_count; }

  private:
    Container items;
    [[no_unique_address]] Equal equal;
    std::size_t max_count;
};
