#pragma once

// The suggestion list as the core sees it: items in display order, each a caption (bytes) and a tick.
// The main window binds it to its list control; tests and the command-line tool use VectorSuggestions.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qm {

// What the source page parser fills: it empties the list, then appends items.
class SuggestionSink {
public:
    virtual ~SuggestionSink() = default;
    void clear()
    {
        ++m_generation;
        removeAll();
    }
    virtual void append(std::string_view caption, bool checked) = 0;

    // Moves on whenever the list is emptied to be refilled or replaced: by a research run's parse, by
    // opening a headline file. A research walk notes it when it has emptied the list itself and stops
    // once it has moved on, since the list then holds another run's or a file's items and the rest of
    // the walk would be mixed into them.
    std::uint64_t generation() const { return m_generation; }

protected:
    virtual void removeAll() = 0;

private:
    std::uint64_t m_generation = 0;
};

class SuggestionList : public SuggestionSink {
public:
    virtual std::size_t count() const = 0;
    virtual std::string caption(std::size_t index) const = 0;
    virtual bool isChecked(std::size_t index) const = 0;
    virtual void setChecked(std::size_t index, bool checked) = 0;
};

struct Suggestion {
    std::string caption;
    bool checked = false;
    bool operator==(const Suggestion&) const = default;
};

// A suggestion list in memory.
class VectorSuggestions final : public SuggestionList {
public:
    void append(std::string_view caption, bool checked) override { m_items.push_back({std::string(caption), checked}); }
    std::size_t count() const override { return m_items.size(); }
    std::string caption(std::size_t index) const override { return m_items.at(index).caption; }
    bool isChecked(std::size_t index) const override { return m_items.at(index).checked; }
    void setChecked(std::size_t index, bool checked) override { m_items.at(index).checked = checked; }

    const std::vector<Suggestion>& items() const { return m_items; }

private:
    void removeAll() override { m_items.clear(); }
    std::vector<Suggestion> m_items;
};

} // namespace qm
