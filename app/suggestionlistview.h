#pragma once

#include "headlines/suggestionlist.h"

#include <QTreeWidget>

namespace qm {

// ListView1: the suggestion list on screen, a one-column list with a check box before every item.
// Each item keeps its caption's bytes beside the display text, so copying and saving write exactly
// the bytes that came in. Sorting by the view itself stays off: the header click sorts once, by the
// program's own comparison.
class SuggestionListView final : public QTreeWidget, public SuggestionList {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SuggestionListView)

public:
    explicit SuggestionListView(QWidget* parent = nullptr);

    void clear() override;
    void append(std::string_view caption, bool checked) override;
    std::size_t count() const override;
    std::string caption(std::size_t index) const override;
    bool isChecked(std::size_t index) const override;
    void setChecked(std::size_t index, bool checked) override;

    static std::string itemBytes(const QTreeWidgetItem& item);
};

} // namespace qm
