#pragma once
// Paths kept one after another in one buffer: the hundred modules of a process cost one
// allocation, not one each, when a scan reads the modules of hundreds of processes.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

class PathList {
public:
    PathList() = default;
    PathList(std::initializer_list<std::string_view> paths) {
        for (const std::string_view path : paths) Add(path);
    }

    void Add(std::string_view path) {
        text_.append(path);
        ends_.push_back(text_.size());
    }
    std::size_t size() const { return ends_.size(); }
    bool empty() const { return ends_.empty(); }
    std::string_view operator[](std::size_t i) const {
        const std::size_t begin = i == 0 ? 0 : ends_[i - 1];
        return std::string_view(text_).substr(begin, ends_[i] - begin);
    }
    // Drops the first path (a process's own program, ahead of its modules).
    void DropFirst() {
        if (ends_.empty()) return;
        const std::size_t cut = ends_.front();
        text_.erase(0, cut);
        ends_.erase(ends_.begin());
        for (std::size_t& end : ends_) end -= cut;
    }

private:
    std::string text_;
    std::vector<std::size_t> ends_;
};

}  // namespace platform
