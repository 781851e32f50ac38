#pragma once

// A table from words (mnemonics, directives, symbol names) to values, laid out
// for lookups, of which every line makes several: open addressing over one flat
// array of slots, the words side by side in one buffer in the order they were
// entered, so that a lookup touches one slot and a word near the last ones.

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// A hash for words, which are short: up to eight characters are mixed at once,
// with no call out.
inline std::uint64_t wordHash(std::string_view word) {
    constexpr std::uint64_t goldenRatio = 0x9E3779B97F4A7C15u;
    if (word.size() > sizeof(std::uint64_t))
        return std::hash<std::string_view>{}(word)*goldenRatio;
    std::uint64_t bits = 0;
    std::memcpy(&bits, word.data(), word.size());
    return (bits ^ (word.size() << 56)) * goldenRatio;
}

template <typename Value> class WordTable {
  public:
    // The value of `word`, or null.
    const Value* find(std::string_view word) const {
        if (slotTable.empty())
            return nullptr;
        const Slot& slot = slotTable[slotOf(word, hashOf(word))];
        return slot.entry == noEntry ? nullptr : &entries[slot.entry].value;
    }
    bool contains(std::string_view word) const { return find(word) != nullptr; }

    // Entries by number, in the order they were entered: a word keeps its number
    // when its value changes.
    static constexpr std::uint32_t none = 0xFFFFFFFF;
    std::uint32_t indexOf(std::string_view word) const {
        return slotTable.empty() ? none : slotTable[slotOf(word, hashOf(word))].entry;
    }
    const Value& valueAt(std::uint32_t index) const { return entries[index].value; }
    std::string_view wordAt(std::uint32_t index) const { return wordOf(entries[index]); }

    // Gives `word` the value `value`; returns the value it had before, if any.
    std::optional<Value> set(std::string_view word, Value value) {
        if (2 * (entries.size() + 1) > slotTable.size())
            grow();
        const std::uint32_t hash = hashOf(word);
        Slot& slot = slotTable[slotOf(word, hash)];
        if (slot.entry != noEntry)
            return std::exchange(entries[slot.entry].value, value);
        slot = {hash, static_cast<std::uint32_t>(entries.size())};
        entries.push_back(
            {static_cast<std::uint32_t>(words.size()), static_cast<std::uint32_t>(word.size()), value});
        words += word;
        return std::nullopt;
    }

    // Empties the table, keeping its storage.
    void clear() {
        std::fill(slotTable.begin(), slotTable.end(), Slot{});
        entries.clear();
        words.clear();
    }
    std::size_t size() const { return entries.size(); }
    bool empty() const { return entries.empty(); }

    // Calls visit(word, value) for every entry, in the order they were entered.
    template <typename Visit> void forEach(Visit&& visit) const {
        for (const Entry& entry : entries)
            visit(wordOf(entry), entry.value);
    }

  private:
    static constexpr std::uint32_t noEntry = none;

    // Slots are small, so that many share a cache line; what they find is in
    // `entries`, in the order of entering, near the entries looked up last.
    struct Slot {
        std::uint32_t hash = 0;
        std::uint32_t entry = noEntry;
    };
    struct Entry {
        std::uint32_t wordStart;
        std::uint32_t wordLength;
        Value value;
    };

    // The high half: a product's low bits depend on the low bits alone.
    static std::uint32_t hashOf(std::string_view word) {
        return static_cast<std::uint32_t>(wordHash(word) >> 32);
    }
    std::string_view wordOf(const Entry& entry) const {
        return std::string_view(words).substr(entry.wordStart, entry.wordLength);
    }
    // The slot that holds `word`, or the empty one where it would go.
    std::size_t slotOf(std::string_view word, std::uint32_t hash) const {
        const std::size_t mask = slotTable.size() - 1;
        for (std::size_t i = hash & mask;; i = (i + 1) & mask)
            if (slotTable[i].entry == noEntry ||
                (slotTable[i].hash == hash && wordOf(entries[slotTable[i].entry]) == word))
                return i;
    }
    void grow() {
        constexpr std::size_t initialSlots = 256;
        std::vector<Slot> old(std::max(initialSlots, 2 * slotTable.size()));
        old.swap(slotTable);
        const std::size_t mask = slotTable.size() - 1;
        for (const Slot& slot : old) {
            if (slot.entry == noEntry)
                continue;
            std::size_t i = slot.hash & mask;
            while (slotTable[i].entry != noEntry)
                i = (i + 1) & mask;
            slotTable[i] = slot;
        }
    }

    std::vector<Slot> slotTable; // a power of two in number, at most half of them used
    std::vector<Entry> entries;
    std::string words;
};
