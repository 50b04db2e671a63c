#pragma once

// The suggestion list as the core sees it: items in display order, each a caption (bytes) and a tick.
// The main window binds it to its list control; tests and the command-line tool use VectorSuggestions.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace qm {

// What the source page parser fills: it empties the list, then appends items.
class SuggestionSink {
public:
    virtual ~SuggestionSink() = default;
    virtual void clear() = 0;
    virtual void append(std::string_view caption, bool checked) = 0;
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
    void clear() override { m_items.clear(); }
    void append(std::string_view caption, bool checked) override { m_items.push_back({std::string(caption), checked}); }
    std::size_t count() const override { return m_items.size(); }
    std::string caption(std::size_t index) const override { return m_items.at(index).caption; }
    bool isChecked(std::size_t index) const override { return m_items.at(index).checked; }
    void setChecked(std::size_t index, bool checked) override { m_items.at(index).checked = checked; }

    const std::vector<Suggestion>& items() const { return m_items; }

private:
    std::vector<Suggestion> m_items;
};

} // namespace qm
