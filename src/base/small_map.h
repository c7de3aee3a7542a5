// A map for a handful of entries: pairs in a vector, searched from the front.
// For so few entries no slower than a tree, and much less code.
#pragma once
#include <cstddef>
#include <utility>
#include <vector>

namespace base {

template <class K, class V>
class SmallMap {
public:
    using Items = std::vector<std::pair<K, V>>;
    using iterator = typename Items::iterator;
    using const_iterator = typename Items::const_iterator;

    iterator begin() { return items_.begin(); }
    iterator end() { return items_.end(); }
    const_iterator begin() const { return items_.begin(); }
    const_iterator end() const { return items_.end(); }
    std::size_t size() const { return items_.size(); }

    iterator find(const K& key) {
        auto it = items_.begin();
        while (it != items_.end() && !(it->first == key)) ++it;
        return it;
    }
    const_iterator find(const K& key) const { return const_cast<SmallMap*>(this)->find(key); }
    V& operator[](const K& key) {
        auto it = find(key);
        if (it != items_.end()) return it->second;
        items_.emplace_back(key, V{});
        return items_.back().second;
    }
    void erase(const K& key) {
        auto it = find(key);
        if (it != items_.end()) items_.erase(it);
    }
    void clear() { items_.clear(); }

private:
    Items items_;
};

}  // namespace base
