#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace dictstore {

// Words to small values, open addressing over one block of text: the index
// looks up every word of every entry here, so it must be quick.
template <typename Value>
class WordTable {
public:
    // The value for a word, made (value-initialised) and `made` set when new.
    Value& at(std::string_view word, bool& made)
    {
        if ((used_ + 1) * 2 > slots_.size())
            grow();
        const std::uint64_t h = hashOf(word);
        for (std::size_t i = h & (slots_.size() - 1);; i = (i + 1) & (slots_.size() - 1)) {
            Slot& s = slots_[i];
            if (s.length == 0) {
                s = {h, static_cast<std::uint32_t>(text_.size()), static_cast<std::uint32_t>(word.size()), Value{}};
                text_.append(word);
                ++used_;
                made = true;
                return s.value;
            }
            if (s.hash == h && std::string_view(text_).substr(s.offset, s.length) == word) {
                made = false;
                return s.value;
            }
        }
    }

    // The value for a word, or null.
    const Value* find(std::string_view word) const
    {
        if (slots_.empty())
            return nullptr;
        const std::uint64_t h = hashOf(word);
        for (std::size_t i = h & (slots_.size() - 1);; i = (i + 1) & (slots_.size() - 1)) {
            const Slot& s = slots_[i];
            if (s.length == 0)
                return nullptr;
            if (s.hash == h && std::string_view(text_).substr(s.offset, s.length) == word)
                return &s.value;
        }
    }

    bool contains(std::string_view word) const { return find(word) != nullptr; }
    std::size_t size() const { return used_; }

private:
    struct Slot {
        std::uint64_t hash;
        std::uint32_t offset;
        std::uint32_t length;  // 0: free; words are never empty
        Value value;
    };

    static std::uint64_t hashOf(std::string_view word)
    {
        std::uint64_t h = 14695981039346656037ULL;  // FNV-1a
        for (const char c : word)
            h = (h ^ static_cast<unsigned char>(c)) * 1099511628211ULL;
        return h ^ (h >> 29);
    }

    void grow()
    {
        std::vector<Slot> old(std::max<std::size_t>(1024, slots_.size() * 2));
        old.swap(slots_);
        for (const Slot& s : old) {
            if (s.length == 0)
                continue;
            std::size_t i = s.hash & (slots_.size() - 1);
            while (slots_[i].length != 0)
                i = (i + 1) & (slots_.size() - 1);
            slots_[i] = s;
        }
    }

    std::vector<Slot> slots_;
    std::string text_;
    std::size_t used_ = 0;
};

}  // namespace dictstore
