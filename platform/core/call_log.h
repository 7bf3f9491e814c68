// A record of calls that tests read back. Bounded: a long run keeps the
// latest entries instead of growing without end.
#pragma once

#include <cstddef>
#include <vector>

namespace layer {

template <class T>
class CallLog {
public:
    void Add(const T& entry) {
        if (entries_.size() >= kLimit) {
            entries_.erase(entries_.begin(), entries_.begin() + kLimit / 2);
        }
        entries_.push_back(entry);
    }
    const std::vector<T>& Entries() const { return entries_; }
    void Clear() { entries_.clear(); }

private:
    static constexpr size_t kLimit = 200000;
    std::vector<T> entries_;
};

}  // namespace layer
